#include "FltkGraphicsContext.h"

#include "DecodedPictures.h"
#include "FontFallback.h"
#include "LineBreaker.h"
#include "ShapedText.h"

#include "platform/appkit/Image.h"

#include <FL/fl_draw.H>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace docshelf::fltk {

namespace {

uchar component(float value) {
    return static_cast<uchar>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
}

// The room above and below the baseline that a text needs, over all its fonts.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
};

LineMetrics metricsOf(const std::vector<FontRun>& runs, Fl_Font font, Fl_Fontsize size) {
    LineMetrics metrics;
    auto include = [&](Fl_Font f) {
        fl_font(f, size);
        metrics.ascent = std::max(metrics.ascent, fl_height() - fl_descent());
        metrics.descent = std::max(metrics.descent, fl_descent());
    };
    include(font);
    for (const auto& run : runs)
        if (run.font != font)
            include(run.font);
    return metrics;
}

// X draws with 16-bit coordinates: what is drawn is first cut to a range that
// holds any window here, so that no coordinate wraps.
constexpr int drawableLimit = 16'000;

FltkGraphicsContext::Box drawablePart(FltkGraphicsContext::Box box) {
    auto limited = [](long long value) {
        return static_cast<int>(std::clamp<long long>(value, -drawableLimit, drawableLimit));
    };
    int left = limited(box.x);
    int top = limited(box.y);
    int right = limited(static_cast<long long>(box.x) + box.w);
    int bottom = limited(static_cast<long long>(box.y) + box.h);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// Natural (and justified, whose last line is natural) is the paragraph's own
// side, as a Mac sets it: the right for a right-to-left paragraph, the left
// otherwise. The frame stays where the window description put it.
Fl_Align alignmentFor(appkit::TextAlignment alignment, std::string_view text) {
    switch (alignment) {
    case appkit::TextAlignment::Right:
        return FL_ALIGN_RIGHT;
    case appkit::TextAlignment::Center:
        return FL_ALIGN_CENTER;
    case appkit::TextAlignment::Left:
        return FL_ALIGN_LEFT;
    default:
        return ShapedText::isRightToLeft(text) ? FL_ALIGN_RIGHT : FL_ALIGN_LEFT;
    }
}

}

FltkGraphicsContext::Box FltkGraphicsContext::toWindow(appkit::Rect rect) const {
    float left = translation().x + rect.origin.x;
    float bottom = translation().y + rect.origin.y;
    int x = static_cast<int>(std::lround(left));
    int w = static_cast<int>(std::lround(left + rect.size.width)) - x;
    auto height = static_cast<float>(windowHeight_);
    int top = static_cast<int>(std::lround(height - bottom - rect.size.height));
    int h = static_cast<int>(std::lround(height - bottom)) - top;
    return {x, top, w, h};
}

void FltkGraphicsContext::drawImage(const appkit::Image& image, appkit::Point at, appkit::Size size,
                                    appkit::CompositingOperation operation) {
    Box box = toWindow({at, size});
    if (box.w <= 0 || box.h <= 0)
        return;
    if (operation == appkit::CompositingOperation::Clear)
        return;
    // Scaled copies are kept per picture, so that a redraw neither decodes nor scales again.
    if (Fl_RGB_Image* picture = DecodedPictures::scaled(image, box.w, box.h))
        picture->draw(box.x, box.y);
}

void FltkGraphicsContext::fillRect(appkit::Rect rect, appkit::Color color) {
    if (color.alpha <= 0)
        return;
    Box box = drawablePart(toWindow(rect));
    fl_color(component(color.red), component(color.green), component(color.blue));
    fl_rectf(box.x, box.y, box.w, box.h);
}

void FltkGraphicsContext::drawText(std::string_view text, appkit::Rect box, const appkit::Font& font,
                                   appkit::TextAlignment alignment, bool wraps) {
    Placement placement = place(text, toWindow(box), font, alignment, wraps);
    fl_color(textColor_);
    drawLines(placement.lines, placement.box, placement.font, placement.size);
}

Fl_Fontsize FltkGraphicsContext::sizeOf(const appkit::Font& font) {
    return static_cast<Fl_Fontsize>(std::lround(font.size));
}

FltkGraphicsContext::Placement FltkGraphicsContext::place(std::string_view text, Box box, const appkit::Font& font,
                                                          appkit::TextAlignment alignment, bool wraps) {
    Placement placement;
    placement.box = box;
    placement.font = faceOf(font);
    placement.size = sizeOf(font);
    // A wrapping field sets its lines from the top; one line sits in the middle of its box.
    placement.lines = layOut(text, box, placement.font, placement.size, alignmentFor(alignment, text), wraps);
    return placement;
}

float FltkGraphicsContext::textWidth(std::string_view text, Fl_Font font, Fl_Fontsize size) {
    return static_cast<float>(ShapedText::width(text, font, size));
}

float FltkGraphicsContext::lineHeight(std::string_view text, Fl_Font font, Fl_Fontsize size) {
    LineMetrics metrics = metricsOf(FontFallback::runs(text, font, size), font, size);
    return static_cast<float>(metrics.ascent + metrics.descent);
}

std::vector<FltkGraphicsContext::Line> FltkGraphicsContext::layOut(std::string_view text, Box box, Fl_Font font,
                                                                   Fl_Fontsize size, Fl_Align align, bool wrap) {
    std::vector<Line> placed;
    if (box.w <= 0 || box.h <= 0 || text.empty())
        return placed;
    std::vector<std::string_view> lines;
    if (wrap)
        lines = LineBreaker::wrap(text, static_cast<float>(box.w),
                                  [&](std::string_view piece) { return textWidth(piece, font, size); });
    else
        lines.push_back(text);
    LineMetrics metrics = metricsOf(FontFallback::runs(text, font, size), font, size);
    int height = metrics.ascent + metrics.descent;
    int top = wrap ? box.y : box.y + (box.h - height) / 2;
    for (std::string_view line : lines) {
        float width = textWidth(line, font, size);
        double x = box.x;
        if (align & FL_ALIGN_RIGHT)
            x = box.x + box.w - static_cast<double>(width);
        else if (!(align & FL_ALIGN_LEFT))
            x = box.x + (box.w - static_cast<double>(width)) / 2.0;
        placed.push_back({line, x, top, width, height, top + metrics.ascent});
        top += height;
    }
    return placed;
}

void FltkGraphicsContext::drawLines(const std::vector<Line>& lines, Box box, Fl_Font font, Fl_Fontsize size) {
    if (lines.empty())
        return;
    Box visible = drawablePart(box);
    if (visible.w <= 0 || visible.h <= 0)
        return;
    fl_push_clip(visible.x, visible.y, visible.w, visible.h);
    for (const Line& line : lines) {
        if (line.baseline > -drawableLimit && line.baseline < drawableLimit)
            ShapedText::draw(line.text, font, size, line.x, line.baseline, {visible.x, visible.w});
        if (line.top + line.height >= box.y + box.h)
            break;
    }
    fl_pop_clip();
}

namespace {

Fl_Color flColor(appkit::Color color) {
    Fl_Color opaque = fl_rgb_color(component(color.red), component(color.green), component(color.blue));
    return color.alpha >= 1 ? opaque : fl_color_average(opaque, FL_WHITE, std::clamp(color.alpha, 0.0f, 1.0f));
}

// The outline of a rounded rectangle, for fl_begin_polygon or fl_begin_loop.
void roundedPath(const FltkGraphicsContext::Box& box, float radius) {
    double r = std::min({static_cast<double>(radius), box.w / 2.0, box.h / 2.0});
    double x = box.x;
    double y = box.y;
    fl_arc(x + box.w - r, y + r, r, 0, 90);
    fl_arc(x + r, y + r, r, 90, 180);
    fl_arc(x + r, y + box.h - r, r, 180, 270);
    fl_arc(x + box.w - r, y + box.h - r, r, 270, 360);
}

}

void FltkGraphicsContext::fillRoundedRect(appkit::Rect rect, float radius, appkit::Color color) {
    Box box = toWindow(rect);
    if (color.alpha <= 0 || box.w <= 0 || box.h <= 0)
        return;
    fl_color(flColor(color));
    fl_begin_polygon();
    roundedPath(box, radius);
    fl_end_polygon();
}

void FltkGraphicsContext::strokeRoundedRect(appkit::Rect rect, float radius, appkit::Color color, float lineWidth) {
    Box box = toWindow(rect);
    if (color.alpha <= 0 || box.w <= 0 || box.h <= 0)
        return;
    fl_color(flColor(color));
    fl_line_style(FL_SOLID, static_cast<int>(std::lround(lineWidth)));
    fl_begin_loop();
    roundedPath(box, radius);
    fl_end_loop();
    fl_line_style(0);
}

void FltkGraphicsContext::strokePolyline(const std::vector<appkit::Point>& points, appkit::Color color,
                                         float lineWidth) {
    if (color.alpha <= 0 || points.size() < 2)
        return;
    fl_color(flColor(color));
    fl_line_style(FL_SOLID | FL_CAP_ROUND | FL_JOIN_ROUND, static_cast<int>(std::lround(lineWidth)));
    fl_begin_line();
    for (const auto& point : points) {
        Box at = toWindow({point, {}});
        fl_vertex(at.x, at.y);
    }
    fl_end_line();
    fl_line_style(0);
}

void FltkGraphicsContext::setTextColor(appkit::Color color) {
    appkit::GraphicsContext::setTextColor(color);
    textColor_ = flColor(color);
}

}
