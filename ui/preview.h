// The preview pane's geometry and its zoom drag, free of any window.
#pragma once

#include <array>
#include <cstdint>

#include "winlayer/mouse.h"

// The zoom state of the preview pane.
struct RZoomState {
  double Zoom = 1.0;
  double ZoomStep = 0.05;
  bool ZoomDragging = false;
  double ZoomAtPress = 1.0;
  int32_t PressY = 0;
};

// Zoom never grows past this, however many drags pile up: the stretched
// image, 64 x MaxZoom pixels wide, stays far inside the coordinates a
// device context takes (27 bits).
constexpr double MaxZoom = 10000.0;

// A left press starts a drag (the caller captures the mouse): returns true.
bool ZoomPress(RZoomState& state, MouseButton button, int32_t y);
// During a drag the zoom follows the pointer's distance from the press
// point; values at or below 0 are refused. Returns true when the pane must
// be redrawn (every move of a drag).
bool ZoomMove(RZoomState& state, int32_t y);
// Any button release ends a drag: returns true when the caller must release
// the mouse capture.
bool ZoomRelease(RZoomState& state);

struct PixelRect {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t W = 0;
  int32_t H = 0;
};

// Where an image `imageWidth` x 64 pixels is drawn at `zoom`, centred in a
// pane of the given size; sizes are truncated toward zero.
PixelRect PreviewRect(int32_t imageWidth, double zoom, int32_t paneWidth, int32_t paneHeight);

struct PixelPoint {
  int32_t X;
  int32_t Y;
};

// Centres of the four corner crosses, one pixel diagonally outside the
// image's corners: top-left, top-right, bottom-left, bottom-right.
std::array<PixelPoint, 4> CornerMarkCentres(const PixelRect& drawn);
