// The test-pattern painters. Each measures the canvas, opens a drawing context of its own,
// draws and releases everything before it returns; none keeps state between calls.
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

// 16 full-height bands, band i over columns i * W / 16 to (i + 1) * W / 16 - 1 in the
// grey firstLevel + i * step: near-black or near-white steps one level apart.
void DrawLevelBands(Canvas& canvas, int firstLevel, int step);
// Left half: white even rows and black odd ones. Right half: five horizontal bands of
// the solid greys that match those lines at gamma 1.8, 2.0, 2.2, 2.4 and 2.6.
void DrawGammaCheck(Canvas& canvas);
// A one-pixel checkerboard, white where x + y is even.
void DrawChecker(Canvas& canvas);
// Four horizontal stripes of 256 levels each, column x at level x * 256 / W: grey,
// red, green and blue from the top.
void DrawGradients(Canvas& canvas);
