#pragma once

namespace docshelf::appkit {

// Rectangles are in the coordinates of the superview (the screen for a window),
// with the origin at the lower left and y growing upwards.
struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    float width = 0;
    float height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    Point origin;
    Size size;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr Point zeroPoint{};

}
