#include "paint.h"

#include <algorithm>
#include <cmath>

#include "base/palette_data.h"

Rgb operator+(Rgb a, Rgb b) { return {a.R + b.R, a.G + b.G, a.B + b.B}; }
Rgb operator*(Rgb c, double k) { return {c.R * k, c.G * k, c.B * k}; }
Rgb Mix(Rgb a, Rgb b, double t) { return a * (1 - t) + b * t; }
Rgb Hex(uint32_t rgb) {
  return {static_cast<double>(rgb >> 16 & 0xFF), static_cast<double>(rgb >> 8 & 0xFF),
          static_cast<double>(rgb & 0xFF)};
}

Random::Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}

uint32_t Random::Next() {
  // xorshift64*
  state_ ^= state_ >> 12;
  state_ ^= state_ << 25;
  state_ ^= state_ >> 27;
  return static_cast<uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
}

double Random::Unit() { return Next() / 4294967296.0; }
double Random::Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
int Random::Below(int n) { return static_cast<int>(Next() % static_cast<uint32_t>(n)); }

uint32_t Hash(int x, int y, uint32_t seed) {
  uint32_t h =
      seed * 0x27D4EB2Du ^ static_cast<uint32_t>(x) * 0x165667B1u ^ static_cast<uint32_t>(y) * 0x9E3779B1u;
  h ^= h >> 15;
  h *= 0x85EBCA77u;
  h ^= h >> 13;
  h *= 0xC2B2AE3Du;
  h ^= h >> 16;
  return h;
}

double Clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double SmoothStep(double edge0, double edge1, double v) {
  const double t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

double Noise(double x, double y, int cell, uint32_t seed) {
  const int period = 64 / cell;
  const double fx = x / cell;
  const double fy = y / cell;
  const int ix = static_cast<int>(std::floor(fx));
  const int iy = static_cast<int>(std::floor(fy));
  const double tx = SmoothStep(0, 1, fx - ix);
  const double ty = SmoothStep(0, 1, fy - iy);
  auto corner = [&](int dx, int dy) {
    const int cx = ((ix + dx) % period + period) % period;
    const int cy = ((iy + dy) % period + period) % period;
    return (Hash(cx, cy, seed) & 0xFFFF) / 65535.0;
  };
  const double top = corner(0, 0) * (1 - tx) + corner(1, 0) * tx;
  const double bottom = corner(0, 1) * (1 - tx) + corner(1, 1) * tx;
  return top * (1 - ty) + bottom * ty;
}

double Fractal(double x, double y, int cell, uint32_t seed) {
  double sum = 0;
  double weight = 0;
  double amplitude = 1;
  for (int c = cell; c >= 2; c /= 2) {
    sum += Noise(x, y, c, seed + static_cast<uint32_t>(c)) * amplitude;
    weight += amplitude;
    amplitude *= 0.55;
  }
  return sum / weight;
}

Quantiser::Quantiser() : cache_(64 * 64 * 64, -1) {
  for (int i = 0; i < 256; ++i)
    palette_[i] = {double(PaletteFileBytes[i * 4 + 2]), double(PaletteFileBytes[i * 4 + 1]),
                   double(PaletteFileBytes[i * 4])};
}

uint8_t Quantiser::Index(Rgb c) {
  auto level = [](double v) { return std::clamp(static_cast<int>(std::lround(v / 4.0)), 0, 63); };
  const int r = level(c.R);
  const int g = level(c.G);
  const int b = level(c.B);
  int16_t& slot = cache_[static_cast<size_t>((r * 64 + g) * 64 + b)];
  if (slot < 0) {
    double best = 1e18;
    for (int i = 0; i < 256; ++i) {
      const double dr = palette_[i].R - r * 4;
      const double dg = palette_[i].G - g * 4;
      const double db = palette_[i].B - b * 4;
      // Redmean-style weights: green matters most, red more in warm colours.
      const double mean = (palette_[i].R + r * 4) / 2;
      const double d = (2 + mean / 256) * dr * dr + 4 * dg * dg + (2 + (255 - mean) / 256) * db * db;
      if (d < best) {
        best = d;
        slot = static_cast<int16_t>(i);
      }
    }
  }
  return static_cast<uint8_t>(slot);
}

TexturePicture QuantiseWall(const WallImage& image, double brightness, Quantiser& quantiser) {
  TexturePicture out;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) out[x][y] = quantiser.Index(image[x][y] * brightness);
  return out;
}

Canvas::Canvas() {
  for (auto& column : on_) column.fill(false);
}

void Canvas::Set(int x, int y, Rgb c) {
  if (x < 0 || x > 63 || y < 0 || y > 63) return;
  color_[x][y] = c;
  on_[x][y] = true;
}

bool Canvas::Has(int x, int y) const { return x >= 0 && x <= 63 && y >= 0 && y <= 63 && on_[x][y]; }
Rgb Canvas::At(int x, int y) const { return color_[x][y]; }
void Canvas::Clear(int x, int y) {
  if (x >= 0 && x <= 63 && y >= 0 && y <= 63) on_[x][y] = false;
}

void Canvas::Rect(double x0, double y0, double x1, double y1, Rgb c) {
  for (int x = static_cast<int>(std::ceil(x0 - 0.5)); x + 0.5 <= x1; ++x)
    for (int y = static_cast<int>(std::ceil(y0 - 0.5)); y + 0.5 <= y1; ++y) Set(x, y, c);
}

void Canvas::Cylinder(double x0, double y0, double x1, double y1, Rgb c) {
  const double mid = (x0 + x1) / 2;
  const double half = std::max((x1 - x0) / 2, 0.5);
  for (int x = static_cast<int>(std::ceil(x0 - 0.5)); x + 0.5 <= x1; ++x) {
    const double u = std::clamp((x + 0.5 - mid) / half, -1.0, 1.0);
    // Brightest a little left of centre, falling off toward both rims.
    const double light = 0.55 + 0.6 * std::sqrt(std::max(0.0, 1 - u * u)) * (1 - 0.35 * u);
    for (int y = static_cast<int>(std::ceil(y0 - 0.5)); y + 0.5 <= y1; ++y) Set(x, y, c * light);
  }
}

void Canvas::Ellipse(double cx, double cy, double rx, double ry, Rgb c, double shade) {
  for (int x = static_cast<int>(std::floor(cx - rx)); x <= cx + rx; ++x) {
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= cy + ry; ++y) {
      const double u = (x + 0.5 - cx) / rx;
      const double v = (y + 0.5 - cy) / ry;
      const double d = u * u + v * v;
      if (d > 1) continue;
      const double z = std::sqrt(1 - d);
      const double light = 0.35 + 0.8 * Clamp01(-0.45 * u - 0.45 * v + 0.77 * z);
      Set(x, y, c * (1 - shade + shade * light));
    }
  }
}

void Canvas::Line(double x0, double y0, double x1, double y1, double width, Rgb c) {
  const double dx = x1 - x0;
  const double dy = y1 - y0;
  const double length2 = std::max(dx * dx + dy * dy, 1e-9);
  const double r = width / 2;
  for (int x = static_cast<int>(std::floor(std::min(x0, x1) - r)); x <= std::max(x0, x1) + r; ++x) {
    for (int y = static_cast<int>(std::floor(std::min(y0, y1) - r)); y <= std::max(y0, y1) + r; ++y) {
      const double px = x + 0.5;
      const double py = y + 0.5;
      const double t = std::clamp(((px - x0) * dx + (py - y0) * dy) / length2, 0.0, 1.0);
      const double ex = px - (x0 + t * dx);
      const double ey = py - (y0 + t * dy);
      if (ex * ex + ey * ey <= r * r + 0.01) Set(x, y, c);
    }
  }
}

void Canvas::Polygon(const std::vector<std::array<double, 2>>& points, Rgb c) {
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double px = x + 0.5;
      const double py = y + 0.5;
      bool inside = false;
      for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const auto& a = points[i];
        const auto& b = points[j];
        if ((a[1] > py) != (b[1] > py) && px < (b[0] - a[0]) * (py - a[1]) / (b[1] - a[1]) + a[0])
          inside = !inside;
      }
      if (inside) Set(x, y, c);
    }
  }
}

void Canvas::Outline(double factor) {
  auto rim = on_;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      rim[x][y] = on_[x][y] && (!Has(x - 1, y) || !Has(x + 1, y) || !Has(x, y - 1) || !Has(x, y + 1));
    }
  }
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y)
      if (rim[x][y]) color_[x][y] = color_[x][y] * factor;
}

void Canvas::Grain(double amount, uint32_t seed) {
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y)
      if (on_[x][y]) color_[x][y] = color_[x][y] * (1 + amount * ((Hash(x, y, seed) & 0xFF) / 255.0 - 0.5));
}

SpritePicture Canvas::Quantise(Quantiser& quantiser) const {
  SpritePicture out;
  for (int x = 0; x < 64; ++x)
    for (int y = 0; y < 64; ++y) out[x][y] = on_[x][y] ? quantiser.Index(color_[x][y]) : int16_t{-1};
  return out;
}
