#pragma once

#include "Object.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace docshelf::appkit {

// Class names of window descriptions and how to make an object of each, for the
// whole process. The layer's own classes are there from the start: "NSObject",
// "NSView", "NSWindow", "NSTextField", "NSButton" and "NSPopUpButton". The
// application adds its own before it loads a description.
class ClassRegistry {
public:
    using Factory = std::function<std::shared_ptr<Object>()>;

    // Registering a name again replaces its factory; a null factory is ignored.
    static void registerClass(std::string name, Factory factory);
    static bool isRegistered(std::string_view name);
    // Null for a name nobody registered.
    static std::shared_ptr<Object> create(std::string_view name);
};

}
