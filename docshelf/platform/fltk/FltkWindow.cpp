#include "FltkWindow.h"

#include "DecodedPictures.h"
#include "FltkInput.h"
#include "PopUpList.h"

#include "platform/appkit/AboutPanel.h"
#include "platform/appkit/Application.h"
#include "platform/appkit/MenuTracker.h"
#include "platform/appkit/Window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cmath>

namespace docshelf::fltk {

namespace {

int rounded(float value) {
    return static_cast<int>(std::lround(value));
}

// The application's icon from its bundle, loaded once; null without one.
const Fl_RGB_Image* applicationIcon() {
    // Read through the bounded reader and kept, so that its decoded pixels stay too.
    static std::shared_ptr<appkit::Image> icon = appkit::AboutPanel::contentsOf(foundation::Bundle::mainBundle()).icon;
    return icon ? DecodedPictures::original(*icon) : nullptr;
}

}

FltkWindow::FltkWindow(const std::shared_ptr<appkit::Window>& window)
    : Fl_Double_Window(rounded(window->frame().size.width), rounded(window->frame().size.height)), model_(window) {
    end();
    color(FL_WHITE);
    callback(closeBox);
    xclass(appkit::Application::name().c_str());
    if (const Fl_RGB_Image* image = applicationIcon())
        icon(image);
}

void FltkWindow::synchronize(float screenHeight, bool applicationHidden) {
    auto window = model();
    if (!window) {
        hide();
        return;
    }
    if (!label() || window->title() != label())
        copy_label(window->title().c_str());
    appkit::Rect frame = window->frame();
    int w = rounded(frame.size.width);
    int h = rounded(frame.size.height);
    int x = rounded(frame.origin.x);
    int y = rounded(screenHeight - frame.origin.y - frame.size.height);
    if (w != this->w() || h != this->h() || (!shown() && (x != this->x() || y != this->y())))
        resize(x, y, w, h);
    size_range(w, h, w, h);
    if (window->isVisible() && !shown()) {
        // Where the model put it (the main window centred, the About panel a
        // little above the middle of the screen); a window manager keeps that.
        force_position(1);
        show();
    } else if (!window->isVisible() && shown()) {
        hide();
        iconified_ = false;
    }
    if (shown() && applicationHidden && !iconified_) {
        iconize();
        iconified_ = true;
    } else if (shown() && !applicationHidden && iconified_) {
        show();
        iconified_ = false;
    }
    redraw();
}

void FltkWindow::draw() {
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w(), h());
    auto window = model();
    if (!window)
        return;
    context_.setWindowHeight(h());
    window->display(context_);
}

int FltkWindow::handle(int event) {
    auto window = model();
    if (!window)
        return Fl_Double_Window::handle(event);
    bool used = false;
    switch (event) {
    case FL_FOCUS:
        // The window with the keyboard is the model's key window, which receives
        // key equivalents without a target (Ctrl+W closes this one).
        if (window->isVisible() && !window->isKeyWindow())
            window->makeKeyAndOrderFront(nullptr);
        return 1;
    case FL_UNFOCUS:
        return 1;
    case FL_PUSH:
        used = window->mouseDown(currentMouseEvent(h()));
        break;
    case FL_DRAG:
        used = window->mouseDragged(currentMouseEvent(h()));
        break;
    case FL_RELEASE:
        used = window->mouseUp(currentMouseEvent(h()));
        break;
    case FL_KEYBOARD:
    case FL_SHORTCUT:
        // A key is the key window's wherever X delivered it: without a window
        // manager X gives it to the window under the pointer, which need not be
        // the panel in front (Return would press a button behind the About panel).
        if (FltkWindow* key = keyWindowShown(); key && key != this)
            return key->handle(event);
        used = window->keyDown(currentKeyEvent());
        break;
    default:
        return Fl_Double_Window::handle(event);
    }
    trackMenu();
    redraw();
    return used ? 1 : Fl_Double_Window::handle(event);
}

FltkWindow* FltkWindow::keyWindowShown() {
    auto key = appkit::Application::shared().keyWindow();
    if (!key || !key->isVisible())
        return nullptr;
    for (Fl_Window* shown = Fl::first_window(); shown; shown = Fl::next_window(shown))
        if (auto* ours = dynamic_cast<FltkWindow*>(shown); ours && ours->model() == key)
            return ours;
    return nullptr;
}

void FltkWindow::showBusy(bool busy) {
    cursor(busy ? FL_CURSOR_WAIT : FL_CURSOR_DEFAULT);
    if (busy)
        Fl::flush();
}

void FltkWindow::trackMenu() {
    auto window = model();
    auto tracker = window ? window->menuTracker() : nullptr;
    if (!tracker)
        return;
    // The pop-up shows pressed while its list is open.
    redraw();
    Fl::flush();
    FltkGraphicsContext geometry;
    geometry.setWindowHeight(h());
    auto anchor = geometry.toWindow(window->menuAnchor());
    anchor.x += x();
    anchor.y += y();
    PopUpList::track(*tracker, anchor);
    window->endMenuTracking();
}

void FltkWindow::closeBox(Fl_Widget* widget, void*) {
    // FLTK also calls this for Escape; a Mac window does not close on Escape.
    if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape)
        return;
    // The model decides whether the window goes; the next synchronize hides it.
    if (auto window = static_cast<FltkWindow*>(widget)->model())
        window->performClose();
}

}
