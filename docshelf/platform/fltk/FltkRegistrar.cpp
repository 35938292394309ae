#include "FltkBackend.h"

#include "platform/appkit/Application.h"

#include <cstdlib>
#include <memory>

namespace {

// Linking the renderer into a program is what installs it: the shared application
// then shows itself on the display when there is one, and stays headless otherwise.
// A Mac always has its screen; DISPLAY is X's.
const bool registered = [] {
    docshelf::appkit::Application::setDefaultBackendFactory([]() -> std::shared_ptr<docshelf::appkit::Backend> {
#ifndef __APPLE__
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            return nullptr;
#endif
        if (!docshelf::fltk::FltkBackend::openDisplay())
            return nullptr;
        return std::make_shared<docshelf::fltk::FltkBackend>();
    });
    return true;
}();

}
