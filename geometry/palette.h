// The fixed colour palette: colour indexes 1..255 to RGB.
#pragma once

#include <cstdint>

namespace kubrix {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// The palette colour of an index; grey (136, 136, 136) outside 1..255.
Rgb paletteColour(int index);
// The first index whose colour equals c exactly; 7 when none does.
int paletteIndex(Rgb c);

}  // namespace kubrix
