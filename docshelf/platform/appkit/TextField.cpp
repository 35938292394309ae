#include "TextField.h"

#include "Application.h"
#include "Backend.h"
#include "GraphicsContext.h"

namespace docshelf::appkit {

TextField::TextField() {
    publishNames();
}

TextField::TextField(Rect frame) : Control(frame) {
    publishNames();
}

void TextField::publishNames() {
    publishBinding("value", [this](const foundation::Value& value) { setStringValue(std::string(value.text())); });
    publishStringProperty("stringValue", [this](std::string value) { setStringValue(std::move(value)); });
    publishProperty("alignment", [this](const foundation::Value& value) {
        auto alignment = textAlignmentNamed(value.text());
        if (!alignment)
            return false;
        setAlignment(*alignment);
        return true;
    });
    publishNumberProperty("fontSize", [this](double size) { setFontSize(static_cast<float>(size)); });
    publishBoolProperty("bold", [this](bool bold) { setBold(bold); });
    publishBoolProperty("wraps", [this](bool wraps) { setWraps(wraps); });
    publishBoolProperty("editable", [this](bool editable) { setEditable(editable); });
    publishBoolProperty("selectable", [this](bool selectable) { setSelectable(selectable); });
    publishBoolProperty("bezeled", [this](bool bezeled) { setBezeled(bezeled); });
    publishBoolProperty("drawsBackground", [this](bool draws) { setDrawsBackground(draws); });
}

std::shared_ptr<TextField> TextField::initWithFrame(Rect frame) {
    return std::make_shared<TextField>(frame);
}

void TextField::setStringValue(std::string value) {
    stringValue_ = std::move(value);
    changed();
}

void TextField::sizeToFit() {
    Size fitting = Application::shared().backend().measureText(stringValue_, font_);
    Rect fitted = frame();
    fitted.size.width = fitting.width;
    // A field already a line high keeps its height, so that its text stays level
    // with its label; only a lower one grows to a line.
    if (fitting.height > fitted.size.height)
        fitted.size.height = fitting.height;
    setFrame(fitted);
}

void TextField::setAlignment(TextAlignment alignment) {
    alignment_ = alignment;
    changed();
}

void TextField::setFont(const Font& font) {
    if (font == font_)
        return;
    font_ = font;
    changed();
}

void TextField::setWraps(bool wraps) {
    if (wraps == wraps_)
        return;
    wraps_ = wraps;
    changed();
}

void TextField::setBezeled(bool bezeled) {
    bezeled_ = bezeled;
    changed();
}

void TextField::setDrawsBackground(bool draws) {
    drawsBackground_ = draws;
    changed();
}

void TextField::drawRect(Rect) {
    auto* context = GraphicsContext::current();
    if (!context)
        return;
    if (drawsBackground_ && bezeled_) {
        context->fillRect(bounds(), Color::controlBorderColor());
        Rect inner{{1, 1}, {bounds().size.width - 2, bounds().size.height - 2}};
        context->fillRect(inner, Color::whiteColor());
    } else if (drawsBackground_) {
        context->fillRect(bounds(), Color::whiteColor());
    }
    Color saved = context->textColor();
    context->setTextColor(isEnabled() ? Color::controlTextColor() : Color::disabledControlTextColor());
    context->drawText(stringValue_, bounds(), font_, alignment_, wraps_);
    context->setTextColor(saved);
}

}
