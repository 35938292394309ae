#include "FltkWindow.h"

#include "ControlPainter.h"

#include "platform/appkit/Button.h"
#include "platform/appkit/MenuItem.h"
#include "platform/appkit/PopUpButton.h"
#include "platform/appkit/TextField.h"
#include "platform/appkit/Window.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/fl_draw.H>

#include <cmath>
#include <string>
#include <vector>

namespace docshelf::fltk {

namespace {

int rounded(float value) {
    return static_cast<int>(std::lround(value));
}

bool covers(FltkGraphicsContext::Box box, int x, int y) {
    return x >= box.x && x < box.x + box.w && y >= box.y && y < box.y + box.h;
}

// FLTK reads "&" in a menu label as the mark of a shortcut letter; "&&" is a plain one.
std::string menuLabel(std::string_view title) {
    std::string label;
    for (char c : title) {
        label += c;
        if (c == '&')
            label += '&';
    }
    return label;
}

}

FltkWindow::FltkWindow(const std::shared_ptr<appkit::Window>& window)
    : Fl_Double_Window(rounded(window->frame().size.width), rounded(window->frame().size.height)),
      model_(window) {
    end();
    color(FL_WHITE);
    callback(closeBox);
}

void FltkWindow::synchronize(float screenHeight) {
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
    if (window->isVisible() && !shown())
        show();
    else if (!window->isVisible() && shown())
        hide();
    redraw();
}

void FltkWindow::draw() {
    fl_color(FL_WHITE);
    fl_rectf(0, 0, w(), h());
    auto window = model();
    if (!window)
        return;
    context_.setWindowHeight(h());
    context_.setTranslation(appkit::zeroPoint);
    context_.fillRect({appkit::zeroPoint, window->frame().size}, window->backgroundColor());
    drawView(*window->contentView(), appkit::zeroPoint);
}

void FltkWindow::drawView(appkit::View& view, appkit::Point origin) {
    if (view.isHidden())
        return;
    appkit::Point here{origin.x + view.frame().origin.x, origin.y + view.frame().origin.y};
    context_.setTranslation(here);
    ControlPainter painter(context_);
    bool pressed = pressed_.lock().get() == &view;
    if (auto* button = dynamic_cast<appkit::Button*>(&view)) {
        painter.drawButton(*button, pressed);
    } else if (auto* popUp = dynamic_cast<appkit::PopUpButton*>(&view)) {
        painter.drawPopUpButton(*popUp, pressed);
    } else if (auto* field = dynamic_cast<appkit::TextField*>(&view)) {
        painter.drawTextField(*field);
    } else {
        auto* previous = appkit::GraphicsContext::setCurrent(&context_);
        view.drawRect(view.bounds());
        appkit::GraphicsContext::setCurrent(previous);
    }
    // Copied: a drawRect may rearrange the subviews.
    auto children = view.subviews();
    for (const auto& child : children)
        drawView(*child, here);
}

std::shared_ptr<appkit::Control> FltkWindow::controlAt(int x, int y) const {
    auto window = model();
    if (!window)
        return nullptr;
    std::shared_ptr<appkit::Control> found;
    FltkGraphicsContext geometry;
    geometry.setWindowHeight(h());
    // Depth first in drawing order: the last hit is the frontmost.
    auto visit = [&](auto& self, const std::shared_ptr<appkit::View>& view, appkit::Point origin) -> void {
        if (view->isHidden())
            return;
        appkit::Point here{origin.x + view->frame().origin.x, origin.y + view->frame().origin.y};
        geometry.setTranslation(here);
        auto control = std::dynamic_pointer_cast<appkit::Control>(view);
        bool clickable = std::dynamic_pointer_cast<appkit::Button>(view) ||
                         std::dynamic_pointer_cast<appkit::PopUpButton>(view);
        if (control && clickable && control->isEnabled() && covers(geometry.toWindow(view->bounds()), x, y))
            found = control;
        for (const auto& child : view->subviews())
            self(self, child, here);
    };
    visit(visit, window->contentView(), appkit::zeroPoint);
    return found;
}

int FltkWindow::handle(int event) {
    switch (event) {
    case FL_PUSH: {
        auto control = controlAt(Fl::event_x(), Fl::event_y());
        if (!control)
            return Fl_Double_Window::handle(event);
        if (auto popUp = std::dynamic_pointer_cast<appkit::PopUpButton>(control)) {
            choose(popUp);
            return 1;
        }
        pressed_ = control;
        redraw();
        return 1;
    }
    case FL_DRAG:
        return pressed_.lock() ? 1 : Fl_Double_Window::handle(event);
    case FL_RELEASE: {
        auto pressed = pressed_.lock();
        pressed_.reset();
        redraw();
        if (!pressed)
            return Fl_Double_Window::handle(event);
        if (controlAt(Fl::event_x(), Fl::event_y()) == pressed)
            if (auto button = std::dynamic_pointer_cast<appkit::Button>(pressed))
                button->performClick();
        return 1;
    }
    case FL_KEYBOARD:
        if ((Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter) && pressDefaultButton())
            return 1;
        return Fl_Double_Window::handle(event);
    default:
        return Fl_Double_Window::handle(event);
    }
}

bool FltkWindow::pressDefaultButton() {
    auto window = model();
    if (!window)
        return false;
    auto find = [](auto& self, const std::shared_ptr<appkit::View>& view) -> std::shared_ptr<appkit::Button> {
        if (view->isHidden())
            return nullptr;
        auto button = std::dynamic_pointer_cast<appkit::Button>(view);
        if (button && button->isEnabled() && button->keyEquivalent() == "\r")
            return button;
        for (const auto& child : view->subviews())
            if (auto found = self(self, child))
                return found;
        return nullptr;
    };
    auto button = find(find, window->contentView());
    if (!button)
        return false;
    button->performClick();
    return true;
}

void FltkWindow::choose(const std::shared_ptr<appkit::Control>& control) {
    auto popUp = std::dynamic_pointer_cast<appkit::PopUpButton>(control);
    std::vector<std::string> titles;
    for (std::size_t i = 0; i < popUp->numberOfItems(); ++i)
        titles.push_back(menuLabel(popUp->itemAtIndex(i)->title().text()));
    if (titles.empty())
        return;
    std::vector<Fl_Menu_Item> items(titles.size() + 1);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        items[i].text = titles[i].c_str();
        items[i].labelfont(FL_HELVETICA);
        items[i].labelsize(13);
    }
    long selected = popUp->indexOfSelectedItem();
    pressed_ = control;
    redraw();
    FltkGraphicsContext geometry;
    geometry.setWindowHeight(h());
    appkit::Point origin = popUp->frame().origin;
    for (auto parent = popUp->superview(); parent; parent = parent->superview())
        origin = {origin.x + parent->frame().origin.x, origin.y + parent->frame().origin.y};
    geometry.setTranslation(origin);
    auto box = geometry.toWindow(popUp->bounds());
    const Fl_Menu_Item* initial = selected >= 0 ? &items[static_cast<std::size_t>(selected)] : nullptr;
    const Fl_Menu_Item* picked = items[0].pulldown(box.x, box.y, box.w, box.h, initial, nullptr, nullptr, 1);
    pressed_.reset();
    redraw();
    if (picked)
        popUp->performClickOnItemAtIndex(static_cast<std::size_t>(picked - items.data()));
}

void FltkWindow::closeBox(Fl_Widget* widget, void*) {
    // The model decides whether the window goes; the next synchronize hides it.
    if (auto window = static_cast<FltkWindow*>(widget)->model())
        window->performClose();
}

}
