#pragma once

#include "NativeSink.h"

#import <AppKit/AppKit.h>

#include <memory>

@class DSModelView;

namespace docshelf::appkit {
class MenuTracker;
}

namespace docshelf::cocoa {

// An open list (a pop-up's items, or the application menu opened in the
// window), drawn in a borderless window from the model's menu tracker, which
// decides the rows shown, the highlight, scrolling and the keyboard: a list of
// any length opens at once on its selected item and scrolls, as a Mac's does.
// It translates only; the backend feeds the tracker the user's events.
class CocoaMenuList : public NativeSink {
public:
    // anchor: the pop-up's box on the screen (AppKit's coordinates, origin lower
    // left), or an empty rectangle at the point where a menu opens.
    CocoaMenuList(std::shared_ptr<appkit::MenuTracker> tracker, NSRect anchor);
    ~CocoaMenuList() override;
    CocoaMenuList(const CocoaMenuList&) = delete;
    CocoaMenuList& operator=(const CocoaMenuList&) = delete;

    const std::shared_ptr<appkit::MenuTracker>& tracker() const { return tracker_; }
    NSWindow* nativeWindow() const { return window_; }
    // The tracker's row under a point of the screen; -1 outside the list.
    long rowAt(NSPoint screenPoint) const;
    void redraw();

    void nativeAction(long, id) override {}
    void drawNativeView(long tag) override;

    static constexpr float fontSize = 13;

private:
    std::shared_ptr<appkit::MenuTracker> tracker_;
    NSWindow* window_ = nil;
    DSModelView* view_ = nil;
};

}
