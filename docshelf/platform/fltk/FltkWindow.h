#pragma once

#include "FltkGraphicsContext.h"

#include <FL/Fl_Double_Window.H>

#include <memory>

namespace docshelf::appkit {
class Control;
class View;
class Window;
}

namespace docshelf::fltk {

// The on-screen form of one model window: draws the model's views and hands
// clicks, choices in pop-ups and the close box back to the model.
class FltkWindow : public Fl_Double_Window {
public:
    explicit FltkWindow(const std::shared_ptr<appkit::Window>& window);

    // Takes the model window's title, frame and visibility.
    void synchronize(float screenHeight);
    std::shared_ptr<appkit::Window> model() const { return model_.lock(); }

    void draw() override;
    int handle(int event) override;

private:
    void drawView(appkit::View& view, appkit::Point origin);
    // The frontmost visible, enabled control under the point, in FLTK coordinates.
    std::shared_ptr<appkit::Control> controlAt(int x, int y) const;
    void choose(const std::shared_ptr<appkit::Control>& control);
    // Return or Enter: the window's default button, when one is showing.
    bool pressDefaultButton();
    static void closeBox(Fl_Widget* widget, void*);

    std::weak_ptr<appkit::Window> model_;
    std::weak_ptr<appkit::Control> pressed_;
    FltkGraphicsContext context_;
};

}
