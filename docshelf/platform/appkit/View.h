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

    // The frontmost view at the point, given in the superview's coordinates (in a
    // window's for its content view): the deepest visible subview holding it,
    // later subviews before earlier ones, else this view; null when the point
    // lies outside this view or it is hidden. A view hidden by an ancestor is
    // never found. Edges: the left and bottom ones belong to the view, the right
    // and top ones do not.
    std::shared_ptr<View> hitTest(Point point);
    // From this view's coordinates to those of the window it lies in (the content
    // view's), adding the origins of this view and its superviews:
    // a view at (168, 169) in a view at (0, 64): (0, 0, 300, 26) -> (168, 233, 300, 26).
    Rect convertRectToWindow(Rect rect) const;
    // True when this view or a superview is hidden.
    bool isHiddenOrHasHiddenAncestor() const;
    // Whether the view takes keyboard focus in its window's key view loop.
    virtual bool acceptsFirstResponder() const { return false; }

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
