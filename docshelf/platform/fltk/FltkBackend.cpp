#include "FltkBackend.h"

#include "FltkGraphicsContext.h"
#include "FltkWindow.h"
#ifdef __APPLE__
#include <ApplicationServices/ApplicationServices.h>
#endif

#include "platform/appkit/Application.h"
#include "platform/appkit/Window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <cstdlib>
#include <string>

namespace docshelf::fltk {

namespace {

// How long the loop sleeps at most before it looks at the model again, in seconds.
constexpr double idleWait = 0.25;

}

FltkBackend::FltkBackend() = default;
FltkBackend::~FltkBackend() = default;

std::shared_ptr<FltkBackend> FltkBackend::openIfDisplayed() {
#ifndef __APPLE__
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return nullptr;
#endif
    if (!openDisplay())
        return nullptr;
    return std::make_shared<FltkBackend>();
}

bool FltkBackend::openDisplay() {
#ifdef __APPLE__
    // A Mac always has its screen. FLTK opens it with the first window, after the
    // set-up has given the application menu its titles: opening builds that menu.
    return true;
#else
    if (fl_display)
        return true;
    // FLTK's own opening ends the process when there is no display; ask X first.
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    fl_open_display(display);
    return true;
#endif
}

appkit::Size FltkBackend::measureText(std::string_view text, const appkit::Font& font) {
    Fl_Font face = FltkGraphicsContext::faceOf(font);
    Fl_Fontsize size = FltkGraphicsContext::sizeOf(font);
    return {FltkGraphicsContext::textWidth(text, face, size), FltkGraphicsContext::lineHeight(text, face, size)};
}

appkit::Size FltkBackend::screenSize() {
#ifdef __APPLE__
    // Asked of the system: FLTK's answer would open the display early (see openDisplay).
    CGRect bounds = CGDisplayBounds(CGMainDisplayID());
    return {static_cast<float>(bounds.size.width), static_cast<float>(bounds.size.height)};
#else
    return {static_cast<float>(Fl::w()), static_cast<float>(Fl::h())};
#endif
}

int FltkBackend::runEventLoop(appkit::Application& application) {
    stopped_ = false;
    changed_ = true;
    while (!stopped_) {
        if (changed_)
            synchronize(application);
        Fl::wait(idleWait);
    }
    for (auto& [model, window] : windows_)
        window->hide();
    windows_.clear();
    Fl::check();
    return 0;
}

void FltkBackend::synchronize(appkit::Application& application) {
    changed_ = false;
    float screenHeight = screenSize().height;
    for (const auto& window : application.windows()) {
        auto& shown = windows_[window.get()];
        if (!shown) {
            if (!window->isVisible())
                continue;
            shown = std::make_unique<FltkWindow>(window);
        }
        shown->synchronize(screenHeight, application.isHidden());
    }
    std::erase_if(windows_, [](const auto& entry) { return !entry.second; });
}

void FltkBackend::applicationDidChange(appkit::Application&) {
    changed_ = true;
}

void FltkBackend::actionWillRun(appkit::Window& window) {
    if (FltkWindow* shown = windowFor(window))
        shown->showBusy(true);
}

void FltkBackend::actionDidRun(appkit::Window& window) {
    if (FltkWindow* shown = windowFor(window))
        shown->showBusy(false);
}

FltkWindow* FltkBackend::windowFor(const appkit::Window& window) const {
    auto found = windows_.find(&window);
    return found == windows_.end() ? nullptr : found->second.get();
}

}
