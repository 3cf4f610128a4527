#pragma once
// Plain geometry and colour records shared by the platform headers.
#include <cstdint>

namespace platform {

struct Point {
  int x, y;
};

struct Rect {
  int left, top, right, bottom;
};

struct Rgb {
  std::uint8_t red, green, blue;
  bool operator==(const Rgb&) const = default;
};

}  // namespace platform
