#include "RecordingGraphicsContext.h"

#include "Image.h"

namespace docshelf::appkit {

void RecordingGraphicsContext::drawImage(const Image& image, Point at, Size size, CompositingOperation operation) {
    DrawCall call;
    call.kind = DrawCall::Kind::Image;
    call.translation = translation();
    call.rect = {at, size};
    call.imagePath = image.path();
    call.operation = operation;
    calls_.push_back(std::move(call));
}

void RecordingGraphicsContext::fillRect(Rect rect, Color color) {
    DrawCall call;
    call.kind = DrawCall::Kind::Fill;
    call.translation = translation();
    call.rect = rect;
    call.color = color;
    calls_.push_back(std::move(call));
}

void RecordingGraphicsContext::drawText(std::string_view text, Rect box, float fontSize, bool bold,
                                        TextAlignment alignment) {
    DrawCall call;
    call.kind = DrawCall::Kind::Text;
    call.translation = translation();
    call.rect = box;
    call.text = std::string(text);
    call.fontSize = fontSize;
    call.bold = bold;
    call.alignment = alignment;
    call.color = textColor();
    calls_.push_back(std::move(call));
}

void RecordingGraphicsContext::fillRoundedRect(Rect rect, float radius, Color color) {
    DrawCall call;
    call.kind = DrawCall::Kind::RoundedFill;
    call.translation = translation();
    call.rect = rect;
    call.radius = radius;
    call.color = color;
    calls_.push_back(std::move(call));
}

void RecordingGraphicsContext::strokeRoundedRect(Rect rect, float radius, Color color, float lineWidth) {
    DrawCall call;
    call.kind = DrawCall::Kind::RoundedStroke;
    call.translation = translation();
    call.rect = rect;
    call.radius = radius;
    call.color = color;
    call.lineWidth = lineWidth;
    calls_.push_back(std::move(call));
}

void RecordingGraphicsContext::strokePolyline(const std::vector<Point>& points, Color color, float lineWidth) {
    DrawCall call;
    call.kind = DrawCall::Kind::Polyline;
    call.translation = translation();
    call.points = points;
    call.color = color;
    call.lineWidth = lineWidth;
    calls_.push_back(std::move(call));
}

}
