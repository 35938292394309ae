#include "PopUpButton.h"

#include "GraphicsContext.h"

namespace docshelf::appkit {

PopUpButton::PopUpButton() = default;

PopUpButton::PopUpButton(Rect frame) : Control(frame) {}

std::shared_ptr<PopUpButton> PopUpButton::initWithFrame(Rect frame) {
    return std::make_shared<PopUpButton>(frame);
}

void PopUpButton::setMenu(std::shared_ptr<Menu> menu) {
    menu_ = menu ? std::move(menu) : Menu::init();
    selected_ = menu_->itemAtIndex(0);
    changed();
}

void PopUpButton::selectItemWithTitle(const foundation::Value& title) {
    selectItem(menu_->itemWithTitle(title));
}

void PopUpButton::selectItemAtIndex(long index) {
    selectItem(index < 0 ? nullptr : menu_->itemAtIndex(static_cast<std::size_t>(index)));
}

void PopUpButton::selectItem(const std::shared_ptr<MenuItem>& item) {
    selected_ = item && menu_->indexOfItem(item.get()) >= 0 ? item : nullptr;
    changed();
}

// The menu may have changed since; an item no longer in it is not selected.
std::shared_ptr<MenuItem> PopUpButton::selectedItem() const {
    return selected_ && menu_->indexOfItem(selected_.get()) >= 0 ? selected_ : nullptr;
}

long PopUpButton::indexOfSelectedItem() const {
    return selected_ ? menu_->indexOfItem(selected_.get()) : -1;
}

foundation::Value PopUpButton::titleOfSelectedItem() const {
    auto item = selectedItem();
    return item ? item->title() : foundation::Value();
}

bool PopUpButton::performClickOnItemWithTitle(const foundation::Value& title) {
    return choose(menu_->itemWithTitle(title));
}

bool PopUpButton::performClickOnItemAtIndex(std::size_t index) {
    return choose(menu_->itemAtIndex(index));
}

bool PopUpButton::choose(const std::shared_ptr<MenuItem>& item) {
    if (!item || isHidden() || !isEnabled())
        return false;
    selectItem(item);
    if (!item->action().empty())
        item->sendAction();
    else
        sendAction();
    return true;
}

void PopUpButton::drawRect(Rect) {
    auto* context = GraphicsContext::current();
    if (!context)
        return;
    Rect bezel = bezelRect(3);
    drawBezel(*context, bezel, isHighlighted() ? Color::pressedControlColor() : Color::whiteColor(), true);
    drawFocusRing(bezel, bezelRadius);

    float cap = bezel.size.height - 4;
    float capX = bezel.origin.x + bezel.size.width - cap - 2;
    float capY = bezel.origin.y + 2;
    context->fillRoundedRect({{capX, capY}, {cap, cap}}, 4,
                             isEnabled() ? Color::controlAccentColor() : Color::disabledControlTextColor());
    float cx = capX + cap / 2;
    float cy = capY + cap / 2;
    context->strokePolyline({{cx - 3, cy + 2}, {cx, cy + 5}, {cx + 3, cy + 2}}, Color::whiteColor(), 2);
    context->strokePolyline({{cx - 3, cy - 2}, {cx, cy - 5}, {cx + 3, cy - 2}}, Color::whiteColor(), 2);

    Color saved = context->textColor();
    context->setTextColor(isEnabled() ? Color::controlTextColor() : Color::disabledControlTextColor());
    Rect text{{bezel.origin.x + 9, bezel.origin.y}, {capX - bezel.origin.x - 13, bezel.size.height}};
    context->drawText(titleOfSelectedItem().text(), text, {labelFontSize, false}, TextAlignment::Left, false);
    context->setTextColor(saved);
}

}
