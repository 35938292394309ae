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

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace docshelf::fltk {

namespace {

// How long the loop sleeps at most before it looks at the model again, in seconds.
constexpr double idleWait = 0.25;

// SIGTERM (a session ending, kill) and SIGINT (Ctrl+C at a terminal) quit as
// Quit does. The handler only writes a byte to this pipe, which the event loop
// watches; the loop then ends the application on the main thread.
int quitPipe[2] = {-1, -1};

extern "C" void onQuitSignal(int) {
    int saved = errno;
    char byte = 1;
    [[maybe_unused]] auto written = write(quitPipe[1], &byte, 1);
    errno = saved;
}

void quitRequested(int fd, void* data) {
    char bytes[16];
    while (read(fd, bytes, sizeof bytes) > 0) {
    }
    static_cast<appkit::Application*>(data)->terminate(nullptr);
}

// Watches the pipe and catches the signals while the loop runs.
class QuitSignals {
public:
    explicit QuitSignals(appkit::Application& application) {
        if (quitPipe[0] < 0 && pipe(quitPipe) != 0)
            return;
        for (int fd : quitPipe) {
            fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
            fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        Fl::add_fd(quitPipe[0], FL_READ, quitRequested, &application);
        struct sigaction action {};
        action.sa_handler = onQuitSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, &previousTerm_);
        sigaction(SIGINT, &action, &previousInt_);
        watching_ = true;
    }
    ~QuitSignals() {
        if (!watching_)
            return;
        sigaction(SIGTERM, &previousTerm_, nullptr);
        sigaction(SIGINT, &previousInt_, nullptr);
        Fl::remove_fd(quitPipe[0]);
    }
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
    bool watching_ = false;
};

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
    QuitSignals signals(application);
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
