// The display settings: colours, font, scrolling, magnifier, window placement
// and the Braille keyboard mode, read once before the window is created.
#include <algorithm>
#include <string>

#include "common/inivalue.h"
#include "common/oralis_ini.h"
#include "platform/draw.h"
#include "screen/kzcrt_state.h"

namespace tradutor::crt {
namespace {

constexpr const char* kIdentityMap = "0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15";
// Font sizes beyond this are taken as this; no screen shows a larger cell.
constexpr int kMaxFontPixels = 1000;

std::string readVideo(const char* key, const char* defaultValue, int bufferSize = 80) {
  return readBareNameSetting("VIDEO", key, defaultValue, bufferSize, startingDirectory());
}

void readColourMap(std::string value) {
  CrtState& s = state();
  if (value.empty()) return;
  value += ',';
  for (int i = 0; i < 16; ++i) {
    const std::size_t comma = value.find(',');
    if (comma == std::string::npos) break;
    const NumberReading entry = parseNumber(std::string_view(value).substr(0, comma));
    s.colourMap[i] = static_cast<std::uint8_t>(entry.value);
    if (!entry.ok) break;
    value.erase(0, comma + 1);
  }
}

int fontSize(const std::string& value, int workAreaSize, int reference, int pixelsAtReference) {
  if (value.empty()) return workAreaSize * pixelsAtReference / reference;
  return std::clamp(partialNumber(value), -kMaxFontPixels, kMaxFontPixels);
}

}  // namespace

void readDisplaySettings() {
  CrtState& s = state();
  s.fixedColours = false;
  s.pixelScroll = false;
  s.maximize = false;
  int background = 0;
  int foreground = 7;
  s.configuredBrailleMode = 0;
  s.magnifierFactor = 2;

  const platform::Rect work = platform::workArea();
  readColourMap(readVideo("TABCORES", kIdentityMap));
  s.fixedColours = startsWithS(readVideo("CORESFIXAS", "N"));
  s.pixelScroll = startsWithS(readVideo("LENTO", "N"));

  const std::string back = readVideo("CORFUNDO", "0");
  if (!back.empty()) background = partialNumber(back);
  const std::string fore = readVideo("CORLETRA", "15");
  if (!fore.empty()) foreground = partialNumber(fore);
  s.attribute = static_cast<std::uint8_t>((background * 16) | foreground);

  const std::string mode = readBareNameSetting("BRAILLE", "MODO", "0", 80, startingDirectory());
  if (!mode.empty()) s.configuredBrailleMode = static_cast<std::uint8_t>(mode[0]) & 3;
  // A factor of 0 ("0" or "8") could not divide the view; it means the default.
  const std::string factor = readVideo("AMPLIF", "2", 2);
  if (!factor.empty()) s.magnifierFactor = static_cast<std::uint8_t>(factor[0]) & 7;
  if (s.magnifierFactor == 0) s.magnifierFactor = 2;

  const std::string face = readVideo("FONTE", "Lucida Console");
  const int width = fontSize(readVideo("LARGURALETRA", ""), work.right - work.left, 1024, 13);
  const int height = fontSize(readVideo("ALTURALETRA", ""), work.bottom - work.top, 734, 28);
  // A weight is used only when the key gives one; without it the system's
  // default weight applies.
  const std::string weightText = readVideo("PESOLETRA", "");
  const int weight = weightText.empty() ? 0 : std::clamp(partialNumber(weightText), 0, 1000);
  s.maximize = isYes(readVideo("CANTOTELA", "SIM"));

  if (s.font != 0) platform::deleteFont(s.font);
  s.font = platform::createFont(height, width, weight, face.c_str());
}

}  // namespace tradutor::crt
