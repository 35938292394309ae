#include "Window.h"

#include "Application.h"
#include "Backend.h"
#include "GraphicsContext.h"

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

void Window::changed() {
    Application::shared().backend().windowDidChange(*this);
}

}
