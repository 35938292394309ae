#include "ClassRegistry.h"

#include "Button.h"
#include "PopUpButton.h"
#include "TextField.h"
#include "View.h"
#include "Window.h"

namespace docshelf::appkit {

namespace {

template <class T>
ClassRegistry::Factory factoryOf() {
    return [] { return std::make_shared<T>(); };
}

}

ClassRegistry::ClassRegistry() {
    registerClass("NSObject", factoryOf<Object>());
    registerClass("NSView", factoryOf<View>());
    registerClass("NSWindow", factoryOf<Window>());
    registerClass("NSTextField", factoryOf<TextField>());
    registerClass("NSButton", factoryOf<Button>());
    registerClass("NSPopUpButton", factoryOf<PopUpButton>());
}

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::registerClass(std::string name, Factory factory) {
    if (factory)
        factories_[std::move(name)] = std::move(factory);
}

bool ClassRegistry::isRegistered(std::string_view name) const {
    return factories_.find(name) != factories_.end();
}

std::shared_ptr<Object> ClassRegistry::create(std::string_view name) const {
    auto found = factories_.find(name);
    return found == factories_.end() ? nullptr : found->second();
}

}
