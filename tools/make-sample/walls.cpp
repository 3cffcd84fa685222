#include "walls.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double Pi = 3.14159265358979323846;

// Which block of a masonry pattern a pixel belongs to, and where in it.
struct Cell {
  int Id = 0;
  int Lx = 0;
  int Ly = 0;
  int W = 1;
  int H = 1;
};
using CellMap = std::array<std::array<Cell, 64>, 64>;

// Blocks wrap around the edges so that walls tile.
void Place(CellMap& cells, int left, int top, int w, int h, int id) {
  for (int i = 0; i < w; ++i)
    for (int j = 0; j < h; ++j)
      cells[((left + i) % 64 + 64) % 64][((top + j) % 64 + 64) % 64] = {id, i, j, w, h};
}

CellMap Bricks(int rowHeight, int brickWidth) {
  CellMap cells;
  int id = 0;
  for (int top = 0, row = 0; top < 64; top += rowHeight, ++row)
    for (int left = 0; left < 64; left += brickWidth)
      Place(cells, left + (row % 2) * brickWidth / 2, top, brickWidth, rowHeight, id++);
  return cells;
}

// Courses of the given heights, each cut into blocks of random widths.
CellMap Stones(Random& random, const std::vector<int>& rows, int minWidth, int maxWidth) {
  CellMap cells;
  int id = 0;
  int top = 0;
  for (int height : rows) {
    const int shift = random.Below(64);
    int left = 0;
    while (left < 64) {
      int w = minWidth + random.Below(maxWidth - minWidth + 1);
      if (64 - (left + w) < minWidth) w = 64 - left;
      Place(cells, left + shift, top, w, height, id++);
      left += w;
    }
    top += height;
  }
  return cells;
}

// Vertical boards of random widths, with a butt joint here and there.
CellMap Planks(Random& random, int minWidth, int maxWidth) {
  CellMap cells;
  int id = 0;
  int left = 0;
  while (left < 64) {
    int w = minWidth + random.Below(maxWidth - minWidth + 1);
    if (64 - (left + w) < minWidth) w = 64 - left;
    const int joint = random.Below(64);
    Place(cells, left, joint, w, 64, id++);
    left += w;
  }
  return cells;
}

struct Surface {
  Rgb Base;
  Rgb Alt;  // blocks lean toward this colour by a random amount
  Rgb Mortar;
  int MortarWidth = 1;
  double Tint = 0.12;   // per-block brightness spread
  double Rough = 0.35;  // large-scale mottling
  double Grain = 0.12;  // per-pixel speckle
  double Bevel = 0.25;  // lit top-left rims, shaded bottom-right rims
  uint32_t Seed = 1;
};

WallImage Build(const CellMap& cells, const Surface& s) {
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const Cell& c = cells[x][y];
      const double mottle = 1 + s.Rough * (Fractal(x, y, 16, s.Seed) - 0.5);
      const double speck = 1 + s.Grain * ((Hash(x, y, s.Seed ^ 0x51u) & 0xFF) / 255.0 - 0.5);
      if (c.Lx < s.MortarWidth || c.Ly < s.MortarWidth) {
        image[x][y] = s.Mortar * (mottle * speck);
        continue;
      }
      const double pick = (Hash(c.Id, 7, s.Seed) & 0xFFFF) / 65535.0;
      const double pick2 = (Hash(c.Id, 11, s.Seed) & 0xFFFF) / 65535.0;
      Rgb color = Mix(s.Base, s.Alt, pick2 * pick2) * (1 + s.Tint * (2 * pick - 1));
      const int ix = c.Lx - s.MortarWidth;
      const int iy = c.Ly - s.MortarWidth;
      const int iw = c.W - s.MortarWidth;
      const int ih = c.H - s.MortarWidth;
      double rim = 1;
      if (ix == 0 || iy == 0) rim = 1 + s.Bevel;
      if (ix == iw - 1 || iy == ih - 1) rim = 1 - s.Bevel;
      if (iy == ih - 2) rim = std::min(rim, 1 - s.Bevel / 2);
      image[x][y] = color * (rim * mottle * speck);
    }
  }
  return image;
}

// ---- materials -------------------------------------------------------------

WallImage GreyStone(uint32_t seed) {
  Random random(seed);
  return Build(Stones(random, {12, 14, 12, 13, 13}, 12, 26),
               {Hex(0x8C8C8C), Hex(0x6C6C74), Hex(0x303030), 1, 0.14, 0.35, 0.16, 0.3, seed});
}

WallImage BlueStone(uint32_t seed) {
  Random random(seed);
  return Build(Stones(random, {16, 16, 16, 16}, 14, 30),
               {Hex(0x0000C8), Hex(0x0000A0), Hex(0x000040), 1, 0.12, 0.3, 0.1, 0.3, seed});
}

WallImage RedBrick(uint32_t seed) {
  return Build(Bricks(8, 16), {Hex(0xA41C10), Hex(0x80301C), Hex(0x9C9890), 1, 0.14, 0.3, 0.16, 0.22, seed});
}

WallImage BrownStone(uint32_t seed) {
  Random random(seed);
  return Build(Stones(random, {10, 11, 11, 10, 11, 11}, 10, 22),
               {Hex(0x9C7848), Hex(0x7C6040), Hex(0x403018), 1, 0.14, 0.35, 0.14, 0.3, seed});
}

WallImage PurpleStone(uint32_t seed) {
  Random random(seed);
  return Build(Stones(random, {16, 16, 16, 16}, 16, 32),
               {Hex(0x6C2C78), Hex(0x582060), Hex(0x280030), 1, 0.14, 0.35, 0.12, 0.3, seed});
}

WallImage TanBrick(uint32_t seed) {
  return Build(Bricks(8, 16), {Hex(0xC8A070), Hex(0xB08858), Hex(0x584838), 1, 0.1, 0.3, 0.14, 0.2, seed});
}

WallImage GreyBrick(uint32_t seed) {
  return Build(Bricks(6, 12), {Hex(0x7C7C7C), Hex(0x646464), Hex(0xB4B4B4), 1, 0.12, 0.3, 0.14, 0.2, seed});
}

WallImage Cobbles(uint32_t seed) {
  WallImage image;
  // Cellular: each pixel belongs to the nearest of a jittered grid of centres.
  std::array<std::array<double, 2>, 64> centres;
  for (int i = 0; i < 64; ++i) {
    const uint32_t h = Hash(i, 3, seed);
    centres[i] = {(i % 8) * 8 + 1.5 + (h & 0xFF) / 255.0 * 5,
                  (i / 8) * 8 + 1.5 + (h >> 8 & 0xFF) / 255.0 * 5};
  }
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      double d1 = 1e9;
      double d2 = 1e9;
      int nearest = 0;
      for (int i = 0; i < 64; ++i) {
        for (int wx = -1; wx <= 1; ++wx) {
          for (int wy = -1; wy <= 1; ++wy) {
            const double dx = x + 0.5 - centres[i][0] - wx * 64;
            const double dy = y + 0.5 - centres[i][1] - wy * 64;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d < d1) {
              d2 = d1;
              d1 = d;
              nearest = i;
            } else if (d < d2) {
              d2 = d;
            }
          }
        }
      }
      const double edge = d2 - d1;
      const double pick = (Hash(nearest, 5, seed) & 0xFF) / 255.0;
      Rgb stone = Mix(Hex(0x8C8478), Hex(0x6C6458), pick) * (0.8 + 0.35 * Fractal(x, y, 8, seed));
      stone = stone * (1.15 - 0.35 * Clamp01(d1 / 6));
      image[x][y] = edge < 1.2 ? Hex(0x282420) : stone;
    }
  }
  return image;
}

WallImage Wood(uint32_t seed, Rgb base) {
  Random random(seed);
  const CellMap cells = Planks(random, 7, 11);
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const Cell& c = cells[x][y];
      const double pick = (Hash(c.Id, 1, seed) & 0xFF) / 255.0;
      const double wave = Noise(x * 4.0, y, 16, seed + static_cast<uint32_t>(c.Id));
      const double grain = 0.5 + 0.5 * std::sin((c.Lx + wave * 6 + pick * 9) * 1.9);
      Rgb color = base * ((0.82 + 0.2 * pick) * (0.86 + 0.2 * grain));
      if (c.Lx == 0)
        color = base * 0.38;
      else if (c.Lx == 1)
        color = color * 1.18;
      else if (c.Lx == c.W - 1)
        color = color * 0.75;
      if (c.Ly == 0) color = base * 0.42;
      // Knots.
      const double kx = (Hash(c.Id, 2, seed) & 0xFF) / 255.0 * (c.W - 4) + 2;
      const double ky = (Hash(c.Id, 3, seed) & 0x3F);
      const double kd = std::hypot(c.Lx - kx, (c.Ly - ky) * 0.6);
      if (kd < 1.6 && (Hash(c.Id, 4, seed) & 1)) color = color * 0.6;
      image[x][y] = color;
    }
  }
  return image;
}

WallImage Metal(uint32_t seed, Rgb base, int plateW, int plateH) {
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const int lx = x % plateW;
      const int ly = y % plateH;
      const double brushed = 0.9 + 0.14 * Noise(x, y * 8.0, 8, seed) + 0.06 * Noise(x * 4.0, y, 16, seed + 9);
      const double plate = 1 + 0.06 * ((Hash(x / plateW, y / plateH, seed) & 0xFF) / 255.0 - 0.5);
      Rgb color = base * (brushed * plate);
      if (lx == 0 || ly == 0) color = color * 1.3;
      if (lx == plateW - 1 || ly == plateH - 1) color = color * 0.5;
      // Rivets along the rims.
      for (int rx : {3, plateW - 4}) {
        for (int ry = 3; ry < plateH; ry += 6) {
          const double dx = lx + 0.5 - (rx + 0.5);
          const double dy = ly + 0.5 - (ry + 0.5);
          const double d = dx * dx + dy * dy;
          if (d < 2.6)
            color = base * (1.35 - 0.25 * (dx + dy));
          else if (d < 4.2 && dx + dy > 0)
            color = color * 0.6;
        }
      }
      image[x][y] = color;
    }
  }
  return image;
}

// ---- decorations -----------------------------------------------------------

void Paint(WallImage& image, int x, int y, Rgb c) {
  if (x >= 0 && x < 64 && y >= 0 && y < 64) image[x][y] = c;
}

void Rect(WallImage& image, int x0, int y0, int x1, int y1, const std::function<Rgb(int, int)>& color) {
  for (int x = x0; x <= x1; ++x)
    for (int y = y0; y <= y1; ++y) Paint(image, x, y, color(x, y));
}

// A raised frame of the given colour around the rectangle, lit from above left.
void Frame(WallImage& image, int x0, int y0, int x1, int y1, int width, Rgb c) {
  for (int x = x0; x <= x1; ++x) {
    for (int y = y0; y <= y1; ++y) {
      const int d = std::min({x - x0, y - y0, x1 - x, y1 - y});
      if (d >= width) continue;
      const bool lit = (x - x0 < width || y - y0 < width) && (x1 - x >= y - y0);
      Paint(image, x, y, c * (lit ? 1.2 - 0.1 * d : 0.65 + 0.1 * d));
    }
  }
}

void Disc(WallImage& image, double cx, double cy, double r, Rgb c, double shade) {
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double dx = (x + 0.5 - cx) / r;
      const double dy = (y + 0.5 - cy) / r;
      const double d = dx * dx + dy * dy;
      if (d > 1) continue;
      const double light = 0.45 + 0.75 * Clamp01(-0.45 * dx - 0.45 * dy + 0.77 * std::sqrt(1 - d));
      Paint(image, x, y, c * (1 - shade + shade * light));
    }
  }
}

void Star(WallImage& image, double cx, double cy, double r, Rgb c) {
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double dx = x + 0.5 - cx;
      const double dy = y + 0.5 - cy;
      const double a = std::atan2(dy, dx) + Pi / 2;
      const double reach = r * (0.45 + 0.55 * std::pow(std::abs(std::cos(a * 2.5)), 3));
      if (std::hypot(dx, dy) <= reach) Paint(image, x, y, c * (dx + dy < 0 ? 1.15 : 0.85));
    }
  }
}

void Banner(WallImage& image, Rgb cloth) {
  const Rgb gold = Hex(0xFCC818);
  Rect(image, 14, 3, 49, 4, [&](int, int y) { return Hex(0x5C4020) * (y == 3 ? 1.3 : 0.8); });
  for (int x = 19; x <= 44; ++x) {
    const double fold = 0.82 + 0.22 * std::sin((x - 19) * Pi / 6.5);
    const int bottom =
        55 - std::abs(x - 31.5) * 0.45 < 48 ? 48 : static_cast<int>(55 - std::abs(x - 31.5) * 0.45);
    for (int y = 5; y <= bottom; ++y) {
      const bool trim = x <= 20 || x >= 43 || y >= bottom - 1;
      Paint(image, x, y, (trim ? gold : cloth) * fold);
    }
  }
  Disc(image, 32, 25, 9, Hex(0xECECEC), 0.3);
  Disc(image, 32, 25, 7.5, cloth * 0.9, 0.2);
  Star(image, 32, 25, 6.5, gold);
}

void Portrait(WallImage& image, uint32_t seed) {
  Random random(seed);
  Frame(image, 14, 8, 49, 53, 4, Hex(0xD4A418));
  const Rgb back = Mix(Hex(0x284028), Hex(0x402818), random.Unit());
  Rect(image, 18, 12, 45, 49, [&](int x, int y) { return back * (0.7 + 0.5 * Noise(x, y, 8, seed)); });
  const Rgb coat = Mix(Hex(0x404850), Hex(0x584430), random.Unit());
  for (int x = 18; x <= 45; ++x) {
    for (int y = 12; y <= 49; ++y) {
      const double dx = x + 0.5 - 32;
      if (y > 36 && std::abs(dx) < 6 + (y - 36) * 0.9) Paint(image, x, y, coat * (1 - dx / 40.0));
      if (y > 36 && y < 42 && std::abs(dx) < 2) Paint(image, x, y, Hex(0xE0E0D8));
    }
  }
  Disc(image, 32, 28, 7, Hex(0xE8B48C), 0.6);
  Rect(image, 25, 20, 39, 22,
       [&](int, int) { return Mix(Hex(0x402810), Hex(0xB0A060), random.Unit() * 0.2); });
  Paint(image, 29, 28, Hex(0x302020));
  Paint(image, 34, 28, Hex(0x302020));
}

void Bars(WallImage& image, bool bones) {
  Rect(image, 12, 10, 51, 55, [&](int x, int y) { return Hex(0x141414) * (0.7 + 0.5 * Noise(x, y, 8, 77)); });
  if (bones) {
    Disc(image, 26, 48, 4.5, Hex(0xD8D0B8), 0.6);
    Paint(image, 24, 48, Hex(0x202020));
    Paint(image, 27, 48, Hex(0x202020));
    Rect(image, 31, 51, 45, 52, [&](int, int y) { return Hex(0xC8C0A8) * (y == 51 ? 1.1 : 0.8); });
    Rect(image, 36, 47, 37, 54, [&](int x, int) { return Hex(0xC8C0A8) * (x == 36 ? 1.1 : 0.8); });
  }
  Frame(image, 10, 8, 53, 57, 3, Hex(0x5C5C5C));
  for (int bx = 16; bx <= 48; bx += 6)
    Rect(image, bx, 11, bx + 1, 54, [&](int x, int) { return Hex(0x707880) * (x == bx ? 1.3 : 0.7); });
  Rect(image, 13, 20, 50, 21, [&](int, int y) { return Hex(0x707880) * (y == 20 ? 1.3 : 0.7); });
}

void Wreath(WallImage& image) {
  for (int i = 0; i < 18; ++i) {
    const double a = i * 2 * Pi / 18;
    Disc(image, 32 + std::cos(a) * 13, 30 + std::sin(a) * 13, 3.4, Hex(0x2C8C1C), 0.8);
  }
  Disc(image, 32, 30, 9, Hex(0xFCC010), 0.8);
  Disc(image, 32, 30, 6, Hex(0xB47C00), 0.4);
  Star(image, 32, 30, 5.5, Hex(0xFCE050));
  Rect(image, 27, 45, 37, 49, [&](int, int y) { return Hex(0xA41010) * (y == 45 ? 1.3 : 0.9); });
}

void StainedGlass(WallImage& image, uint32_t seed) {
  const Rgb panes[] = {Hex(0xC81C1C), Hex(0x2040D0), Hex(0xE0C020), Hex(0x20A030), Hex(0x8030B0)};
  for (int x = 18; x <= 45; ++x) {
    for (int y = 8; y <= 56; ++y) {
      const double dx = x + 0.5 - 32;
      if (y < 22 && dx * dx + (y - 22) * (y - 22) > 14 * 14) continue;
      const int px = (x - 18) / 7;
      const int py = (y - 8) / 8;
      const bool lead = (x - 18) % 7 == 0 || (y - 8) % 8 == 0;
      const Rgb pane = panes[Hash(px, py, seed) % 5] * (0.8 + 0.4 * Noise(x, y, 4, seed));
      Paint(image, x, y, lead ? Hex(0x202020) : pane);
    }
  }
  Rect(image, 16, 57, 47, 59, [&](int, int y) { return Hex(0xB4B4A8) * (y == 57 ? 1.2 : 0.7); });
}

void Shield(WallImage& image, Rgb field, Rgb stripe) {
  for (int x = 18; x <= 45; ++x) {
    for (int y = 10; y <= 54; ++y) {
      const double dx = std::abs(x + 0.5 - 32);
      const double limit = y < 34 ? 14 : 14 * std::sqrt(std::max(0.0, 1 - (y - 34) / 21.0));
      if (dx > limit) continue;
      const bool rim = dx > limit - 2 || y < 12;
      const bool band = std::abs((x - 18) - (y - 10) * 0.6 - 6) < 3.5;
      Rgb c = rim ? Hex(0xB4B4B4) : band ? stripe : field;
      Paint(image, x, y, c * (x < 32 ? 1.1 : 0.85));
    }
  }
}

void Bookcase(WallImage& image, uint32_t seed) {
  Random random(seed);
  Frame(image, 4, 2, 59, 61, 3, Hex(0x6C4424));
  for (int shelf = 0; shelf < 4; ++shelf) {
    const int top = 5 + shelf * 14;
    Rect(image, 7, top, 56, top + 12, [&](int, int) { return Hex(0x24180C); });
    int x = 7;
    while (x < 56) {
      const int w = 2 + random.Below(3);
      const int h = 8 + random.Below(4);
      const Rgb spines[] = {Hex(0x8C1C14), Hex(0x1C3C7C), Hex(0x2C5C24),
                            Hex(0x6C4C24), Hex(0x5C2C5C), Hex(0xA89060)};
      const Rgb book = spines[random.Below(6)];
      if (random.Below(9) > 0)
        Rect(image, x, top + 12 - h + 1, std::min(x + w - 1, 56), top + 12, [&](int bx, int by) {
          return book * (bx == x ? 1.25 : 1) * (by == top + 12 - h + 3 ? 1.5 : 1);
        });
      x += w;
    }
    Rect(image, 7, top + 13, 56, top + 13, [&](int, int) { return Hex(0x8C5C30); });
  }
}

void Parchment(WallImage& image, uint32_t seed) {
  Frame(image, 10, 8, 53, 50, 2, Hex(0x5C3C1C));
  Rect(image, 12, 10, 51, 48, [&](int x, int y) {
    const double land = Fractal(x, y, 16, seed);
    Rgb paper = Hex(0xC8A468) * (0.9 + 0.2 * Noise(x, y, 4, seed + 1));
    if (land < 0.45) paper = Hex(0x4C7CC0) * (0.9 + 0.2 * Noise(x, y, 4, seed + 1));
    if (std::abs(land - 0.45) < 0.015) paper = Hex(0x504030);
    return paper;
  });
}

void Vent(WallImage& image) {
  Frame(image, 16, 18, 47, 45, 2, Hex(0x8C9098));
  for (int y = 20; y <= 43; ++y)
    Rect(image, 18, y, 45, y, [&](int, int) {
      return (y - 20) % 4 < 2 ? Hex(0x101010) : Hex(0x70747C) * (y % 4 == 2 ? 1.2 : 0.8);
    });
}

void Moss(WallImage& image, uint32_t seed, double amount) {
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double m = Fractal(x, y, 16, seed) + (y / 64.0) * 0.35 * amount;
      if (m > 1.0 - 0.45 * amount) {
        const double t = SmoothStep(1.0 - 0.45 * amount, 1.12 - 0.45 * amount, m);
        image[x][y] = Mix(image[x][y], Hex(0x186C10) * (0.7 + 0.6 * Noise(x, y, 2, seed + 3)), 0.85 * t);
      }
    }
  }
}

void Cracks(WallImage& image, uint32_t seed) {
  Random random(seed);
  for (int k = 0; k < 3; ++k) {
    double x = random.Range(8, 56);
    double y = random.Range(4, 30);
    for (int step = 0; step < 22; ++step) {
      Paint(image, static_cast<int>(x), static_cast<int>(y),
            image[static_cast<int>(x) & 63][static_cast<int>(y) & 63] * 0.35);
      x += random.Range(-1.2, 1.2);
      y += random.Range(0.4, 1.3);
    }
  }
}

void Sconce(WallImage& image) {
  Rect(image, 29, 30, 34, 44, [&](int x, int) { return Hex(0x605040) * (x < 31 ? 1.2 : 0.8); });
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double d = std::hypot(x + 0.5 - 32, (y + 0.5 - 24) * 0.8);
      if (d < 22) image[x][y] = image[x][y] * (1 + 0.6 * (1 - d / 22));
    }
  }
  Disc(image, 32, 27, 3.5, Hex(0xFC9C20), 0.2);
  Disc(image, 32, 25, 2.2, Hex(0xFCF0A0), 0);
}

void Plaque(WallImage& image) {
  Frame(image, 20, 24, 43, 37, 2, Hex(0xC89C30));
  Rect(image, 22, 26, 41, 35, [&](int x, int y) { return Hex(0xA8802C) * (0.9 + 0.2 * Noise(x, y, 4, 5)); });
  for (int line = 28; line <= 33; line += 2)
    Rect(image, 24, line, 39 - (line % 4) * 2, line, [&](int, int) { return Hex(0x403010); });
}

// ---- whole walls ------------------------------------------------------------

WallImage Wainscot(uint32_t seed) {
  WallImage image = Wood(seed, Hex(0x7C4C28));
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 36; ++y) {
      image[x][y] = Hex(0xC8B890) * (0.88 + 0.16 * Fractal(x, y, 16, seed) + 0.04 * ((Hash(x, y, seed) & 1)));
    }
    image[x][36] = Hex(0xA0703C) * 1.25;
    image[x][37] = Hex(0x6C4424);
  }
  return image;
}

WallImage Ribbed(uint32_t seed, Rgb base) {
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double ridge = 0.7 + 0.5 * std::sin((x % 8) * Pi / 8);
      Rgb c = base * (ridge * (0.93 + 0.1 * Noise(x, y * 6.0, 8, seed)));
      if (y < 3 || y > 60) c = base * (y < 3 ? 1.1 : 0.6);
      image[x][y] = c;
    }
  }
  return image;
}

WallImage Tiles(uint32_t seed, Rgb base, Rgb grout, int size) {
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const int lx = x % size;
      const int ly = y % size;
      const double pick = (Hash(x / size, y / size, seed) & 0xFF) / 255.0;
      Rgb c = base * (0.92 + 0.12 * pick) * (0.95 + 0.1 * Noise(x, y, 8, seed));
      if (lx == 1 || ly == 1) c = c * 1.12;
      if (lx == size - 1 || ly == size - 1) c = c * 0.82;
      if (lx == 0 || ly == 0) c = grout;
      image[x][y] = c;
    }
  }
  return image;
}

WallImage Marble(uint32_t seed) {
  WallImage image = Tiles(seed, Hex(0xD8D8D0), Hex(0x484848), 32);
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      if (x % 32 == 0 || y % 32 == 0) continue;
      const double vein = std::sin((x + y) * 0.25 + Fractal(x, y, 16, seed) * 9);
      if (std::abs(vein) < 0.12) image[x][y] = image[x][y] * 0.7;
    }
  }
  return image;
}

WallImage Weave(uint32_t seed) {
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const bool across = ((x / 8) + (y / 8)) % 2 == 0;
      const int t = across ? y % 8 : x % 8;
      const double strand = 0.7 + 0.45 * std::sin((t + 0.5) * Pi / 8);
      image[x][y] = Mix(Hex(0x8C6434), Hex(0xA8844C), across ? 0.3 : 0.8) * strand *
                    (0.92 + 0.16 * Noise(x, y, 4, seed));
    }
  }
  return image;
}

WallImage Corrugated(uint32_t seed) {
  WallImage image = Ribbed(seed, Hex(0x848C8C));
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const double rust = Fractal(x, y, 16, seed + 40) + y / 140.0;
      if (rust > 0.58)
        image[x][y] =
            Mix(image[x][y], Hex(0x6C4428) * (image[x][y].G / 130), 0.7 * SmoothStep(0.58, 0.75, rust));
    }
  }
  return image;
}

WallImage Concrete(uint32_t seed) {
  WallImage image;
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      Rgb c = Hex(0x8C8C84) *
              (0.85 + 0.25 * Fractal(x, y, 32, seed) + 0.08 * ((Hash(x, y, seed) & 0xFF) / 255.0));
      if (y == 31 || x == 0) c = Hex(0x404040);
      if (y == 32 || x == 1) c = c * 1.15;
      // Water stains running down.
      const double streak = Noise(x, 0, 4, seed + 2);
      if (streak > 0.7 && y > 33) c = c * (1 - 0.3 * (streak - 0.7) / 0.3 * (64 - y) / 31.0);
      image[x][y] = c;
    }
  }
  return image;
}

WallImage Crates(uint32_t seed) {
  WallImage image = Wood(seed, Hex(0xA87C44));
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const int lx = x % 32;
      const int ly = y % 32;
      const bool edge = lx < 3 || ly < 3 || lx > 28 || ly > 28;
      const bool brace = std::abs(lx - ly) < 3 && !edge;
      if (edge || brace)
        image[x][y] = Hex(0x8C6430) * (lx < 1 || ly < 1 ? 0.4 : (lx > 30 || ly > 30 ? 0.6 : 1.1));
    }
  }
  return image;
}

// ---- doors --------------------------------------------------------------------

WallImage MetalDoor(uint32_t seed) {
  WallImage image = Metal(seed, Hex(0x4C6C80), 64, 64);
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const bool panel = (x >= 8 && x <= 55) && ((y >= 6 && y <= 28) || (y >= 36 && y <= 58));
      if (panel) {
        const bool topLeft = x == 8 || y == 6 || y == 36;
        const bool bottomRight = x == 55 || y == 28 || y == 58;
        image[x][y] = image[x][y] * (topLeft ? 0.6 : bottomRight ? 1.3 : 0.92);
      }
    }
  }
  Rect(image, 52, 30, 57, 33, [&](int, int y) { return Hex(0xC8C8C8) * (y == 30 ? 1.2 : 0.7); });
  return image;
}

WallImage WoodDoor(uint32_t seed) {
  WallImage image = Wood(seed, Hex(0x905C30));
  for (int band : {8, 52}) {
    Rect(image, 0, band, 63, band + 4, [&](int x, int y) {
      Rgb iron = Hex(0x3C3C44) * (y == band ? 1.4 : y == band + 4 ? 0.6 : 1);
      if ((x % 12 == 6) && y == band + 2) iron = Hex(0xA0A0A8);
      return iron;
    });
  }
  Disc(image, 54, 33, 3, Hex(0x8C8C94), 0.9);
  Disc(image, 54, 33, 1.5, Hex(0x202020), 0);
  return image;
}

WallImage DoorSide(uint32_t seed) {
  WallImage image = Metal(seed, Hex(0x707C84), 64, 64);
  for (int x = 0; x < 64; ++x) {
    for (int y = 0; y < 64; ++y) {
      const int g = x / 16;
      const double groove = (x % 16 == 0) ? 0.5 : (x % 16 == 1 ? 1.3 : 1);
      image[x][y] = image[x][y] * groove * (g % 2 ? 0.95 : 1.05);
    }
  }
  return image;
}

WallImage ElevatorDoor(uint32_t seed) {
  WallImage image = Ribbed(seed, Hex(0x9CA0A8));
  Rect(image, 31, 0, 32, 63, [&](int x, int) { return Hex(0x202020) * (x == 31 ? 1 : 2.5); });
  return image;
}

WallImage LockedDoor(uint32_t seed) {
  WallImage image = MetalDoor(seed);
  Frame(image, 44, 38, 56, 52, 2, Hex(0xFCC818));
  Rect(image, 46, 40, 54, 50, [&](int, int) { return Hex(0xB48C18); });
  Disc(image, 50, 43, 1.8, Hex(0x101010), 0);
  Rect(image, 50, 44, 50, 48, [&](int, int) { return Hex(0x101010); });
  return image;
}

WallImage ElevatorSwitch(uint32_t seed) {
  WallImage image = Ribbed(seed, Hex(0x9CA0A8));
  Frame(image, 20, 16, 43, 47, 2, Hex(0x6C7078));
  Rect(image, 22, 18, 41, 45, [&](int, int) { return Hex(0x303438); });
  Rect(image, 29, 22, 34, 40, [&](int, int) { return Hex(0x101010); });
  Rect(image, 30, 23, 33, 30, [&](int x, int) { return Hex(0xD82020) * (x < 32 ? 1.2 : 0.8); });
  return image;
}

using Design = std::function<WallImage(uint32_t)>;

template <typename Base, typename Decor>
Design With(Base base, Decor decor) {
  return [=](uint32_t seed) {
    WallImage image = base(seed);
    decor(image, seed);
    return image;
  };
}

std::vector<Design> Designs() {
  const auto moss = [](double amount) { return [=](WallImage& i, uint32_t s) { Moss(i, s + 100, amount); }; };
  const auto wood = [](uint32_t rgb) { return [=](uint32_t s) { return Wood(s, Hex(rgb)); }; };
  const auto metal = [](uint32_t rgb, int w, int h) {
    return [=](uint32_t s) { return Metal(s, Hex(rgb), w, h); };
  };
  return {
      GreyStone,
      GreyStone,
      With(GreyStone, [](WallImage& i, uint32_t) { Banner(i, Hex(0xB41414)); }),
      With(GreyStone, [](WallImage& i, uint32_t) { Wreath(i); }),
      With(GreyStone, [](WallImage& i, uint32_t) { Bars(i, false); }),
      With(GreyStone, moss(0.8)),
      With(GreyStone, [](WallImage& i, uint32_t s) { Cracks(i, s); }),
      With(GreyStone, [](WallImage& i, uint32_t) { Sconce(i); }),
      BlueStone,
      BlueStone,
      With(BlueStone, [](WallImage& i, uint32_t) { Bars(i, false); }),
      With(BlueStone, [](WallImage& i, uint32_t) { Bars(i, true); }),
      With(BlueStone, [](WallImage& i, uint32_t) { Plaque(i); }),
      RedBrick,
      With(RedBrick, [](WallImage& i, uint32_t) { Wreath(i); }),
      With(RedBrick, [](WallImage& i, uint32_t) { Banner(i, Hex(0x1C3CA0)); }),
      With(RedBrick, moss(0.6)),
      wood(0x8C5C30),
      With(wood(0x8C5C30), [](WallImage& i, uint32_t s) { Portrait(i, s); }),
      With(wood(0x8C5C30), [](WallImage& i, uint32_t) { Wreath(i); }),
      With(wood(0x8C5C30), [](WallImage& i, uint32_t s) { Bookcase(i, s); }),
      With(wood(0x6C4C2C), [](WallImage& i, uint32_t s) { Parchment(i, s); }),
      WoodDoor,
      metal(0x7C848C, 32, 32),
      metal(0x5C7088, 32, 64),
      With(metal(0x7C848C, 32, 32), [](WallImage& i, uint32_t) { Vent(i); }),
      PurpleStone,
      With(PurpleStone, [](WallImage& i, uint32_t s) { Portrait(i, s); }),
      BrownStone,
      With(BrownStone, moss(0.7)),
      With(BrownStone, [](WallImage& i, uint32_t) { Shield(i, Hex(0x1C38A0), Hex(0xE8D030)); }),
      Cobbles,
      With(Cobbles, moss(1.0)),
      TanBrick,
      With(TanBrick, [](WallImage& i, uint32_t) { Sconce(i); }),
      GreyBrick,
      With(GreyBrick, [](WallImage& i, uint32_t s) { StainedGlass(i, s); }),
      Marble,
      With(Marble, [](WallImage& i, uint32_t) { Shield(i, Hex(0xA01818), Hex(0xECECEC)); }),
      Weave,
      Wainscot,
      With(Wainscot, [](WallImage& i, uint32_t s) { Portrait(i, s); }),
      [](uint32_t s) { return Tiles(s, Hex(0xE0E0D8), Hex(0x8C8C8C), 8); },
      [](uint32_t s) { return Tiles(s, Hex(0x2C54A8), Hex(0x142040), 16); },
      Concrete,
      Corrugated,
      Crates,
      [](uint32_t s) { return Ribbed(s, Hex(0x9CA0A8)); },
      ElevatorSwitch,
      MetalDoor,
      DoorSide,
      ElevatorDoor,
      LockedDoor,
  };
}

}  // namespace

std::vector<TexturePicture> MakeWalls(Quantiser& quantiser) {
  std::vector<TexturePicture> walls;
  uint32_t seed = 1000;
  for (const Design& design : Designs()) {
    const WallImage image = design(seed++);
    walls.push_back(QuantiseWall(image, 1.0, quantiser));
    walls.push_back(QuantiseWall(image, 0.72, quantiser));
  }
  return walls;
}
