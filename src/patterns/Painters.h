// The eight test-pattern painters. Each measures the canvas, opens a drawing context of
// its own, draws and releases everything before it returns; none keeps state between calls.
#pragma once

#include "platform/Platform.h"

void FillBlack(Canvas& canvas);
// White leaves a one-pixel margin untouched; any other colour covers the whole area.
void FillSolid(Canvas& canvas, Colour colour);
// The two outermost rings of pixels.
void DrawFrame(Canvas& canvas, Colour colour);
// Groups of count lit columns, each followed by count untouched ones; count < 1 draws nothing.
void DrawVerticalLines(Canvas& canvas, Colour colour, int count);
void DrawHorizontalLines(Canvas& canvas, Colour colour, int count);
// A white grid of n by n cells with closing lines at the right and bottom edges.
void DrawHatch(Canvas& canvas, int n);
// Level 0: labelled stripes from white down to black; any other level: one uniform grey
// of the level's low byte.
void DrawGreyRamp(Canvas& canvas, int level);
// Narrow stripes running from red through green to blue; the divisor sets their overlap.
void DrawColourRamp(Canvas& canvas, int divisor);
