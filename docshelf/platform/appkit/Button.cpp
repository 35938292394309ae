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
    if (title == title_)
        return;
    title_ = std::move(title);
    changed();
}

void Button::performClick() {
    if (isHidden() || !isEnabled())
        return;
    sendAction();
}

void Button::drawRect(Rect) {
    auto* context = GraphicsContext::current();
    if (!context)
        return;
    Rect bezel = bezelRect(6);
    bool isDefault = keyEquivalent_ == "\r" && isEnabled();
    Color face = isDefault ? (isHighlighted() ? Color::pressedAccentColor() : Color::controlAccentColor())
                           : (isHighlighted() ? Color::pressedControlColor() : Color::whiteColor());
    drawBezel(*context, bezel, face, !isDefault);
    drawFocusRing(bezel, bezelRadius);
    Color saved = context->textColor();
    context->setTextColor(!isEnabled() ? Color::disabledControlTextColor()
                          : isDefault  ? Color::whiteColor()
                                       : Color::controlTextColor());
    context->drawText(title_, bezel, {labelFontSize, false}, TextAlignment::Center, false);
    context->setTextColor(saved);
}

}
