#pragma once

#include "Color.h"
#include "CompositingOperation.h"
#include "Geometry.h"
#include "TextAlignment.h"

#include <string>

namespace docshelf::appkit {

// One drawing operation as the headless backend records it.
struct DrawCall {
    enum class Kind { Image, Fill, Text };

    Kind kind = Kind::Fill;
    Point translation;          // the drawing view's origin in its window
    Rect rect;                  // image: where and how large; fill and text: the box
    std::string imagePath;
    CompositingOperation operation = CompositingOperation::SourceOver;
    Color color;
    std::string text;
    float fontSize = 0;
    bool bold = false;
    TextAlignment alignment = TextAlignment::Natural;
};

}
