#include "RecordingGraphicsContext.h"

#include "Image.h"

namespace docshelf::appkit {

DrawCall& RecordingGraphicsContext::record(DrawCall::Kind kind) {
    DrawCall& call = calls_.emplace_back();
    call.kind = kind;
    call.translation = translation();
    return call;
}

void RecordingGraphicsContext::drawImage(const Image& image, Point at, Size size, CompositingOperation operation) {
    DrawCall& call = record(DrawCall::Kind::Image);
    call.rect = {at, size};
    call.imagePath = image.path();
    call.operation = operation;
}

void RecordingGraphicsContext::fillRect(Rect rect, Color color) {
    DrawCall& call = record(DrawCall::Kind::Fill);
    call.rect = rect;
    call.color = color;
}

void RecordingGraphicsContext::drawText(std::string_view text, Rect box, const Font& font, TextAlignment alignment,
                                        bool wraps) {
    DrawCall& call = record(DrawCall::Kind::Text);
    call.rect = box;
    call.text = std::string(text);
    call.font = font;
    call.alignment = alignment;
    call.wraps = wraps;
    call.color = textColor();
}

void RecordingGraphicsContext::fillRoundedRect(Rect rect, float radius, Color color) {
    DrawCall& call = record(DrawCall::Kind::RoundedFill);
    call.rect = rect;
    call.radius = radius;
    call.color = color;
}

void RecordingGraphicsContext::strokeRoundedRect(Rect rect, float radius, Color color, float lineWidth) {
    DrawCall& call = record(DrawCall::Kind::RoundedStroke);
    call.rect = rect;
    call.radius = radius;
    call.color = color;
    call.lineWidth = lineWidth;
}

void RecordingGraphicsContext::strokePolyline(const std::vector<Point>& points, Color color, float lineWidth) {
    DrawCall& call = record(DrawCall::Kind::Polyline);
    call.points = points;
    call.color = color;
    call.lineWidth = lineWidth;
}

}
