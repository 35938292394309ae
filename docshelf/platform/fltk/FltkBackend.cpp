#include "FltkBackend.h"

#include "FltkGraphicsContext.h"
#include "FltkWindow.h"

#include "platform/appkit/Application.h"
#include "platform/appkit/Window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include <string>

namespace docshelf::fltk {

namespace {

// How long the loop sleeps at most before it looks at the model again, in seconds.
constexpr double idleWait = 0.25;

}

FltkBackend::FltkBackend() = default;
FltkBackend::~FltkBackend() = default;

bool FltkBackend::openDisplay() {
    if (fl_display)
        return true;
    // FLTK's own opening ends the process when there is no display; ask X first.
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    fl_open_display(display);
    return true;
}

appkit::Size FltkBackend::measureText(std::string_view text, float fontSize) {
    auto size = static_cast<Fl_Fontsize>(fontSize + 0.5f);
    return {FltkGraphicsContext::textWidth(text, FL_HELVETICA, size),
            FltkGraphicsContext::lineHeight(text, FL_HELVETICA, size)};
}

appkit::Size FltkBackend::screenSize() {
    return {static_cast<float>(Fl::w()), static_cast<float>(Fl::h())};
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
        shown->synchronize(screenHeight);
    }
    std::erase_if(windows_, [](const auto& entry) { return !entry.second; });
}

FltkWindow* FltkBackend::windowFor(const appkit::Window& window) const {
    auto found = windows_.find(&window);
    return found == windows_.end() ? nullptr : found->second.get();
}

}
