#include "Button.h"

#include "GraphicsContext.h"

namespace docshelf::appkit {

Button::Button() {
    publishNames();
}

Button::Button(Rect frame) : Control(frame) {
    publishNames();
}

void Button::publishNames() {
    publishBinding("title", [this](const foundation::Value& value) { setTitle(std::string(value.text())); });
    publishStringProperty("title", [this](std::string title) { setTitle(std::move(title)); });
    publishStringProperty("keyEquivalent", [this](std::string key) { setKeyEquivalent(std::move(key)); });
}

std::shared_ptr<Button> Button::initWithFrame(Rect frame) {
    return std::make_shared<Button>(frame);
}

void Button::setTitle(std::string title) {
    title_ = std::move(title);
    changed();
}

void Button::performClick() {
    if (isHidden() || !isEnabled())
        return;
    sendAction();
}

void Button::drawRect(Rect) {
    if (auto* context = GraphicsContext::current())
        context->drawText(title_, bounds(), 13, false, TextAlignment::Center);
}

}
