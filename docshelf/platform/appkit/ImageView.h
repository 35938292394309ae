#pragma once

#include "Image.h"
#include "View.h"

#include <memory>

namespace docshelf::appkit {

// Shows a picture scaled to fill the view, as the icon of the About panel.
class ImageView : public View {
public:
    ImageView() = default;
    explicit ImageView(Rect frame) : View(frame) {}
    static std::shared_ptr<ImageView> initWithFrame(Rect frame);

    const std::shared_ptr<Image>& image() const { return image_; }
    void setImage(std::shared_ptr<Image> image);

    // Nothing without an image.
    void drawRect(Rect dirty) override;

private:
    std::shared_ptr<Image> image_;
};

}
