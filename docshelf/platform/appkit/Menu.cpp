#include "Menu.h"

#include <algorithm>

namespace docshelf::appkit {

std::shared_ptr<Menu> Menu::init() {
    return std::make_shared<Menu>();
}

std::shared_ptr<Menu> Menu::initWithTitle(std::string title) {
    auto menu = init();
    menu->title_ = std::move(title);
    return menu;
}

void Menu::insertItem(std::shared_ptr<MenuItem> item, std::size_t index) {
    if (!item)
        return;
    index = std::min(index, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
}

void Menu::addItem(std::shared_ptr<MenuItem> item) {
    insertItem(std::move(item), items_.size());
}

void Menu::removeItemAtIndex(std::size_t index) {
    if (index < items_.size())
        items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::shared_ptr<MenuItem> Menu::itemWithTitle(const foundation::Value& title) const {
    long index = indexOfItemWithTitle(title);
    return index < 0 ? nullptr : items_[static_cast<std::size_t>(index)];
}

long Menu::indexOfItemWithTitle(const foundation::Value& title) const {
    auto found =
        std::ranges::find_if(items_, [&title](const auto& item) { return item->title().isEqualToString(title); });
    return found == items_.end() ? -1 : static_cast<long>(found - items_.begin());
}

long Menu::indexOfItem(const MenuItem* item) const {
    auto found = std::ranges::find_if(items_, [item](const auto& candidate) { return candidate.get() == item; });
    return found == items_.end() ? -1 : static_cast<long>(found - items_.begin());
}

std::shared_ptr<MenuItem> Menu::itemAtIndex(std::size_t index) const {
    return index < items_.size() ? items_[index] : nullptr;
}

}
