#pragma once

#include "Object.h"

#include <memory>
#include <string>

namespace docshelf::appkit {

class Menu;

// One entry of a menu: a title, an action sent by name to a target, a key
// equivalent, and possibly a submenu. The title may be absent, and then shows
// as empty and equals no title.
class MenuItem : public Object {
public:
    MenuItem() = default;
    // action may be empty: the item sends nothing.
    static std::shared_ptr<MenuItem> initWithTitle(const foundation::Value& title, std::string action,
                                                   std::string keyEquivalent);
    // The line between groups of items: titled "", no action, never chosen.
    static std::shared_ptr<MenuItem> separatorItem();
    bool isSeparatorItem() const { return separator_; }

    const foundation::Value& title() const { return title_; }
    void setTitle(const foundation::Value& title) { title_ = title; }
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }
    const std::string& keyEquivalent() const { return keyEquivalent_; }
    void setKeyEquivalent(std::string key) { keyEquivalent_ = std::move(key); }

    std::shared_ptr<Object> target() const { return target_.lock(); }
    // Held weakly, as AppKit does.
    void setTarget(const std::shared_ptr<Object>& target) { target_ = target; }

    const std::shared_ptr<Menu>& submenu() const { return submenu_; }
    void setSubmenu(std::shared_ptr<Menu> submenu) { submenu_ = std::move(submenu); }
    bool hasSubmenu() const { return submenu_ != nullptr; }

    // What choosing the item does: sends its action to its target with the item as
    // sender. False when it has no action or nobody handled it.
    bool sendAction();

private:
    foundation::Value title_;
    std::string action_;
    std::string keyEquivalent_;
    std::weak_ptr<Object> target_;
    std::shared_ptr<Menu> submenu_;
    bool separator_ = false;
};

}
