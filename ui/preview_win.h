// The preview pane: the selected texture or sprite, centred and scaled by
// the zoom, with a cross at each corner; a vertical drag with the left
// button zooms.
#pragma once

#include <cstdint>

#include "winlayer/winlayer_win.h"

struct RMainWindow;

void PaintPreview(RMainWindow& mainWindow, PaintBox& pane, HDC dc);

// Crosses of arm `r` one pixel diagonally outside each corner of the image
// at (x, y), w x h; and one cross, 2r + 1 pixels wide and high, centred on
// (cx, cy). Both draw with the pen selected into `dc`.
void DrawCornerMarks(HDC dc, int32_t x, int32_t y, int32_t w, int32_t h, int32_t r);
void DrawCross(HDC dc, int32_t cx, int32_t cy, int32_t r);

// The zoom drag: a left press starts it and captures the mouse, moves
// follow the pointer's height above the press point, any release ends it.
void PreviewMouseDown(RMainWindow& mainWindow, PaintBox& pane, MouseButton button, int32_t x, int32_t y);
void PreviewMouseMove(RMainWindow& mainWindow, PaintBox& pane, int32_t x, int32_t y);
void PreviewMouseUp(RMainWindow& mainWindow, PaintBox& pane, MouseButton button, int32_t x, int32_t y);
