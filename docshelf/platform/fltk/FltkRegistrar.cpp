#include "FltkBackend.h"

#include "platform/appkit/Application.h"

#include <memory>

namespace {

// Linking the renderer into a program is what installs it: the shared application
// then shows itself on the display when there is one, and stays headless otherwise.
// A Mac always has its screen; DISPLAY is X's.
const bool registered = [] {
    docshelf::appkit::Application::setDefaultBackendFactory(
        []() -> std::shared_ptr<docshelf::appkit::Backend> { return docshelf::fltk::FltkBackend::openIfDisplayed(); });
    return true;
}();

}
