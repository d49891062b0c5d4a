// What the pattern window shows for the current step: the welcome and notes messages
// at the very first paint, black at step 1, nothing at the last step (the window hides
// itself), and the step's pattern otherwise.
#pragma once

#include "patterns/PatternGrammar.h"
#include "platform/Platform.h"

void PaintPatternWindow(Platform& platform);
// Draws a pattern over a canvas that the caller has already filled black.
void PaintPattern(Canvas& canvas, PatternChoice choice);
