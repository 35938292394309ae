#pragma once

#include "FltkGraphicsContext.h"

#include <FL/Fl_Double_Window.H>

#include <memory>

namespace docshelf::appkit {
class Control;
class PopUpButton;
class Window;
}

namespace docshelf::fltk {

// The on-screen form of one model window. It draws the model (every view through
// its own drawRect) and turns the user's mouse and keys into the model's terms:
// which control is hit, which has focus and which button is the default are
// the model's answers.
//
// The mouse: a click works a button or opens a pop-up's list; a right click
// elsewhere opens the application menu. The keys: Tab and Shift-Tab move focus,
// Space works the focused control (Up and Down open a focused pop-up too),
// Return presses the default button, Escape is the window's cancel (a panel
// closes, the main window stays), and Ctrl (or Cmd) with a letter is a key
// equivalent of the main menu: Ctrl+Q quits, Ctrl+W closes the window.
class FltkWindow : public Fl_Double_Window {
public:
    explicit FltkWindow(const std::shared_ptr<appkit::Window>& window);

    // Takes the model window's title, frame and visibility; iconified while the
    // application is hidden.
    void synchronize(float screenHeight, bool applicationHidden);
    std::shared_ptr<appkit::Window> model() const { return model_.lock(); }

    void draw() override;
    int handle(int event) override;

private:
    // The enabled button or pop-up under the point (FLTK coordinates), or null.
    std::shared_ptr<appkit::Control> controlAt(int x, int y) const;
    // Opens the pop-up's list over it and sends the choice.
    void choose(const std::shared_ptr<appkit::PopUpButton>& popUp);
    // The application menu at the pointer; sends the chosen item's action.
    void showApplicationMenu();
    // Works a button with the busy pointer showing, since its action may wait
    // for a command.
    void press(const std::shared_ptr<appkit::Control>& control);
    int handleKey();
    static void closeBox(Fl_Widget* widget, void*);

    std::weak_ptr<appkit::Window> model_;
    std::weak_ptr<appkit::Control> pressed_;
    FltkGraphicsContext context_;
    bool iconified_ = false;
};

}
