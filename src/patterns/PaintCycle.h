// What the pattern window shows for the current step: the welcome and notes messages
// at the very first paint, black at step 1, nothing at the last step (the window hides
// itself), and the step's pattern otherwise.
#pragma once

#include "patterns/PatternGrammar.h"
#include "platform/Platform.h"

void PaintPatternWindow(Platform& platform);
// From now on the pattern window shows only this keyword's pattern, as a step of its own
// would, with no welcome or notes message.
void UseSinglePattern(std::string_view keyword);
// Draws a pattern over a canvas that the caller has already filled black.
void PaintPattern(Canvas& canvas, PatternChoice choice);
