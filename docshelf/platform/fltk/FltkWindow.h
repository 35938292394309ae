#pragma once

#include "FltkGraphicsContext.h"

#include <FL/Fl_Double_Window.H>

#include <memory>

namespace docshelf::appkit {
class Window;
}

namespace docshelf::fltk {

// The on-screen form of one model window. It draws the model (every view through
// its own drawRect) and passes the user's mouse and keys to the model window,
// which decides what they do (see Window::keyDown and mouseDown); a menu that
// the model opens shows as a PopUpList until the user is done with it.
class FltkWindow : public Fl_Double_Window {
public:
    explicit FltkWindow(const std::shared_ptr<appkit::Window>& window);

    // Takes the model window's title, frame and visibility; iconified while the
    // application is hidden.
    void synchronize(float screenHeight, bool applicationHidden);
    std::shared_ptr<appkit::Window> model() const { return model_.lock(); }

    void draw() override;
    int handle(int event) override;

    // For the backend, around a pressed button's action.
    void showBusy(bool busy);

private:
    // The on-screen form of the application's key window, while it is shown.
    static FltkWindow* keyWindowShown();
    // Shows the menu the model opened, if any, and hands the model its outcome.
    void trackMenu();
    static void closeBox(Fl_Widget* widget, void*);

    std::weak_ptr<appkit::Window> model_;
    FltkGraphicsContext context_;
    bool iconified_ = false;
};

}
