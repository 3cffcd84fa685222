// Drawing helpers for the bundled sample's pictures: colours, a seeded
// random source, tileable value noise, a sprite canvas and the quantiser
// that maps computed colours onto the game palette.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "pagewriter.h"

struct Rgb {
  double R = 0;
  double G = 0;
  double B = 0;
};

Rgb operator+(Rgb a, Rgb b);
Rgb operator*(Rgb c, double k);
Rgb Mix(Rgb a, Rgb b, double t);
// 0xRRGGBB.
Rgb Hex(uint32_t rgb);

// Same sequence for the same seed on every build.
class Random {
 public:
  explicit Random(uint64_t seed);
  uint32_t Next();
  double Unit();  // [0, 1)
  double Range(double lo, double hi);
  int Below(int n);

 private:
  uint64_t state_;
};

uint32_t Hash(int x, int y, uint32_t seed);
// Smooth noise in [0, 1] that repeats every 64 pixels, so walls tile.
double Noise(double x, double y, int cell, uint32_t seed);
// Several octaves of Noise, from `cell` down to 2-pixel detail.
double Fractal(double x, double y, int cell, uint32_t seed);

double Clamp01(double v);
double SmoothStep(double edge0, double edge1, double v);

class Quantiser {
 public:
  Quantiser();
  // The palette entry nearest to `c`, by a distance weighted like the eye.
  uint8_t Index(Rgb c);

 private:
  std::array<Rgb, 256> palette_;
  std::vector<int16_t> cache_;  // by 6-bit components, filled on demand
};

// A 64 x 64 wall picture, [x][y] with y = 0 the top row.
using WallImage = std::array<std::array<Rgb, 64>, 64>;
TexturePicture QuantiseWall(const WallImage& image, double brightness, Quantiser& quantiser);

// A sprite frame under construction: colours and a coverage mask. Light
// comes from the upper left.
class Canvas {
 public:
  Canvas();
  void Set(int x, int y, Rgb c);
  bool Has(int x, int y) const;
  Rgb At(int x, int y) const;
  void Clear(int x, int y);

  void Rect(double x0, double y0, double x1, double y1, Rgb c);
  // A rectangle shaded as an upright cylinder.
  void Cylinder(double x0, double y0, double x1, double y1, Rgb c);
  // An ellipse shaded as a ball (`shade` = 0 keeps it flat).
  void Ellipse(double cx, double cy, double rx, double ry, Rgb c, double shade = 1.0);
  void Line(double x0, double y0, double x1, double y1, double width, Rgb c);
  // A filled convex or concave polygon (even-odd rule).
  void Polygon(const std::vector<std::array<double, 2>>& points, Rgb c);
  // Darkens the pixels at the figure's rim, as hand-drawn sprites have.
  void Outline(double factor);
  // Multiplies every covered pixel by per-pixel grain.
  void Grain(double amount, uint32_t seed);

  SpritePicture Quantise(Quantiser& quantiser) const;

 private:
  std::array<std::array<Rgb, 64>, 64> color_;
  std::array<std::array<bool, 64>, 64> on_;
};
