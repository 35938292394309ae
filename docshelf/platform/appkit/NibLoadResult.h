#pragma once

#include "Object.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace docshelf::appkit {

class Menu;

// What loading a window description gave: the objects by id, or what was wrong
// and in which entry. A failed load leaves no objects behind.
class NibLoadResult {
public:
    static NibLoadResult failure(std::string entry, std::string message);

    bool ok() const { return message_.empty(); }
    // Where the fault is, e.g. bindings[2] or objects[4] "docButton"; may be a file path.
    const std::string& entry() const { return entry_; }
    const std::string& message() const { return message_; }
    // "entry: message"; empty when loading succeeded.
    std::string error() const;

    // Null for an unknown id.
    std::shared_ptr<Object> object(std::string_view id) const;
    template <class T>
    std::shared_ptr<T> objectAs(std::string_view id) const {
        return std::dynamic_pointer_cast<T>(object(id));
    }
    // In the order the description lists them.
    const std::vector<std::pair<std::string, std::shared_ptr<Object>>>& objects() const { return objects_; }
    const std::shared_ptr<Menu>& mainMenu() const { return mainMenu_; }

private:
    friend class NibLoader;

    std::string entry_;
    std::string message_;
    std::vector<std::pair<std::string, std::shared_ptr<Object>>> objects_;
    std::shared_ptr<Menu> mainMenu_;
};

}
