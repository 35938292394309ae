#include "ClassRegistry.h"

#include "Button.h"
#include "PopUpButton.h"
#include "TextField.h"
#include "View.h"
#include "Window.h"

#include <map>
#include <mutex>

namespace docshelf::appkit {

namespace {

template <class T>
ClassRegistry::Factory factoryOf() {
    return [] { return std::make_shared<T>(); };
}

struct Factories {
    std::mutex mutex;
    std::map<std::string, ClassRegistry::Factory, std::less<>> byName{
        {"NSObject", factoryOf<Object>()}, {"NSView", factoryOf<View>()},
        {"NSWindow", factoryOf<Window>()}, {"NSTextField", factoryOf<TextField>()},
        {"NSButton", factoryOf<Button>()}, {"NSPopUpButton", factoryOf<PopUpButton>()},
    };
};

Factories& factories() {
    static Factories table;
    return table;
}

}

void ClassRegistry::registerClass(std::string name, Factory factory) {
    if (!factory)
        return;
    auto& table = factories();
    std::lock_guard lock(table.mutex);
    table.byName[std::move(name)] = std::move(factory);
}

bool ClassRegistry::isRegistered(std::string_view name) {
    auto& table = factories();
    std::lock_guard lock(table.mutex);
    return table.byName.find(name) != table.byName.end();
}

std::shared_ptr<Object> ClassRegistry::create(std::string_view name) {
    Factory factory;
    {
        auto& table = factories();
        std::lock_guard lock(table.mutex);
        auto found = table.byName.find(name);
        if (found == table.byName.end())
            return nullptr;
        factory = found->second;
    }
    // Outside the lock: a constructor may register classes itself.
    return factory();
}

}
