#pragma once

#include "Object.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace docshelf::appkit {

// Class names of window descriptions and how to make an object of each. The
// layer's own classes are there from the start: "NSObject", "NSView", "NSWindow",
// "NSTextField", "NSButton" and "NSPopUpButton". The application adds its own
// before it loads a description.
class ClassRegistry {
public:
    using Factory = std::function<std::shared_ptr<Object>()>;

    static ClassRegistry& shared();

    // Registering a name again replaces its factory.
    void registerClass(std::string name, Factory factory);
    bool isRegistered(std::string_view name) const;
    // Null for a name nobody registered.
    std::shared_ptr<Object> create(std::string_view name) const;

private:
    ClassRegistry();

    std::map<std::string, Factory, std::less<>> factories_;
};

}
