#pragma once

#include "platform/appkit/GraphicsContext.h"

namespace docshelf::cocoa {

// Draws a model view's drawRect into the NSView that has the focus, in that
// view's own coordinates (origin lower left, as the model's).
class CocoaGraphicsContext : public appkit::GraphicsContext {
public:
    void drawImage(const appkit::Image& image, appkit::Point at, appkit::Size size,
                   appkit::CompositingOperation operation) override;
    void fillRect(appkit::Rect rect, appkit::Color color) override;
    void drawText(std::string_view text, appkit::Rect box, const appkit::Font& font, appkit::TextAlignment alignment,
                  bool wraps) override;
    void fillRoundedRect(appkit::Rect rect, float radius, appkit::Color color) override;
    void strokeRoundedRect(appkit::Rect rect, float radius, appkit::Color color, float lineWidth) override;
    void strokePolyline(const std::vector<appkit::Point>& points, appkit::Color color, float lineWidth) override;
};

}
