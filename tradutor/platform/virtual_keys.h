#pragma once
// Windows virtual-key codes, as carried by key events. They are fixed numbers of the
// Windows keyboard interface, written out here so that the core needs no
// OS header.

namespace platform::vk {

constexpr unsigned kCancel = 0x03;  // Ctrl+Break
constexpr unsigned kBack = 0x08;
constexpr unsigned kTab = 0x09;
constexpr unsigned kReturn = 0x0D;
constexpr unsigned kShift = 0x10;
constexpr unsigned kControl = 0x11;
constexpr unsigned kMenu = 0x12;  // Alt
constexpr unsigned kEscape = 0x1B;
constexpr unsigned kSpace = 0x20;
constexpr unsigned kPrior = 0x21;  // Page Up
constexpr unsigned kNext = 0x22;   // Page Down
constexpr unsigned kEnd = 0x23;
constexpr unsigned kHome = 0x24;
constexpr unsigned kLeft = 0x25;
constexpr unsigned kUp = 0x26;
constexpr unsigned kRight = 0x27;
constexpr unsigned kDown = 0x28;
constexpr unsigned kInsert = 0x2D;
constexpr unsigned kDelete = 0x2E;
constexpr unsigned kF1 = 0x70;
constexpr unsigned kF4 = 0x73;
constexpr unsigned kF10 = 0x79;
constexpr unsigned kF11 = 0x7A;
constexpr unsigned kF12 = 0x7B;

}  // namespace platform::vk
