#pragma once

#include "Backend.h"
#include "RecordingGraphicsContext.h"

#include <cstddef>
#include <string_view>

namespace docshelf::appkit {

// Shows nothing: measures text with a fixed metric, records drawing, and runs no
// event loop, so that tests and tools drive the model themselves.
class HeadlessBackend : public Backend {
public:
    static constexpr float pointsPerCharacter = 7;
    static constexpr float textPadding = 4;

    explicit HeadlessBackend(Size screen = {1440, 900}) : screen_(screen) {}

    // 7 points per character (one Unicode code point) plus 4 points of padding;
    // height 0, so fields keep theirs.
    Size measureText(std::string_view text, const Font& font) override;
    Size screenSize() override { return screen_; }
    // Returns 0 at once.
    int runEventLoop(Application& application) override;
    void stopEventLoop() override { ++stopRequests_; }
    void viewNeedsDisplay(View&) override { ++displayRequests_; }
    void orderFrontAboutPanel(Application&) override { ++aboutPanels_; }

    // Draws the window into the recording; earlier calls are kept.
    void displayWindow(Window& window);
    const RecordingGraphicsContext& drawing() const { return drawing_; }
    void clearDrawing() { drawing_.clear(); }

    int eventLoopRuns() const { return eventLoopRuns_; }
    int stopRequests() const { return stopRequests_; }
    int displayRequests() const { return displayRequests_; }
    int aboutPanels() const { return aboutPanels_; }

    // Code points of UTF-8 text; a byte that starts no valid sequence counts as one.
    static std::size_t codePointCount(std::string_view text);

private:
    Size screen_;
    RecordingGraphicsContext drawing_;
    int eventLoopRuns_ = 0;
    int stopRequests_ = 0;
    int displayRequests_ = 0;
    int aboutPanels_ = 0;
};

}
