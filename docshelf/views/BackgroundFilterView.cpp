#include "BackgroundFilterView.h"

namespace docshelf::views {

BackgroundFilterView::BackgroundFilterView(appkit::Rect frame) : appkit::View(frame) {
    setBgImage(nullptr);
}

std::shared_ptr<BackgroundFilterView> BackgroundFilterView::initWithFrame(appkit::Rect frame) {
    return std::make_shared<BackgroundFilterView>(frame);
}

void BackgroundFilterView::awakeFromNib() {
    setBgImage(appkit::Image::imageNamed("Background.png"));
}

void BackgroundFilterView::drawRect(appkit::Rect) {
    // One reference for both steps, so that the picture sized is the one drawn.
    auto image = bgImage();
    if (!image)
        return;
    image->setSize(frame().size);
    image->compositeToPoint(appkit::zeroPoint, appkit::CompositingOperation::SourceOver);
}

std::shared_ptr<appkit::Image> BackgroundFilterView::bgImage() const {
    return bgImage_.load();
}

void BackgroundFilterView::setBgImage(std::shared_ptr<appkit::Image> image) {
    // The new reference is in place before the old one goes, at the end of this
    // scope, so setting the picture the view already holds is safe.
    auto previous = bgImage_.exchange(std::move(image));
}

}
