#pragma once

#include "Color.h"
#include "CompositingOperation.h"
#include "Font.h"
#include "Geometry.h"
#include "TextAlignment.h"

#include <string_view>
#include <vector>

namespace docshelf::appkit {

class Image;

// Where views draw. The backend supplies one and makes it current while a view's
// drawRect runs; positions are in the drawing view's own coordinates, and
// translation() says where that view's origin lies in its window.
class GraphicsContext {
public:
    virtual ~GraphicsContext() = default;

    virtual void drawImage(const Image& image, Point at, Size size, CompositingOperation operation) = 0;
    virtual void fillRect(Rect rect, Color color) = 0;
    // The text in the font, placed in the box by the alignment: on one line, or,
    // when wraps, broken into lines at the box's width from its top.
    virtual void drawText(std::string_view text, Rect box, const Font& font, TextAlignment alignment, bool wraps) = 0;
    // Shapes of the controls' bezels, focus rings and marks. radius is that of
    // the corners' quarter circles, at most half the shorter side.
    virtual void fillRoundedRect(Rect rect, float radius, Color color) = 0;
    virtual void strokeRoundedRect(Rect rect, float radius, Color color, float lineWidth) = 0;
    // Straight lines through the points in turn, with round ends and joins.
    virtual void strokePolyline(const std::vector<Point>& points, Color color, float lineWidth) = 0;

    // The colour drawText uses; black until set.
    Color textColor() const { return textColor_; }
    virtual void setTextColor(Color color) { textColor_ = color; }

    // Null when no view is drawing.
    static GraphicsContext* current();
    // Returns the context that was current before.
    static GraphicsContext* setCurrent(GraphicsContext* context);

    Point translation() const { return translation_; }
    void setTranslation(Point origin) { translation_ = origin; }

private:
    Point translation_;
    Color textColor_ = Color::blackColor();
};

}
