#pragma once

#import <AppKit/AppKit.h>

namespace docshelf::cocoa {

// What the native objects of this folder report to the C++ object that made
// them. A tag names the control, menu item or view among that object's own.
class NativeSink {
public:
    virtual ~NativeSink() = default;

    // A control or menu item was worked; sender is the native object.
    virtual void nativeAction(long tag, id sender) = 0;
    // A custom view draws: the model view of that tag paints into the current focus.
    virtual void drawNativeView(long tag) { (void)tag; }
    // The close box of the window was clicked.
    virtual void nativeWindowShouldClose() {}
};

}
