#pragma once

#include "CocoaMenuList.h"
#include "NativeSink.h"

#import <AppKit/AppKit.h>

#include <memory>
#include <ostream>
#include <vector>

@class DSActionTarget;

namespace docshelf::appkit {
class View;
class Window;
}

namespace docshelf::cocoa {

// The native form of one model window: an NSWindow whose views mirror the
// model's, with AppKit's own controls for its buttons, pop-ups and text fields
// and a custom view, painted by the model view, for everything else (the
// background picture). It translates only: what the model publishes is copied
// onto the native controls, and a native control worked by the user works the
// model's control, whose action the model then sends.
class CocoaWindow : public NativeSink {
public:
    explicit CocoaWindow(const std::shared_ptr<appkit::Window>& model);
    ~CocoaWindow() override;
    CocoaWindow(const CocoaWindow&) = delete;
    CocoaWindow& operator=(const CocoaWindow&) = delete;

    // Takes the model's title, frame, visibility and every control's state; the
    // views are made anew when the model's view tree changed.
    void synchronize();
    std::shared_ptr<appkit::Window> model() const { return model_.lock(); }
    NSWindow* nativeWindow() const { return window_; }

    // One line a control, in the model's drawing order: the native class, the
    // accessibility label, the native control's title and hidden flag, then the
    // model's, then the native frame and the model's, tab-separated. For the tests and for people checking
    // the translation.
    void describeControls(std::ostream& out) const;
    // While a list is open, one line in the same form: "DSMenuList", no label,
    // the highlighted item's title, "shown", the first item shown, "shown", and
    // the list's frame on the screen twice.
    void describeOpenList(std::ostream& out) const;

    // Works the model with an event of the user's, before AppKit sees it; false
    // when AppKit's own controls take it. While a list is open every key and
    // mouse event is the list's. A click on a pop-up opens the model's list, and
    // one on a button presses the model's button, which a release over it
    // completes; Space, Up and Down on a focused pop-up open its list; a panel
    // takes its keys from the model (Escape and Return close it).
    bool handleEvent(NSEvent* event);
    bool hasOpenList() const { return list_ != nullptr; }
    // While the pointer rests on a list's scroll arrow, scrolls it a row; false otherwise.
    bool autoscroll();

    void nativeAction(long tag, id sender) override;
    void drawNativeView(long tag) override;
    void nativeWindowShouldClose() override;

private:
    enum class Kind { PopUp, Button, TextField, Custom };
    struct Mirror {
        std::weak_ptr<appkit::View> model;
        NSView* native = nil;
        Kind kind = Kind::Custom;
        // What a screen reader says for it; kept here too, since GNUstep keeps none.
        std::string accessibilityLabel;
    };

    void rebuild(const appkit::Window& model);
    void addMirrors(const std::shared_ptr<appkit::View>& view, NSView* parent);
    void clearMirrors();
    void update(Mirror& mirror);
    // Nil for a view without a native form.
    NSView* nativeViewOf(const appkit::View* view) const;
    // The label text beside a pop-up, in its row and left of it; empty without one.
    std::string rowLabelOf(const appkit::View& popUp) const;
    std::vector<const appkit::View*> modelTree(const appkit::Window& model) const;
    bool handleListEvent(appkit::Window& model, NSEvent* event);
    void showList(const appkit::Window& model);

    std::weak_ptr<appkit::Window> model_;
    NSWindow* window_ = nil;
    DSActionTarget* target_ = nil;
    std::vector<Mirror> mirrors_;
    std::vector<const appkit::View*> tree_;
    std::unique_ptr<CocoaMenuList> list_;
    // When a release came that no press had begun; -1 when none did.
    double strayRelease_ = -1;
};

}
