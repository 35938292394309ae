#pragma once

#include "Color.h"
#include "CompositingOperation.h"
#include "Font.h"
#include "Geometry.h"
#include "TextAlignment.h"

#include <string>
#include <vector>

namespace docshelf::appkit {

// One drawing operation as the headless backend records it.
struct DrawCall {
    enum class Kind { Image, Fill, Text, RoundedFill, RoundedStroke, Polyline };

    Kind kind = Kind::Fill;
    Point translation;         // the drawing view's origin in its window
    Rect rect;                 // image: where and how large; the others: the box
    float radius = 0;          // rounded shapes
    float lineWidth = 0;       // strokes
    std::vector<Point> points; // polyline
    std::string imagePath;
    CompositingOperation operation = CompositingOperation::SourceOver;
    Color color; // fills, strokes, and the text colour
    std::string text;
    Font font;
    TextAlignment alignment = TextAlignment::Natural;
    bool wraps = false;
};

}
