#pragma once

#include "platform/appkit/Image.h"
#include "platform/appkit/View.h"

#include <atomic>
#include <memory>

namespace docshelf::views {

// Paints the window's background picture, "Background.png", stretched over the
// whole view at every draw. It answers no events.
class BackgroundFilterView : public appkit::View {
public:
    BackgroundFilterView() = default;
    // Starts without a picture.
    explicit BackgroundFilterView(appkit::Rect frame);
    static std::shared_ptr<BackgroundFilterView> initWithFrame(appkit::Rect frame);

    // Loads the application's "Background.png"; none when it has no such resource.
    void awakeFromNib() override;
    // Draws the whole picture at the view's frame size from the origin, blended
    // over what lies beneath; the dirty rectangle doesn't limit it.
    void drawRect(appkit::Rect dirty) override;

    // Safe from any thread: a reader keeps the picture it got even while another
    // replaces it.
    std::shared_ptr<appkit::Image> bgImage() const;
    void setBgImage(std::shared_ptr<appkit::Image> image);

private:
    std::atomic<std::shared_ptr<appkit::Image>> bgImage_;
};

}
