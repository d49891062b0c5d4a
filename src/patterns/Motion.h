// The moving pattern for response time and overdrive: three grey bands, each crossed
// from left to right by the same white square with a black centre. Frame n is a pure
// function of n, the canvas size and the step per frame, so that any frame can be
// drawn again, exported or compared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "platform/Platform.h"

inline constexpr int kMotionDefaultSpeed = 960;  // pixels per second, for plain "Motion"
inline constexpr int kMotionMinSpeed = 60;
inline constexpr int kMotionMaxSpeed = 7680;

// The speed that "Motion" or "Motion<speed>" names; nothing for any other text,
// including a speed outside 60 to 7680 or a number not written as plain digits.
std::optional<int> MotionSpeed(std::string_view spec);

// Whole pixels per frame, so that every frame moves the object alike: the speed over
// the refresh rate, rounded, and at least 1.
int MotionStepPerFrame(int speed, double refreshHz);

int MotionObjectSide(int height);
// The object's left edge in frame n; it wraps round at the right edge.
int MotionObjectLeft(std::int64_t frame, int step, int width);

// Draws frame n, only inside clip (the whole frame when clip covers the canvas).
void DrawMotionFrame(Canvas& canvas, std::int64_t frame, int step, Rect clip);
void DrawMotionFrame(Canvas& canvas, std::int64_t frame, int step);

// The column ranges that differ between two frames: the object's old and new places,
// each cut in two where it wraps. Returns how many of out it filled (0 to 4).
int MotionChangedColumns(std::int64_t from, std::int64_t to, int step, Size size, std::span<Rect, 4> out);

// Where the readout may go: the top-left corner down to just above the top band's
// object, so that it never covers one. An empty rectangle when no room is left.
Rect MotionReadoutArea(Size size);

// Whether row y of a screen of that height differs between some two frames: it crosses
// an object or the readout. Every other row keeps its band's grey.
bool MotionRowMoves(int y, int height);

// "59.9 Hz  960 px/s  0 skipped"; a rate from the mode's nominal value, not measured,
// says so: "60.0 Hz (nominal)  ...".
void FormatMotionReadout(std::span<char> out, double refreshHz, bool measured, int speed,
                         std::int64_t skipped);
