#include "ImageView.h"

namespace docshelf::appkit {

std::shared_ptr<ImageView> ImageView::initWithFrame(Rect frame) {
    return std::make_shared<ImageView>(frame);
}

void ImageView::setImage(std::shared_ptr<Image> image) {
    if (image == image_)
        return;
    image_ = std::move(image);
    changed();
}

void ImageView::drawRect(Rect) {
    if (!image_)
        return;
    image_->setSize(bounds().size);
    image_->compositeToPoint(zeroPoint, CompositingOperation::SourceOver);
}

}
