#include "ui/preview.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

void ExpectRect(const PixelRect& r, int32_t x, int32_t y, int32_t w, int32_t h) {
  EXPECT_EQ((std::vector<int32_t>{r.X, r.Y, r.W, r.H}), (std::vector<int32_t>{x, y, w, h}));
}

TEST(PreviewRect, CentresTheImageWithIntegerHalves) {
  ExpectRect(PreviewRect(64, 1.0, 400, 300), 168, 118, 64, 64);
  ExpectRect(PreviewRect(64, 1.0, 401, 301), 168, 118, 64, 64);
  ExpectRect(PreviewRect(37, 2.0, 400, 300), 200 - 37, 150 - 64, 74, 128);
  ExpectRect(PreviewRect(64, 1.15, 400, 300), 200 - 36, 150 - 36, 73, 73);  // truncated, not rounded
  ExpectRect(PreviewRect(64, 1.0 / 128, 400, 300), 200, 150, 0, 0);
  ExpectRect(PreviewRect(64, 10.0, 100, 100), 50 - 320, 50 - 320, 640, 640);  // larger than the pane
  ExpectRect(PreviewRect(0, 3.0, 10, 10), 5, 5 - 96, 0, 192);
}

TEST(CornerMarkCentres, LieOnePixelOutsideTheCorners) {
  // The image covers 168 to 231 and 118 to 181.
  const auto c = CornerMarkCentres(PreviewRect(64, 1.0, 400, 300));
  const int32_t xs[] = {167, 232, 167, 232}, ys[] = {117, 117, 182, 182};
  for (size_t i = 0; i < 4; ++i) EXPECT_EQ(std::tuple(c[i].X, c[i].Y), std::tuple(xs[i], ys[i])) << i;
}

TEST(ZoomDrag, FollowsThePointersDistanceFromThePress) {
  RZoomState z;
  EXPECT_FALSE(ZoomMove(z, 10)) << "no drag, no change";
  EXPECT_TRUE(ZoomPress(z, MouseButton::Left, 100));
  EXPECT_TRUE(ZoomMove(z, 110));
  EXPECT_DOUBLE_EQ(z.Zoom, 0.5);
  EXPECT_TRUE(ZoomMove(z, 97));
  EXPECT_DOUBLE_EQ(z.Zoom, 1.15) << "from the zoom at the press, not the last move";
}

TEST(ZoomDrag, RefusesZoomsAtOrBelowZero) {
  RZoomState z;
  ZoomPress(z, MouseButton::Left, 0);
  ZoomMove(z, 19);
  EXPECT_NEAR(z.Zoom, 0.05, 1e-12);
  EXPECT_TRUE(ZoomMove(z, 20)) << "still redraws";
  EXPECT_NEAR(z.Zoom, 0.05, 1e-12) << "keeps the last accepted value";
}

TEST(ZoomDrag, OnlyTheLeftButtonStartsAndAnyButtonEnds) {
  RZoomState z;
  EXPECT_FALSE(ZoomPress(z, MouseButton::Right, 5));
  EXPECT_FALSE(ZoomPress(z, MouseButton::Middle, 5));
  EXPECT_FALSE(z.ZoomDragging);
  EXPECT_FALSE(ZoomRelease(z)) << "nothing to release";
  ZoomPress(z, MouseButton::Left, 5);
  EXPECT_TRUE(ZoomRelease(z));
  EXPECT_FALSE(z.ZoomDragging);
  EXPECT_FALSE(ZoomMove(z, -100));
  EXPECT_DOUBLE_EQ(z.Zoom, 1.0);
}

TEST(ZoomDrag, RepeatedDragsStopAtTheCap) {
  RZoomState z;
  for (int i = 0; i < 100; ++i) {
    ZoomPress(z, MouseButton::Left, 32767);
    ZoomMove(z, -32768);
    ZoomRelease(z);
  }
  EXPECT_DOUBLE_EQ(z.Zoom, MaxZoom);
  const PixelRect r = PreviewRect(64, z.Zoom, 800, 600);
  EXPECT_EQ(r.W, 640000);
}

}  // namespace
