#pragma once

#include "Geometry.h"
#include "Object.h"

#include <memory>
#include <vector>

namespace docshelf::appkit {

class GraphicsContext;

// A rectangle of a window that can draw and hold subviews. Subviews are drawn
// after their superview, in the order they were added.
class View : public Object {
public:
    View();
    explicit View(Rect frame);
    static std::shared_ptr<View> initWithFrame(Rect frame);

    // In the superview's coordinates.
    Rect frame() const { return frame_; }
    void setFrame(Rect frame);
    // The view's own coordinates: its size at the origin.
    Rect bounds() const { return {zeroPoint, frame_.size}; }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);

    void setNeedsDisplay();
    // How often setNeedsDisplay was called.
    int displayRequests() const { return displayRequests_; }

    // False when the view is null, is this view or one of its superviews, or this
    // view is not owned by a shared_ptr. A view that had a superview leaves it.
    bool addSubview(const std::shared_ptr<View>& view);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    std::shared_ptr<View> superview() const { return superview_.lock(); }

    // Draws the view's contents; dirty is the part that needs it.
    virtual void drawRect(Rect dirty);
    // Draws this view, then its subviews, into the context, skipping hidden ones.
    // origin is where the superview's origin lies in the window.
    void display(GraphicsContext& context, Point origin = zeroPoint);

protected:
    // Tells the backend to show the change; for setters of subclasses.
    void changed();

private:
    bool isSelfOrAncestor(const View* view) const;

    Rect frame_;
    bool hidden_ = false;
    int displayRequests_ = 0;
    std::vector<std::shared_ptr<View>> subviews_;
    std::weak_ptr<View> superview_;
};

}
