#include "View.h"

#include "Application.h"
#include "Backend.h"
#include "GraphicsContext.h"

#include <algorithm>

namespace docshelf::appkit {

View::View() {
    publishBinding("hidden", [this](const foundation::Value& value) { setHidden(value.boolValue()); });
    publishBoolProperty("hidden", [this](bool hidden) { setHidden(hidden); });
}

View::View(Rect frame) : View() {
    frame_ = frame;
}

std::shared_ptr<View> View::initWithFrame(Rect frame) {
    return std::make_shared<View>(frame);
}

void View::setFrame(Rect frame) {
    frame_ = frame;
    changed();
}

void View::setHidden(bool hidden) {
    hidden_ = hidden;
    changed();
}

void View::setNeedsDisplay() {
    ++displayRequests_;
    Application::shared().backend().viewNeedsDisplay(*this);
}

bool View::addSubview(const std::shared_ptr<View>& view) {
    auto self = std::dynamic_pointer_cast<View>(weak_from_this().lock());
    if (!view || !self || isSelfOrAncestor(view.get()))
        return false;
    view->removeFromSuperview();
    subviews_.push_back(view);
    view->superview_ = self;
    changed();
    return true;
}

void View::removeFromSuperview() {
    auto parent = superview_.lock();
    superview_.reset();
    if (!parent)
        return;
    std::erase_if(parent->subviews_, [this](const std::shared_ptr<View>& view) { return view.get() == this; });
    parent->changed();
}

std::shared_ptr<View> View::hitTest(Point point) {
    if (hidden_)
        return nullptr;
    bool inside = point.x >= frame_.origin.x && point.x < frame_.origin.x + frame_.size.width &&
                  point.y >= frame_.origin.y && point.y < frame_.origin.y + frame_.size.height;
    if (!inside)
        return nullptr;
    Point local{point.x - frame_.origin.x, point.y - frame_.origin.y};
    for (auto child = subviews_.rbegin(); child != subviews_.rend(); ++child)
        if (auto found = (*child)->hitTest(local))
            return found;
    return std::dynamic_pointer_cast<View>(shared_from_this());
}

Rect View::convertRectToWindow(Rect rect) const {
    rect.origin.x += frame_.origin.x;
    rect.origin.y += frame_.origin.y;
    for (auto parent = superview_.lock(); parent; parent = parent->superview_.lock()) {
        rect.origin.x += parent->frame_.origin.x;
        rect.origin.y += parent->frame_.origin.y;
    }
    return rect;
}

bool View::isHiddenOrHasHiddenAncestor() const {
    if (hidden_)
        return true;
    for (auto parent = superview_.lock(); parent; parent = parent->superview_.lock())
        if (parent->hidden_)
            return true;
    return false;
}

void View::drawRect(Rect) {}

void View::display(GraphicsContext& context, Point origin) {
    if (hidden_)
        return;
    Point here{origin.x + frame_.origin.x, origin.y + frame_.origin.y};
    Point savedTranslation = context.translation();
    context.setTranslation(here);
    GraphicsContext* previous = GraphicsContext::setCurrent(&context);
    drawRect(bounds());
    GraphicsContext::setCurrent(previous);
    context.setTranslation(savedTranslation);
    // Copied: a drawRect may rearrange the subviews.
    auto children = subviews_;
    for (const auto& child : children)
        child->display(context, here);
}

void View::changed() {
    Application::shared().backend().viewDidChange(*this);
}

bool View::isSelfOrAncestor(const View* view) const {
    if (view == this)
        return true;
    for (auto parent = superview_.lock(); parent; parent = parent->superview_.lock())
        if (parent.get() == view)
            return true;
    return false;
}

}
