#include "sprites.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double Pi = 3.14159265358979323846;

template <size_t N>
Rgb Pick(const Rgb (&colors)[N], int v) {
  return colors[static_cast<size_t>(v) % N];
}

const Rgb Gold = Hex(0xFCC818);
const Rgb Iron = Hex(0x585C64);

// ---- objects ----------------------------------------------------------------

void Puddle(Canvas& c, Random& r, int v) {
  const Rgb colors[] = {Hex(0xA00000), Hex(0x3C70B0), Hex(0x38A018), Hex(0x700000)};
  const Rgb color = Pick(colors, v);
  const double w = r.Range(12, 24);
  c.Ellipse(32, 59, w, 3.5, color, 0.3);
  // One draw per statement: argument order is up to the compiler, and every
  // compiler must draw the same sample.
  for (int i = 0; i < 4; ++i) {
    const double x = 32 + r.Range(-w, w);
    const double y = 59 + r.Range(-2, 3);
    const double rx = r.Range(2, 5);
    c.Ellipse(x, y, rx, 1.6, color * 0.9, 0.3);
  }
  c.Ellipse(28, 58, w * 0.4, 1.2, Mix(color, Hex(0xFCFCFC), 0.35), 0);
}

void Barrel(Canvas& c, Random& r, int v) {
  const Rgb colors[] = {Hex(0x3C7C2C), Hex(0x8C5C2C), Hex(0x2C4C8C), Hex(0x8C3C1C), Hex(0xB41C10)};
  const Rgb body = Pick(colors, v);
  const double half = 10 + (v % 3) * 2;
  const double top = 32 + r.Range(-2, 2);
  c.Cylinder(32 - half, top, 32 + half, 63.5, body);
  for (double band : {top + 4, top + 16, 59.0}) c.Cylinder(32 - half, band, 32 + half, band + 2, Iron * 1.3);
  c.Ellipse(32, top + 0.5, half, 2.2, body * 0.6, 0);
  c.Ellipse(32, top + 0.5, half - 2, 1.4, body * 0.35, 0);
  if (v % 5 == 4) {
    c.Polygon({{32, top + 6}, {26, top + 13}, {38, top + 13}}, Hex(0xFCE034));
    c.Rect(31.5, top + 8, 32.5, top + 11, Hex(0x101010));
  }
  c.Outline(0.6);
}

void Table(Canvas& c, Random& r, int v) {
  const Rgb woods[] = {Hex(0x8C5C2C), Hex(0x6C4424), Hex(0xA87C44), Hex(0x5C3C20)};
  const Rgb wood = Pick(woods, v);
  const double half = 14 + (v % 4) * 3;
  const double top = 44 + r.Range(-1, 1);
  for (double leg : {32 - half + 2, 32 + half - 4}) c.Cylinder(leg, top + 3, leg + 2.5, 63.5, wood * 0.8);
  c.Cylinder(32 - half + 5, top + 3, 32 - half + 7, 61, wood * 0.6);
  c.Cylinder(32 + half - 8, top + 3, 32 + half - 6, 61, wood * 0.6);
  if (v % 3 == 1) {
    c.Rect(32 - half - 1, top - 1, 32 + half + 1, top + 8, Hex(0xE8E8E0));
    for (int x = static_cast<int>(32 - half); x < 32 + half; x += 4)
      c.Rect(x, top + 7, x + 1, top + 8, Hex(0xB4B4AC));
  } else {
    c.Rect(32 - half - 1, top, 32 + half + 1, top + 3, wood * 1.15);
    c.Rect(32 - half - 1, top + 3, 32 + half + 1, top + 4, wood * 0.6);
  }
  if (v % 2 == 0) {
    c.Cylinder(30, top - 9, 33, top, Hex(0x2C6C2C));
    c.Rect(31, top - 12, 32, top - 9, Hex(0x2C6C2C));
    c.Ellipse(40, top - 1, 4, 1.5, Hex(0xD8D8D8), 0.4);
    c.Ellipse(40, top - 2, 2, 1, Hex(0xA85C2C), 0.4);
  }
  c.Outline(0.65);
}

void FloorLamp(Canvas& c, Random& r, int v) {
  const Rgb shades[] = {Hex(0xE8D8A0), Hex(0xD84C2C), Hex(0x9CB4C8), Hex(0xE8E8E8)};
  const double top = 14 + r.Range(0, 6);
  c.Ellipse(32, 62, 6, 1.8, Iron, 0.5);
  c.Cylinder(31, top + 8, 33, 62, Hex(0x8C7040));
  c.Polygon({{27, top}, {37, top}, {41, top + 10}, {23, top + 10}}, Pick(shades, v));
  c.Cylinder(23, top, 41, top + 10, Pick(shades, v));
  for (int x = 23; x <= 40; ++x)
    for (int y = static_cast<int>(top); y <= top + 10; ++y)
      if (std::abs(x + 0.5 - 32) > 5 + (y - top) * 0.9) c.Clear(x, y);
  c.Ellipse(32, top + 11, 5, 1.5, Hex(0xFCF8C0), 0);
  c.Outline(0.7);
}

void Chandelier(Canvas& c, Random&, int v) {
  const Rgb metal = v % 2 ? Gold * 0.9 : Hex(0xC0C0C8);
  const double drop = 6 + (v % 3) * 3;
  c.Rect(31.5, 0, 32.5, drop, Iron);
  const double span = 12 + (v % 4) * 2;
  c.Ellipse(32, drop + 4, span, 3, metal, 0.6);
  c.Ellipse(32, drop + 4, span - 3, 1.5, metal * 0.4, 0);
  for (int i = 0; i < 5; ++i) {
    const double x = 32 - span + 1 + i * (2 * span - 2) / 4;
    c.Rect(x - 1, drop - 1, x + 1, drop + 3, Hex(0xF0F0E0));
    c.Ellipse(x, drop - 3, 1.3, 2.2, Hex(0xFCE050), 0);
    c.Set(static_cast<int>(x), static_cast<int>(drop - 3), Hex(0xFCFCFC));
  }
  c.Ellipse(32, drop + 8, 2, 2, metal, 0.8);
}

void CeilingLight(Canvas& c, Random&, int v) {
  const Rgb glows[] = {Hex(0xFCF8B0), Hex(0xFCFCFC), Hex(0xFCD490), Hex(0xC8E8FC)};
  const double drop = 4 + (v % 4) * 3;
  c.Rect(31.5, 0, 32.5, drop, Iron);
  if (v % 2) {
    c.Polygon({{28, drop}, {36, drop}, {44, drop + 8}, {20, drop + 8}}, Hex(0x3C6C3C));
    c.Ellipse(32, drop + 9, 5, 2.5, Pick(glows, v), 0);
  } else {
    c.Rect(29, drop, 35, drop + 2, Iron * 1.5);
    c.Ellipse(32, drop + 7, 6, 6, Pick(glows, v), 0.35);
  }
  c.Outline(0.8);
}

void Plant(Canvas& c, Random& r, int v) {
  const Rgb pots[] = {Hex(0xB45C2C), Hex(0x5C7CA8), Hex(0xD8D0C0), Hex(0x8C3C1C)};
  const double height = 22 + (v % 4) * 6;
  for (int i = 0; i < 26; ++i) {
    const double a = r.Range(-2.4, -0.7);
    const double reach = r.Range(0.4, 1.0) * height * 0.55;
    const double x = 32 + std::cos(a) * reach;
    const double y = 50 + std::sin(a) * reach;
    c.Line(32, 50, x, y, 1.2, Hex(0x2C5C14));
    const double rx = r.Range(2, 3.5);
    const double ry = r.Range(1.5, 2.5);
    const double shade = r.Unit();
    c.Ellipse(x, y, rx, ry, Mix(Hex(0x3CA01C), Hex(0x207010), shade), 0.8);
  }
  c.Polygon({{24, 50}, {40, 50}, {37, 63.5}, {27, 63.5}}, Pick(pots, v));
  c.Cylinder(24, 50, 40, 63.5, Pick(pots, v));
  for (int y = 50; y < 64; ++y) {
    const double inset = (y - 50) * 3.0 / 13.5;
    for (int x = 24; x < 40; ++x)
      if (x + 0.5 < 24 + inset || x + 0.5 > 40 - inset) c.Clear(x, y);
  }
  c.Rect(23, 49, 41, 51, Pick(pots, v) * 1.1);
  c.Outline(0.65);
}

void Pillar(Canvas& c, Random&, int v) {
  const Rgb stones[] = {Hex(0xC8C4B8), Hex(0x8C8C8C), Hex(0xB4A088), Hex(0x5C6C8C)};
  const Rgb stone = Pick(stones, v);
  const double half = 6 + (v % 3) * 2;
  c.Cylinder(32 - half - 4, 0, 32 + half + 4, 5, stone);
  c.Cylinder(32 - half, 5, 32 + half, 58, stone);
  for (double x = 32 - half + 3; x < 32 + half - 1; x += 3) c.Rect(x, 7, x + 0.9, 56, stone * 0.7);
  c.Cylinder(32 - half - 4, 58, 32 + half + 4, 63.5, stone);
  c.Outline(0.6);
}

void Armor(Canvas& c, Random&, int v) {
  const Rgb steel = v % 3 == 2 ? Hex(0x8C9098) : Hex(0xB4B8C0);
  c.Rect(20, 61, 44, 63.5, Hex(0x6C5C4C));
  c.Cylinder(26, 44, 31, 61, steel);
  c.Cylinder(33, 44, 38, 61, steel);
  c.Cylinder(24, 26, 40, 45, steel);
  c.Ellipse(24, 27, 4, 3, steel);
  c.Ellipse(40, 27, 4, 3, steel);
  c.Cylinder(19, 28, 23, 44, steel * 0.9);
  c.Cylinder(41, 28, 45, 44, steel * 0.9);
  c.Ellipse(32, 19, 5.5, 7, steel);
  c.Rect(28, 18, 36, 19, Hex(0x101010));
  if (v % 2) {
    c.Line(46, 8, 46, 62, 1.5, Hex(0x8C6C3C));
    c.Polygon({{46, 2}, {49, 9}, {43, 9}}, Hex(0xD8D8E0));
  } else {
    c.Polygon({{14, 30}, {24, 30}, {24, 42}, {19, 48}, {14, 42}}, v % 4 == 0 ? Hex(0xA01818) : Hex(0x1C3C9C));
  }
  c.Ellipse(32, 12, 1.5, 2.5, Hex(0xC82020), 0.3);
  c.Outline(0.55);
}

void Flag(Canvas& c, Random&, int v) {
  const Rgb cloths[] = {Hex(0xB41414), Hex(0x1C3CA0), Hex(0x2C7C2C), Hex(0xE8E8E8), Hex(0x6C2C8C)};
  const Rgb cloth = Pick(cloths, v);
  c.Ellipse(32, 62, 6, 1.8, Iron, 0.5);
  c.Cylinder(31, 4, 33, 62, Hex(0x8C6C3C));
  c.Ellipse(32, 3, 2, 2, Gold);
  for (int x = 33; x <= 50; ++x) {
    const double wave = std::sin((x - 33) * 0.45 + v) * 1.8;
    for (int y = 6; y <= 26; ++y) {
      const double yy = y + wave * (x - 33) / 17.0;
      if (yy < 6 || yy > 26) continue;
      const bool stripe = (v % 2 == 0) && std::abs(yy - 16) < 3;
      c.Set(x, static_cast<int>(yy),
            (stripe ? Hex(0xF0F0F0) : cloth) * (0.85 + 0.25 * std::cos((x - 33) * 0.45 + v)));
    }
  }
  c.Outline(0.7);
}

void Bones(Canvas& c, Random& r, int v) {
  const Rgb bone = v % 2 ? Hex(0xE0D8C0) : Hex(0xC8B890);
  for (int i = 0; i < 5 + v % 4; ++i) {
    const double x = r.Range(18, 46);
    const double y = r.Range(55, 61);
    const double a = r.Range(-0.6, 0.6);
    c.Line(x - 6 * std::cos(a), y - 6 * std::sin(a), x + 6 * std::cos(a), y + 6 * std::sin(a), 1.6, bone);
    c.Ellipse(x - 6 * std::cos(a), y - 6 * std::sin(a), 1.6, 1.6, bone);
    c.Ellipse(x + 6 * std::cos(a), y + 6 * std::sin(a), 1.6, 1.6, bone);
  }
  const double sx = r.Range(26, 38);
  c.Ellipse(sx, 55, 5, 4.5, bone);
  c.Rect(sx - 3, 57, sx + 3, 60, bone * 0.9);
  c.Ellipse(sx - 2, 55, 1.3, 1.5, Hex(0x201810), 0);
  c.Ellipse(sx + 2, 55, 1.3, 1.5, Hex(0x201810), 0);
  if (v % 3 == 0) c.Ellipse(32, 61, 14, 2, Hex(0x800000), 0.2);
  c.Outline(0.6);
}

void Cage(Canvas& c, Random&, int v) {
  const double half = 10 + (v % 3) * 2;
  c.Rect(31.5, 0, 32.5, 8, Iron);
  if (v % 2) {
    c.Ellipse(32, 26, 4, 4.5, Hex(0xE0D8C0));
    c.Cylinder(29, 30, 35, 44, Hex(0xD0C8B0));
    for (int rib = 32; rib < 43; rib += 3) c.Rect(28, rib, 36, rib + 0.9, Hex(0xE0D8C0));
    c.Line(30, 44, 28, 58, 1.6, Hex(0xD0C8B0));
    c.Line(34, 44, 36, 58, 1.6, Hex(0xD0C8B0));
    c.Ellipse(30.5, 26, 1, 1.2, Hex(0x201810), 0);
    c.Ellipse(33.5, 26, 1, 1.2, Hex(0x201810), 0);
  }
  c.Ellipse(32, 12, half, 4, Iron * 1.2, 0.5);
  c.Ellipse(32, 12, half - 1.5, 2.5, Hex(0x202020), 0);
  for (double x = 32 - half; x <= 32 + half + 0.1; x += 4)
    c.Rect(x, 12, x + 1, 60, Iron * (x < 32 ? 1.3 : 0.9));
  c.Rect(32 - half, 59, 32 + half + 1, 62, Iron);
  c.Outline(0.8);
}

void Chest(Canvas& c, Random&, int v) {
  const Rgb wood = v % 2 ? Hex(0x8C5428) : Hex(0x6C3C1C);
  const double half = 12 + (v % 3) * 2;
  if (v % 3 == 2) {
    for (int i = 0; i < 9; ++i)
      c.Ellipse(32 - half + 4 + i * (2 * half - 8) / 8, 43 - (i % 2), 2.6, 2.6, Gold);
  }
  c.Rect(32 - half, 48, 32 + half, 63.5, wood);
  c.Cylinder(32 - half, 40, 32 + half, 48, wood * 1.1);
  for (double x : {32 - half + 3, 32 + half - 5}) c.Rect(x, 40, x + 2, 63.5, Gold * 0.85);
  c.Rect(32 - half, 47, 32 + half, 48, Hex(0x2C1C0C));
  c.Rect(30, 46, 34, 52, Gold);
  c.Rect(31.5, 48.5, 32.5, 50.5, Hex(0x101010));
  c.Outline(0.6);
}

void Key(Canvas& c, Random&, int v) {
  const Rgb metal = v % 2 ? Hex(0x9CD8FC) : Gold;
  c.Ellipse(32, 61.5, 9, 1.5, Hex(0x000000), 0);
  c.Clear(32, 61);
  c.Ellipse(24, 56, 4.5, 4.5, metal);
  c.Ellipse(24, 56, 2, 2, metal * 0.3, 0);
  for (int x = 23; x <= 26; ++x) c.Clear(x, 56);
  c.Rect(28, 55, 42, 57, metal);
  c.Rect(37, 57, 39, 60, metal * 0.9);
  c.Rect(40, 57, 42, 59, metal * 0.9);
  c.Outline(0.55);
  for (int x = 0; x < 64; ++x)
    for (int y = 60; y < 64; ++y)
      if (c.Has(x, y) && c.At(x, y).R < 1) c.Clear(x, y);
}

void Medkit(Canvas& c, Random&, int v) {
  if (v % 2) {
    // A plate of food.
    c.Ellipse(32, 60, 11, 3, Hex(0xE8E8E8), 0.3);
    c.Ellipse(30, 57, 5, 3, Hex(0xA0501C));
    c.Ellipse(37, 58, 3, 2, Hex(0x3C9C1C));
    c.Ellipse(27, 59, 2.5, 1.5, Hex(0xE8C040));
  } else {
    c.Rect(21, 48, 43, 63.5, Hex(0xE8E8E8));
    c.Rect(21, 48, 43, 50, Hex(0xC8C8C8));
    c.Rect(29, 52, 35, 62, Hex(0xD81818));
    c.Rect(26, 55, 38, 59, Hex(0xD81818));
    c.Rect(29, 45, 35, 48, Hex(0x404040));
  }
  c.Outline(0.7);
}

void Chalice(Canvas& c, Random&, int v) {
  const Rgb metal = v % 3 == 1 ? Hex(0xD8D8E0) : Gold;
  c.Ellipse(32, 62, 6, 1.8, metal);
  c.Cylinder(31, 52, 33, 62, metal);
  c.Ellipse(32, 52, 3, 1.5, metal);
  c.Polygon({{25, 40}, {39, 40}, {37, 48}, {32, 51}, {27, 48}}, metal);
  c.Cylinder(25, 40, 39, 50, metal);
  for (int y = 40; y < 52; ++y)
    for (int x = 25; x < 40; ++x)
      if (std::abs(x + 0.5 - 32) > 7 - std::max(0.0, (y - 46) * 1.2)) c.Clear(x, y);
  c.Ellipse(32, 40, 7, 1.5, metal * 0.5, 0);
  c.Ellipse(32, 45, 1.5, 1.5, v % 2 ? Hex(0xD81818) : Hex(0x1C7CD8), 0.3);
  c.Outline(0.6);
}

void Crown(Canvas& c, Random&, int v) {
  if (v % 2) {
    // A cross of gold with gems.
    c.Rect(29, 38, 35, 63.5, Gold);
    c.Rect(22, 44, 42, 50, Gold);
    c.Cylinder(29, 38, 35, 63.5, Gold);
    c.Ellipse(32, 47, 2, 2, Hex(0xD81818), 0.4);
  } else {
    c.Polygon({{20, 62}, {20, 48}, {25, 54}, {32, 45}, {39, 54}, {44, 48}, {44, 62}}, Gold);
    c.Cylinder(20, 56, 44, 63.5, Gold);
    for (int i = 0; i < 3; ++i)
      c.Ellipse(25 + i * 7, 59.5, 1.8, 1.8, i == 1 ? Hex(0x1C7CD8) : Hex(0xD81818), 0.3);
  }
  c.Outline(0.6);
}

void Clip(Canvas& c, Random&, int v) {
  const Rgb metal = v % 2 ? Hex(0x5C5C54) : Hex(0x7C6C4C);
  c.Rect(26, 50, 38, 63.5, metal);
  c.Cylinder(26, 50, 38, 63.5, metal);
  for (int i = 0; i < 3; ++i) {
    c.Rect(27 + i * 4, 44, 29 + i * 4, 50, Hex(0xC8A040));
    c.Ellipse(28 + i * 4, 44, 1, 1.5, Hex(0xB47C2C));
  }
  c.Outline(0.6);
}

void Gun(Canvas& c, Random&, int v) {
  const double length = 26 + (v % 3) * 4;
  c.Rect(32 - length / 2, 54, 32 + length / 2, 57, Iron);
  c.Rect(32 - length / 2 + 4, 57, 32 - length / 2 + 8, 62, Hex(0x6C4424));
  c.Rect(32 + length / 2 - 12, 57, 32 + length / 2 - 10, 62, Iron * 0.8);
  c.Rect(32 + length / 2, 55, 32 + length / 2 + 4, 56, Iron * 0.8);
  if (v % 2) c.Rect(32, 52, 36, 54, Iron * 1.2);
  c.Outline(0.6);
}

void Vase(Canvas& c, Random&, int v) {
  const Rgb glazes[] = {Hex(0x2C54B4), Hex(0xE8E0D0), Hex(0xB4542C), Hex(0x2C8C6C)};
  const Rgb glaze = Pick(glazes, v);
  const double height = 22 + (v % 3) * 6;
  const double top = 64 - height;
  for (int y = static_cast<int>(top); y < 64; ++y) {
    const double t = (y - top) / height;
    const double half = 4 + 8 * std::sin(Pi * std::min(1.0, t * 1.15)) * (t > 0.15 ? 1 : 0.4);
    const bool band = std::abs(t - 0.45) < 0.06;
    c.Cylinder(32 - half, y, 32 + half, y + 1, band ? Mix(glaze, Hex(0xFCFCFC), 0.6) : glaze);
  }
  c.Ellipse(32, top + 0.5, 4, 1.2, glaze * 0.3, 0);
  c.Outline(0.6);
}

void Well(Canvas& c, Random& r, int v) {
  const double half = 18;
  c.Cylinder(32 - half, 46, 32 + half, 63.5, Hex(0x8C8C8C));
  for (int row = 0; row < 4; ++row)
    for (double x = 32 - half + (row % 2) * 3; x < 32 + half; x += 6)
      c.Rect(x, 47 + row * 4, x + 0.9, 50 + row * 4, Hex(0x404040));
  for (int row = 0; row < 5; ++row)
    c.Rect(32 - half, 46 + row * 4, 32 + half, 46 + row * 4 + 0.9, Hex(0x505050));
  c.Ellipse(32, 46, half, 4, Hex(0xA0A0A0), 0.3);
  c.Ellipse(32, 46, half - 3, 2.6, v % 2 ? Hex(0x2C5CB4) * r.Range(0.9, 1.1) : Hex(0x181818), 0.2);
  c.Outline(0.65);
}

using ObjectDesign = std::function<void(Canvas&, Random&, int)>;

// ---- soldiers and the dog -----------------------------------------------------

struct Uniform {
  Rgb Cloth;
  Rgb Trim;
  Rgb Head;  // helmet or cap
  Rgb Skin;
  bool Helmet;
};

struct Pose {
  double Facing = 0;  // radians, 0 toward the viewer
  double Walk = 0;    // step phase in radians
  bool Aim = false;
  bool Flash = false;
  double Fall = 0;  // 0 standing, 1 on the floor
};

void Soldier(Canvas& c, const Uniform& u, const Pose& p) {
  const double front = std::abs(std::cos(p.Facing));
  const double side = std::sin(p.Facing);
  const double half = 4.5 + 4 * front;
  const double sink = p.Fall * 18;
  const double cx = 32 + p.Fall * 4;
  const double hip = 41 + sink * 0.9;
  const double shoulder = 23 + sink;
  const double stride = std::sin(p.Walk) * 4;
  const Rgb boots = Hex(0x201810);
  // Legs, the far one darker.
  for (int leg : {-1, 1}) {
    const double hx = cx + leg * half * 0.45;
    const double fx = hx + leg * stride * (1 - front * 0.5) + side * leg * stride;
    const double lift = std::max(0.0, leg * std::cos(p.Walk) * 2);
    const double knee = p.Fall > 0 ? 0 : lift;
    c.Line(hx, hip, fx, 59 - knee, 4.6, u.Cloth * (leg * side > 0 ? 0.75 : 0.95));
    c.Line(fx, 59 - knee, fx + 1.5 * (1 - front) * (side > 0 ? 1 : -1), 62.5 - knee, 4.5, boots);
  }
  // Torso.
  c.Polygon(
      {{cx - half, shoulder}, {cx + half, shoulder}, {cx + half * 0.8, hip + 1}, {cx - half * 0.8, hip + 1}},
      u.Cloth);
  c.Cylinder(cx - half, shoulder, cx + half, hip + 1, u.Cloth);
  c.Rect(cx - half * 0.8, hip - 2, cx + half * 0.8, hip, u.Trim);
  if (front > 0.3) c.Rect(cx - 0.5, shoulder + 2, cx + 0.5, hip - 3, u.Cloth * 0.6);
  // Arms and the gun.
  const double gunSide = side >= 0 ? 1 : -1;
  for (int arm : {-1, 1}) {
    const double sx = cx + arm * (half + 0.5);
    const bool gunArm = arm == gunSide || front > 0.9;
    double hx = sx + arm * 1 - arm * std::sin(p.Walk) * 2 * (p.Aim ? 0 : 1);
    double hy = shoulder + 16;
    if (p.Aim && gunArm) {
      hx = cx + gunSide * (2 + 6 * (1 - front));
      hy = shoulder + 8;
    }
    c.Line(sx, shoulder + 1.5, hx, hy, 3.6, u.Cloth * (arm * side > 0 ? 0.7 : 1.0));
    c.Ellipse(hx, hy + 1, 1.7, 1.7, u.Skin);
  }
  if (p.Fall < 0.5) {
    const double gx = p.Aim ? cx + gunSide * (2 + 6 * (1 - front)) : cx + gunSide * (half + 1.5);
    const double gy = p.Aim ? shoulder + 9 : shoulder + 17;
    const double reach = p.Aim ? 4 + 8 * (1 - front) : 6;
    c.Line(gx, gy, gx + gunSide * reach * (p.Aim ? 1 : 0.3), gy + (p.Aim ? -1 : 5), 2.2, Hex(0x303034));
    if (p.Flash) {
      const double mx = gx + gunSide * reach;
      c.Ellipse(mx, gy - 2, 4, 3, Hex(0xFCD030), 0);
      c.Ellipse(mx, gy - 2, 2, 1.5, Hex(0xFCFCE0), 0);
    }
  }
  // Head.
  const double headX = cx + p.Fall * 8;
  const double headY = shoulder - 6 + p.Fall * 6;
  c.Rect(headX - 2, headY + 3, headX + 2, shoulder + 1, u.Skin * 0.8);
  c.Ellipse(headX, headY, 4.5, 5, u.Skin);
  const bool facingUs = std::cos(p.Facing) > 0.1;
  if (!facingUs) c.Ellipse(headX, headY + 1, 4.5, 3.5, u.Head * 0.5, 0.3);
  if (u.Helmet) {
    c.Ellipse(headX, headY - 3, 5.5, 3.5, u.Head);
    c.Rect(headX - 6, headY - 2, headX + 6, headY - 1, u.Head * 0.75);
  } else {
    c.Rect(headX - 4.5, headY - 6, headX + 4.5, headY - 3, u.Head);
    c.Rect(headX - 5 + side * 2, headY - 3, headX + 5 + side * 2, headY - 2, Hex(0x202020));
  }
  if (facingUs) {
    const double look = side * 2;
    for (double eye : {-1.8, 1.8})
      if (std::abs(eye + look) < 3.5)
        c.Rect(headX + eye + look - 0.5, headY, headX + eye + look + 0.5, headY + 1, Hex(0x181010));
    c.Rect(headX + look - 1, headY + 3, headX + look + 1, headY + 3.9, u.Skin * 0.6);
  }
  if (p.Fall > 0.2) {
    for (int i = 0; i < 6; ++i)
      c.Ellipse(cx - 2 + i * 1.3, shoulder + 5 + i * 1.3, 1.6, 1.3, Hex(0xB40000), 0.2);
  }
  c.Outline(0.6);
}

void Dead(Canvas& c, const Uniform& u) {
  c.Ellipse(33, 61, 22, 2.5, Hex(0x900000), 0.2);
  c.Line(38, 59.5, 50, 60.5, 4.2, u.Cloth * 0.8);
  c.Ellipse(51, 60.5, 2.5, 2, Hex(0x201810), 0);
  c.Ellipse(30, 58.5, 10, 4, u.Cloth);
  c.Rect(31, 55, 32.5, 62, u.Trim);
  c.Line(24, 57, 20, 61, 3, u.Cloth * 0.9);
  c.Ellipse(18, 58.5, 4, 3.5, u.Skin);
  c.Ellipse(15.5, 57, 3.5, 3, u.Head);
  c.Ellipse(40, 62, 5, 1, Hex(0x303034), 0);
  c.Outline(0.6);
}

void Dog(Canvas& c, double facing, double walk, int action) {
  const Rgb fur = Hex(0x8C6030);
  const double side = std::sin(facing);
  const double front = std::abs(std::cos(facing));
  const double length = 8 + 10 * (1 - front);
  const double dir = side >= 0 ? 1 : -1;
  const double bodyY = action == 3 ? 58 : 47;
  if (action == 3) {
    // Lying dead.
    c.Ellipse(32, 61.5, 20, 2, Hex(0x900000), 0.2);
    c.Ellipse(32, 58, 13, 4, fur);
    c.Ellipse(45, 59, 4, 3, fur * 0.9);
    c.Line(20, 59, 14, 62, 2, fur * 0.8);
    c.Outline(0.6);
    return;
  }
  for (int leg = 0; leg < 4; ++leg) {
    const double along = (leg < 2 ? 1 : -1) * length * 0.7 * dir + (leg % 2 ? 1.5 : -1.5) * front * 2;
    const double swing = std::sin(walk + leg * Pi / 2) * 3 * (1 - front * 0.6);
    c.Line(32 + along, bodyY + 2, 32 + along + swing, 62, 2.6, fur * (leg % 2 ? 0.8 : 1));
  }
  c.Ellipse(32, bodyY, length + 2, 5.5, fur);
  c.Line(32 - dir * (length + 1), bodyY - 2, 32 - dir * (length + 6), bodyY - 7 + std::sin(walk) * 2, 1.8,
         fur * 0.9);
  const double hx = 32 + dir * (length + 1) * (1 - front * 0.8);
  const double hy = bodyY - 7 + (action == 1 ? 2 : 0);
  c.Ellipse(hx, hy, 5, 4.5, fur * 1.1);
  c.Ellipse(hx + dir * 4 * (1 - front), hy + 2, 3.5, 2.5, fur * 1.15);
  c.Polygon({{hx - 4, hy - 2}, {hx - 2, hy - 8}, {hx - 0.5, hy - 3}}, fur * 0.7);
  c.Polygon({{hx + 4, hy - 2}, {hx + 2, hy - 8}, {hx + 0.5, hy - 3}}, fur * 0.7);
  if (action == 1) c.Ellipse(hx + dir * 4 * (1 - front), hy + 4, 2.5, 1.5, Hex(0xC82020), 0);
  if (action == 2) {
    for (int i = 0; i < 5; ++i) c.Ellipse(32 + i * 2 - 4, bodyY - 1 + i, 1.5, 1.2, Hex(0xB40000), 0.2);
  }
  c.Set(static_cast<int>(hx - 2), static_cast<int>(hy - 1), Hex(0x101010));
  if (front > 0.5) c.Set(static_cast<int>(hx + 2), static_cast<int>(hy - 1), Hex(0x101010));
  c.Outline(0.6);
}

}  // namespace

std::vector<SpritePicture> MakeSprites(Quantiser& quantiser, size_t count) {
  const std::vector<ObjectDesign> objects = {
      Puddle, Barrel, Table, FloorLamp, Chandelier, CeilingLight, Plant, Pillar, Armor, Flag, Bones,
      Cage,   Chest,  Key,   Medkit,    Chalice,    Crown,        Clip,  Gun,    Vase,  Well};
  const std::vector<Uniform> uniforms = {
      {Hex(0x8C6C3C), Hex(0x3C2C14), Hex(0x5C6C3C), Hex(0xE8B48C), true},   // guard
      {Hex(0x2C40A0), Hex(0x101010), Hex(0x202020), Hex(0xE0AC84), true},   // elite guard
      {Hex(0xE0E0D8), Hex(0x202020), Hex(0xE0E0D8), Hex(0xE8B48C), false},  // officer
      {Hex(0x4C8C3C), Hex(0x1C3C1C), Hex(0x70A060), Hex(0x90C080), false},  // mutant
  };

  std::vector<SpritePicture> sprites;
  auto add = [&](const std::function<void(Canvas&)>& draw, uint32_t seed) {
    Canvas canvas;
    draw(canvas);
    canvas.Grain(0.12, seed);
    sprites.push_back(canvas.Quantise(quantiser));
  };

  // Each soldier: eight sides standing and in four steps, then aiming,
  // firing, hit, falling and dead.
  std::vector<std::function<void(Canvas&)>> actors;
  for (const Uniform& u : uniforms) {
    for (int step = 0; step < 5; ++step) {
      for (int side = 0; side < 8; ++side) {
        Pose pose;
        pose.Facing = side * Pi / 4;
        pose.Walk = step == 0 ? 0 : (step - 1) * Pi / 2 + Pi / 4;
        actors.push_back([=](Canvas& c) { Soldier(c, u, pose); });
      }
    }
    Pose aim;
    aim.Aim = true;
    actors.push_back([=](Canvas& c) { Soldier(c, u, aim); });
    Pose fire = aim;
    fire.Flash = true;
    actors.push_back([=](Canvas& c) { Soldier(c, u, fire); });
    for (double fall : {0.25, 0.55, 0.8}) {
      Pose hit;
      hit.Fall = fall;
      actors.push_back([=](Canvas& c) { Soldier(c, u, hit); });
    }
    actors.push_back([=](Canvas& c) { Dead(c, u); });
  }
  for (int step = 0; step < 4; ++step)
    for (int side = 0; side < 8; ++side)
      actors.push_back([=](Canvas& c) { Dog(c, side * Pi / 4, step * Pi / 2, 0); });
  for (int action = 1; action <= 3; ++action) actors.push_back([=](Canvas& c) { Dog(c, Pi / 2, 0, action); });

  // The objects share what the figures leave, in turns, so that every kind
  // comes in several variants.
  const size_t objectCount = count - actors.size();
  uint32_t seed = 5000;
  for (size_t i = 0; i < objects.size(); ++i) {
    const size_t variants = objectCount / objects.size() + (i < objectCount % objects.size() ? 1 : 0);
    for (size_t v = 0; v < variants; ++v) {
      Random random(seed);
      add([&](Canvas& c) { objects[i](c, random, static_cast<int>(v)); }, seed++);
    }
  }
  for (const auto& actor : actors) add(actor, seed++);
  return sprites;
}
