#pragma once

#include "MenuItem.h"
#include "Object.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace docshelf::appkit {

// An ordered list of menu items; the menu owns them.
class Menu : public Object {
public:
    Menu() = default;
    static std::shared_ptr<Menu> init();
    static std::shared_ptr<Menu> initWithTitle(std::string title);

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // An index past the end appends; a null item is ignored.
    void insertItem(std::shared_ptr<MenuItem> item, std::size_t index);
    void addItem(std::shared_ptr<MenuItem> item);
    void removeItemAtIndex(std::size_t index);
    void removeAllItems() { items_.clear(); }

    // The first item with exactly that title; null when none has it.
    std::shared_ptr<MenuItem> itemWithTitle(const foundation::Value& title) const;
    // -1 when none has it.
    long indexOfItemWithTitle(const foundation::Value& title) const;
    long indexOfItem(const MenuItem* item) const;
    // Null past the end.
    std::shared_ptr<MenuItem> itemAtIndex(std::size_t index) const;
    const std::vector<std::shared_ptr<MenuItem>>& items() const { return items_; }
    std::size_t numberOfItems() const { return items_.size(); }

private:
    std::string title_;
    std::vector<std::shared_ptr<MenuItem>> items_;
};

}
