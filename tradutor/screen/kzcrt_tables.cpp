#include "screen/kzcrt_tables.h"

#include "platform/virtual_keys.h"

namespace tradutor::crt {
namespace vk = platform::vk;

const platform::Rgb kPalette[16] = {
    {0, 0, 0},       {0, 0, 255},     {0, 255, 0},     {0, 255, 255},  {255, 0, 0},     {142, 0, 142},
    {68, 34, 34},    {192, 192, 192}, {128, 128, 128}, {128, 128, 255}, {128, 255, 128}, {128, 255, 255},
    {255, 128, 128}, {255, 128, 255}, {255, 255, 0},   {255, 255, 255},
};

namespace {

const SpecialKey kSpecialKeys[] = {
    {vk::kF1 + 0, 59, 94},   {vk::kF1 + 1, 60, 95},   {vk::kF1 + 2, 61, 96},  {vk::kF1 + 3, 62, 97},
    {vk::kF1 + 4, 63, 98},   {vk::kF1 + 5, 64, 99},   {vk::kF1 + 6, 65, 100}, {vk::kF1 + 7, 66, 101},
    {vk::kF1 + 8, 67, 102},  {vk::kF1 + 9, 68, 103},  {vk::kF11, 69, 104},    {vk::kF12, 70, 105},
    {vk::kInsert, 82, 255},  {vk::kDelete, 83, 83},   {vk::kHome, 71, 119},   {vk::kEnd, 79, 117},
    {vk::kPrior, 73, 132},   {vk::kNext, 81, 118},    {vk::kUp, 72, 113},     {vk::kDown, 80, 114},
    {vk::kLeft, 75, 115},    {vk::kRight, 77, 116},
};

// PC scan codes of the letters A..Z, in alphabetical order.
const std::uint8_t kAltLetters[26] = {30, 48, 46, 32, 18, 33, 34, 35, 23, 36, 37, 38, 50,
                                      49, 24, 25, 16, 19, 31, 20, 22, 47, 17, 45, 21, 44};

}  // namespace

const SpecialKey* findSpecialKey(unsigned virtualKey) {
  for (const SpecialKey& k : kSpecialKeys)
    if (k.virtualKey == virtualKey) return &k;
  return nullptr;
}

std::uint8_t altCode(unsigned virtualKey) {
  if (virtualKey >= 'A' && virtualKey <= 'Z') return kAltLetters[virtualKey - 'A'];
  if (virtualKey >= '1' && virtualKey <= '9') return static_cast<std::uint8_t>(120 + (virtualKey - '1'));
  if (virtualKey == '0') return 129;
  return 0;
}

const std::uint8_t kBrailleTable[64] = {
    ' ', 'a',  ',', 'b',  '\'', 'k',  ';',  'l',  '^',  'c',  'i',  'f',  0xED, 'm',  's',  'p',
    '~', 'e',  ':', 'h',  '*',  'o',  '!',  'r',  0xAC, 'd',  'j',  'g',  0xE3, 'n',  't',  'q',
    0xFD, 0xE2, '?', 0xEA, '-', 'u',  '"',  'v',  '{',  0xEE, 0xF5, 0xE0, 0xF3, 'x',  0xE8, 0xE7,
    '$', 0xFB, 0xFF, 0xFC, '}', 'z',  '=',  0xE1, '_',  0xF4, 'w',  0xEF, '#',  'y',  0xFA, 0xE9,
};

unsigned brailleDotBit(unsigned virtualKey) {
  switch (virtualKey) {
    case 'F': return 1;
    case 'D': return 2;
    case 'S': return 4;
    case 'J': return 8;
    case 'K': return 16;
    case 'L': return 32;
    case vk::kSpace: return 64;
    default: return 0;
  }
}

}  // namespace tradutor::crt
