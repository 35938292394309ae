#pragma once

#include "Geometry.h"

namespace docshelf::appkit {

enum class MouseButton { Left, Right };

// A press, drag or release of a mouse button, at a point of the window's content
// (origin lower left).
struct MouseEvent {
    Point location;
    MouseButton button = MouseButton::Left;
};

}
