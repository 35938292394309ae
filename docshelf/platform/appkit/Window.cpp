#include "Window.h"

#include "Application.h"
#include "Backend.h"
#include "Button.h"
#include "Control.h"
#include "GraphicsContext.h"
#include "Menu.h"
#include "MenuTracker.h"
#include "PopUpButton.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace docshelf::appkit {

Window::Window() : contentView_(std::make_shared<View>()) {
    publishNames();
}

Window::Window(Rect contentRect)
    : frame_(contentRect), contentView_(std::make_shared<View>(Rect{zeroPoint, contentRect.size})) {
    publishNames();
}

void Window::publishNames() {
    publishBinding("title", [this](const foundation::Value& value) { setTitle(std::string(value.text())); });
    publishStringProperty("title", [this](std::string title) { setTitle(std::move(title)); });
    publishBoolProperty("showsResizeIndicator", [this](bool shows) { setShowsResizeIndicator(shows); });
    publishAction("performClose", [this](const std::shared_ptr<Object>& sender) { performClose(sender); });
}

std::shared_ptr<Window> Window::initWithContentRect(Rect contentRect) {
    return std::make_shared<Window>(contentRect);
}

void Window::setTitle(std::string title) {
    title_ = std::move(title);
    changed();
}

void Window::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    changed();
}

void Window::setShowsResizeIndicator(bool shows) {
    showsResizeIndicator_ = shows;
    changed();
}

void Window::setFrame(Rect frame) {
    frame_ = frame;
    contentView_->setFrame({zeroPoint, frame.size});
    changed();
}

void Window::center() {
    Size screen = Application::shared().backend().screenSize();
    float spareWidth = screen.width - frame_.size.width;
    float spareHeight = screen.height - frame_.size.height;
    setFrame({{std::floor(spareWidth / 2), std::floor(spareHeight * 2 / 3)}, frame_.size});
}

void Window::makeKeyAndOrderFront(const std::shared_ptr<Object>&) {
    visible_ = true;
    key_ = true;
    Application::shared().windowDidBecomeKey(*this);
    changed();
}

void Window::orderOut(const std::shared_ptr<Object>&) {
    visible_ = false;
    key_ = false;
    changed();
}

void Window::performClose(const std::shared_ptr<Object>&) {
    close();
}

void Window::close() {
    if (!visible_)
        return;
    visible_ = false;
    key_ = false;
    changed();
    Application::shared().windowDidClose(*this);
}

void Window::display(GraphicsContext& context) {
    GraphicsContext* previous = GraphicsContext::setCurrent(&context);
    context.setTranslation(zeroPoint);
    context.fillRect({zeroPoint, frame_.size}, backgroundColor_);
    GraphicsContext::setCurrent(previous);
    contentView_->display(context);
}

std::shared_ptr<View> Window::hitTest(Point point) const {
    return contentView_->hitTest(point);
}

namespace {

// Every view under the root, in drawing order.
template <class F>
void forEachView(const std::shared_ptr<View>& root, const F& visit) {
    visit(root);
    for (const auto& child : root->subviews())
        forEachView(child, visit);
}

bool canBeWorked(const Control& control) {
    return control.acceptsFirstResponder() && control.isEnabled() && !control.isHiddenOrHasHiddenAncestor();
}

}

std::vector<std::shared_ptr<Control>> Window::keyViewLoop() const {
    struct Placed {
        std::shared_ptr<Control> control;
        Rect inWindow;
    };
    std::vector<Placed> placed;
    forEachView(contentView_, [&placed](const std::shared_ptr<View>& view) {
        auto control = std::dynamic_pointer_cast<Control>(view);
        if (control && canBeWorked(*control))
            placed.push_back({control, control->convertRectToWindow(control->bounds())});
    });
    auto top = [](const Placed& p) { return p.inWindow.origin.y + p.inWindow.size.height; };
    std::stable_sort(placed.begin(), placed.end(),
                     [&top](const Placed& a, const Placed& b) { return top(a) > top(b); });

    std::vector<std::shared_ptr<Control>> loop;
    for (std::size_t rowStart = 0; rowStart < placed.size();) {
        const Rect& first = placed[rowStart].inWindow;
        std::size_t rowEnd = rowStart + 1;
        while (rowEnd < placed.size()) {
            const Rect& other = placed[rowEnd].inWindow;
            float middle = other.origin.y + other.size.height / 2;
            if (middle < first.origin.y || middle > first.origin.y + first.size.height)
                break;
            ++rowEnd;
        }
        std::stable_sort(placed.begin() + static_cast<std::ptrdiff_t>(rowStart),
                         placed.begin() + static_cast<std::ptrdiff_t>(rowEnd),
                         [](const Placed& a, const Placed& b) { return a.inWindow.origin.x < b.inWindow.origin.x; });
        for (std::size_t i = rowStart; i < rowEnd; ++i)
            loop.push_back(placed[i].control);
        rowStart = rowEnd;
    }
    return loop;
}

std::shared_ptr<Control> Window::firstResponder() const {
    auto control = firstResponder_.lock();
    if (!control)
        return nullptr;
    auto loop = keyViewLoop();
    return std::ranges::find(loop, control) == loop.end() ? nullptr : control;
}

bool Window::makeFirstResponder(const std::shared_ptr<Control>& control) {
    if (control) {
        auto loop = keyViewLoop();
        if (std::ranges::find(loop, control) == loop.end())
            return false;
    }
    auto previous = firstResponder_.lock();
    if (previous == control)
        return true;
    if (previous)
        previous->setShowsFocus(false);
    firstResponder_ = control;
    if (control)
        control->setShowsFocus(true);
    return true;
}

void Window::selectNextKeyView() {
    auto loop = keyViewLoop();
    if (loop.empty())
        return;
    auto current = std::ranges::find(loop, firstResponder());
    makeFirstResponder(current == loop.end() || current + 1 == loop.end() ? loop.front() : *(current + 1));
}

void Window::selectPreviousKeyView() {
    auto loop = keyViewLoop();
    if (loop.empty())
        return;
    auto current = std::ranges::find(loop, firstResponder());
    makeFirstResponder(current == loop.end() || current == loop.begin() ? loop.back() : *(current - 1));
}

std::shared_ptr<Button> Window::defaultButton() const {
    std::shared_ptr<Button> found;
    forEachView(contentView_, [&found](const std::shared_ptr<View>& view) {
        auto button = std::dynamic_pointer_cast<Button>(view);
        if (!found && button && button->keyEquivalent() == "\r" && canBeWorked(*button))
            found = button;
    });
    return found;
}

void Window::cancelOperation() {
    if (panel_)
        performClose(nullptr);
}

std::shared_ptr<Control> Window::controlAt(Point point) const {
    auto control = std::dynamic_pointer_cast<Control>(hitTest(point));
    return control && canBeWorked(*control) ? control : nullptr;
}

bool Window::keyDown(const KeyEvent& event) {
    if (tracker_) {
        tracker_->keyDown(event);
        if (tracker_->isFinished())
            endMenuTracking();
        return true;
    }
    if (event.command) {
        const std::string& key = event.characters;
        if (key.size() != 1 || !std::isalnum(static_cast<unsigned char>(key[0])))
            return false;
        return Application::shared().performKeyEquivalent(
            std::string(1, static_cast<char>(std::tolower(static_cast<unsigned char>(key[0])))));
    }
    auto focused = firstResponder();
    switch (event.key) {
    case Key::Tab:
        if (event.shift)
            selectPreviousKeyView();
        else
            selectNextKeyView();
        return true;
    case Key::Return:
        if (auto button = defaultButton()) {
            press(button);
            return true;
        }
        return false;
    case Key::Escape:
        cancelOperation();
        return true;
    case Key::Space:
    case Key::Up:
    case Key::Down:
        if (auto popUp = std::dynamic_pointer_cast<PopUpButton>(focused)) {
            openMenu(popUp);
            return true;
        }
        if (event.key == Key::Space && focused) {
            press(focused);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool Window::mouseDown(const MouseEvent& event) {
    if (tracker_)
        return true;
    auto control = controlAt(event.location);
    if (event.button == MouseButton::Right)
        return control ? true : openApplicationMenu(event.location);
    if (!control)
        return false;
    if (auto popUp = std::dynamic_pointer_cast<PopUpButton>(control)) {
        openMenu(popUp);
        return true;
    }
    pressed_ = control;
    control->setHighlighted(true);
    return true;
}

bool Window::mouseDragged(const MouseEvent& event) {
    auto pressed = pressed_.lock();
    if (!pressed)
        return false;
    pressed->setHighlighted(controlAt(event.location) == pressed);
    return true;
}

bool Window::mouseUp(const MouseEvent& event) {
    auto pressed = pressed_.lock();
    pressed_.reset();
    if (!pressed)
        return false;
    pressed->setHighlighted(false);
    if (controlAt(event.location) == pressed)
        press(pressed);
    return true;
}

void Window::press(const std::shared_ptr<Control>& control) {
    auto button = std::dynamic_pointer_cast<Button>(control);
    if (!button || !canBeWorked(*button))
        return;
    Backend& backend = Application::shared().backend();
    backend.actionWillRun(*this);
    button->performClick();
    backend.actionDidRun(*this);
}

void Window::openMenu(const std::shared_ptr<PopUpButton>& popUp) {
    if (popUp->numberOfItems() == 0)
        return;
    std::vector<MenuTracker::Entry> entries;
    entries.reserve(popUp->numberOfItems());
    for (const auto& item : popUp->menu()->items())
        entries.push_back({std::string(item->title().text()), "", item->isSeparatorItem()});
    tracker_ = std::make_shared<MenuTracker>(std::move(entries), popUp->indexOfSelectedItem());
    trackedPopUp_ = popUp;
    trackedMenu_ = popUp->menu();
    menuAnchor_ = popUp->convertRectToWindow(popUp->bounds());
    popUp->setHighlighted(true);
}

bool Window::openApplicationMenu(Point at) {
    auto menu = Application::shared().applicationMenu();
    if (!menu || menu->numberOfItems() == 0)
        return false;
    std::vector<MenuTracker::Entry> entries;
    for (const auto& item : menu->items())
        entries.push_back({std::string(item->title().text()), item->keyEquivalent(), item->isSeparatorItem()});
    tracker_ = std::make_shared<MenuTracker>(std::move(entries), -1);
    trackedPopUp_.reset();
    trackedMenu_ = menu;
    menuAnchor_ = {at, {}};
    return true;
}

void Window::endMenuTracking() {
    if (!tracker_)
        return;
    long chosen = tracker_->isFinished() ? tracker_->chosenItem() : -1;
    tracker_.reset();
    auto popUp = trackedPopUp_.lock();
    auto menu = std::move(trackedMenu_);
    trackedPopUp_.reset();
    if (popUp)
        popUp->setHighlighted(false);
    if (chosen < 0)
        return;
    auto index = static_cast<std::size_t>(chosen);
    // The pop-up's menu may have been replaced while its list was open: then
    // the choice was of items that are gone.
    if (popUp && popUp->menu() == menu)
        popUp->performClickOnItemAtIndex(index);
    else if (auto item = !popUp && menu ? menu->itemAtIndex(index) : nullptr)
        item->sendAction();
}

void Window::changed() {
    Application::shared().backend().windowDidChange(*this);
}

}
