#include "FltkWindow.h"

#include "DecodedPictures.h"
#include "PopUpList.h"

#include "platform/appkit/AboutPanel.h"
#include "platform/appkit/Application.h"
#include "platform/appkit/Button.h"
#include "platform/appkit/Menu.h"
#include "platform/appkit/MenuItem.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/Window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cctype>
#include <cmath>
#include <string>
#include <vector>

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

// How a key equivalent reads in a menu here: "q" -> "Ctrl+Q".
std::string keyEquivalentLabel(const std::string& key) {
    if (key.size() != 1 || !std::isalnum(static_cast<unsigned char>(key[0])))
        return "";
#ifdef __APPLE__
    return std::string("\xE2\x8C\x98") + char(std::toupper(static_cast<unsigned char>(key[0])));
#else
    return std::string("Ctrl+") + char(std::toupper(static_cast<unsigned char>(key[0])));
#endif
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

std::shared_ptr<appkit::Control> FltkWindow::controlAt(int x, int y) const {
    auto window = model();
    if (!window)
        return nullptr;
    auto hit = window->hitTest({static_cast<float>(x) + 0.5f, static_cast<float>(h() - y) - 0.5f});
    auto control = std::dynamic_pointer_cast<appkit::Control>(hit);
    if (!control || !control->acceptsFirstResponder() || !control->isEnabled())
        return nullptr;
    return control;
}

int FltkWindow::handle(int event) {
    switch (event) {
    case FL_FOCUS:
        // The window with the keyboard is the model's key window, which receives
        // key equivalents without a target (Ctrl+W closes this one).
        if (auto window = model(); window && window->isVisible() && !window->isKeyWindow())
            window->makeKeyAndOrderFront(nullptr);
        return 1;
    case FL_UNFOCUS:
        return 1;
    case FL_PUSH: {
        auto control = controlAt(Fl::event_x(), Fl::event_y());
        if (Fl::event_button() == FL_RIGHT_MOUSE) {
            if (control)
                return 1;
            showApplicationMenu();
            return 1;
        }
        if (!control)
            return Fl_Double_Window::handle(event);
        if (auto popUp = std::dynamic_pointer_cast<appkit::PopUpButton>(control)) {
            choose(popUp);
            return 1;
        }
        pressed_ = control;
        control->setHighlighted(true);
        redraw();
        return 1;
    }
    case FL_DRAG:
        if (auto pressed = pressed_.lock()) {
            pressed->setHighlighted(controlAt(Fl::event_x(), Fl::event_y()) == pressed);
            redraw();
            return 1;
        }
        return Fl_Double_Window::handle(event);
    case FL_RELEASE: {
        auto pressed = pressed_.lock();
        pressed_.reset();
        if (!pressed)
            return Fl_Double_Window::handle(event);
        pressed->setHighlighted(false);
        redraw();
        if (controlAt(Fl::event_x(), Fl::event_y()) == pressed)
            press(pressed);
        return 1;
    }
    case FL_KEYBOARD:
    case FL_SHORTCUT:
        return handleKey() ? 1 : Fl_Double_Window::handle(event);
    default:
        return Fl_Double_Window::handle(event);
    }
}

int FltkWindow::handleKey() {
    auto window = model();
    if (!window)
        return 0;
    int key = Fl::event_key();
    if (Fl::event_state() & (FL_CTRL | FL_META)) {
        if (key >= 0 && key < 0x80 && std::isalnum(key))
            return appkit::Application::shared().performKeyEquivalent(std::string(1, char(std::tolower(key))));
        return 0;
    }
    auto focused = window->firstResponder();
    switch (key) {
    case FL_Tab:
        if (Fl::event_state() & FL_SHIFT)
            window->selectPreviousKeyView();
        else
            window->selectNextKeyView();
        redraw();
        return 1;
    case FL_Enter:
    case FL_KP_Enter:
        if (auto button = window->defaultButton()) {
            press(button);
            return 1;
        }
        return 0;
    case FL_Escape:
        window->cancelOperation();
        return 1;
    case ' ':
    case FL_Up:
    case FL_Down:
        if (auto popUp = std::dynamic_pointer_cast<appkit::PopUpButton>(focused)) {
            choose(popUp);
            return 1;
        }
        if (key == ' ' && focused) {
            press(focused);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

void FltkWindow::press(const std::shared_ptr<appkit::Control>& control) {
    auto button = std::dynamic_pointer_cast<appkit::Button>(control);
    if (!button)
        return;
    cursor(FL_CURSOR_WAIT);
    Fl::flush();
    button->performClick();
    cursor(FL_CURSOR_DEFAULT);
}

void FltkWindow::choose(const std::shared_ptr<appkit::PopUpButton>& popUp) {
    std::vector<PopUpList::Entry> entries;
    for (std::size_t i = 0; i < popUp->numberOfItems(); ++i)
        entries.push_back({std::string(popUp->itemAtIndex(i)->title().text()), ""});
    if (entries.empty())
        return;
    popUp->setHighlighted(true);
    redraw();
    Fl::flush();
    FltkGraphicsContext geometry;
    geometry.setWindowHeight(h());
    auto box = geometry.toWindow(popUp->convertRectToWindow(popUp->bounds()));
    box.x += x();
    box.y += y();
    int picked = PopUpList::choose(entries, static_cast<int>(popUp->indexOfSelectedItem()), box);
    popUp->setHighlighted(false);
    redraw();
    if (picked >= 0)
        popUp->performClickOnItemAtIndex(static_cast<std::size_t>(picked));
}

void FltkWindow::showApplicationMenu() {
    auto mainMenu = appkit::Application::shared().mainMenu();
    auto applicationItem = mainMenu ? mainMenu->itemAtIndex(0) : nullptr;
    auto menu = applicationItem ? applicationItem->submenu() : nullptr;
    if (!menu || menu->numberOfItems() == 0)
        return;
    std::vector<PopUpList::Entry> entries;
    for (const auto& item : menu->items())
        entries.push_back({std::string(item->title().text()), keyEquivalentLabel(item->keyEquivalent())});
    FltkGraphicsContext::Box at{Fl::event_x_root(), Fl::event_y_root(), 0, 0};
    int picked = PopUpList::choose(entries, -1, at);
    // The menu's items may have changed while it was open.
    if (auto item = picked >= 0 ? menu->itemAtIndex(static_cast<std::size_t>(picked)) : nullptr)
        item->sendAction();
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
