#pragma once

#include "Control.h"
#include "Menu.h"

#include <cstddef>
#include <memory>

namespace docshelf::appkit {

// A button that shows one item of its menu and lets the user choose another.
// Nothing may be selected: then the titles read as absent and the index as -1.
class PopUpButton : public Control {
public:
    PopUpButton();
    explicit PopUpButton(Rect frame);
    static std::shared_ptr<PopUpButton> initWithFrame(Rect frame);

    // Installs the menu (null installs an empty one) in place of all items, and
    // selects its first item when it has one, nothing otherwise.
    void setMenu(std::shared_ptr<Menu> menu);
    const std::shared_ptr<Menu>& menu() const { return menu_; }
    std::size_t numberOfItems() const { return menu_->numberOfItems(); }
    std::shared_ptr<MenuItem> itemAtIndex(std::size_t index) const { return menu_->itemAtIndex(index); }

    // Selects the first item with exactly that title. As in AppKit, a title that
    // no item has (or an absent one) leaves nothing selected.
    void selectItemWithTitle(const foundation::Value& title);
    // -1, or an index past the end, leaves nothing selected.
    void selectItemAtIndex(long index);
    // An item of another menu, or null, leaves nothing selected.
    void selectItem(const std::shared_ptr<MenuItem>& item);

    std::shared_ptr<MenuItem> selectedItem() const;
    long indexOfSelectedItem() const;
    foundation::Value titleOfSelectedItem() const;
    // What the button shows: the selected item's title.
    foundation::Value title() const { return titleOfSelectedItem(); }

    // What the user's choice of an item does: selects it, then sends its action
    // to its target; an item without action sends the pop-up's own action, if
    // any. False when there is no such item or the pop-up is hidden or disabled,
    // which the user could not work: nothing changes then.
    bool performClickOnItemWithTitle(const foundation::Value& title);
    bool performClickOnItemAtIndex(std::size_t index);

    bool acceptsFirstResponder() const override { return true; }
    // A white bezel, the selected item's title at the left and the accent-blue
    // cap with the up and down chevrons at the right.
    void drawRect(Rect dirty) override;

private:
    bool choose(const std::shared_ptr<MenuItem>& item);

    std::shared_ptr<Menu> menu_ = Menu::init();
    std::shared_ptr<MenuItem> selected_;
};

}
