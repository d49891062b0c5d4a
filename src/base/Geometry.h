// Points, sizes and rectangles in pixels, as every layer speaks of them.
#pragma once

struct Point {
    int x;
    int y;
};

struct Size {
    int width;
    int height;
};

// Right and bottom edges are excluded.
struct Rect {
    int left;
    int top;
    int right;
    int bottom;
};
