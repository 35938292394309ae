#include "MenuItem.h"

#include "Application.h"
#include "Menu.h"

namespace docshelf::appkit {

std::shared_ptr<MenuItem> MenuItem::initWithTitle(const foundation::Value& title, std::string action,
                                                  std::string keyEquivalent) {
    auto item = std::make_shared<MenuItem>();
    item->title_ = title;
    item->action_ = std::move(action);
    item->keyEquivalent_ = std::move(keyEquivalent);
    return item;
}

std::shared_ptr<MenuItem> MenuItem::separatorItem() {
    auto item = std::make_shared<MenuItem>();
    // Titled with the empty string, as AppKit's separator item is.
    item->title_ = foundation::Value("");
    item->separator_ = true;
    return item;
}

bool MenuItem::sendAction() {
    return Application::shared().sendAction(action_, target(), weak_from_this().lock());
}

}
