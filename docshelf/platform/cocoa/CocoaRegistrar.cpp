#include "CocoaBackend.h"

#include "platform/appkit/Application.h"

#include <memory>

namespace {

// Linking the AppKit backend into a program installs it: on a Mac as the only
// renderer, elsewhere (GNUstep) when DOCSHELF_BACKEND=appkit asks for it.
const bool registered = [] {
    auto factory = []() -> std::shared_ptr<docshelf::appkit::Backend> {
        return docshelf::cocoa::CocoaBackend::openIfDisplayed();
    };
#ifdef __APPLE__
    docshelf::appkit::Application::setDefaultBackendFactory(factory);
#else
    docshelf::appkit::Application::setNamedBackendFactory("appkit", factory);
#endif
    return true;
}();

}
