#pragma once

#include "DrawCall.h"
#include "GraphicsContext.h"

#include <vector>

namespace docshelf::appkit {

// Keeps every drawing operation instead of painting, for tests and tools.
class RecordingGraphicsContext : public GraphicsContext {
public:
    void drawImage(const Image& image, Point at, Size size, CompositingOperation operation) override;
    void fillRect(Rect rect, Color color) override;
    void drawText(std::string_view text, Rect box, const Font& font, TextAlignment alignment, bool wraps) override;
    void fillRoundedRect(Rect rect, float radius, Color color) override;
    void strokeRoundedRect(Rect rect, float radius, Color color, float lineWidth) override;
    void strokePolyline(const std::vector<Point>& points, Color color, float lineWidth) override;

    const std::vector<DrawCall>& calls() const { return calls_; }
    void clear() { calls_.clear(); }

private:
    // A new call of the kind at the current translation, for the caller to fill in.
    DrawCall& record(DrawCall::Kind kind);

    std::vector<DrawCall> calls_;
};

}
