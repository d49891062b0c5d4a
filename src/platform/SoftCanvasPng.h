// Saves a SoftCanvas as a PNG image, to look at a pattern without a desktop.
#pragma once

#include "platform/SoftCanvas.h"

// 8-bit RGB. False when the file cannot be written or the canvas is empty (a PNG
// image is at least one pixel wide and high).
bool WritePng(const SoftCanvas& canvas, const char* path);
