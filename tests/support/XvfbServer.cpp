#include "XvfbServer.h"

#include <X11/Xlib.h>

#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace docshelf::testing {

namespace {

constexpr const char* program = "/usr/bin/Xvfb";
constexpr int startTimeoutMs = 10000;
constexpr int startAttempts = 3;
constexpr const char* startLock = "/tmp/docshelf-xvfb-start.lock";

} // namespace

XvfbServer& XvfbServer::shared() {
    static XvfbServer server;
    return server;
}

bool XvfbServer::installed() {
    return access(program, X_OK) == 0;
}

XvfbServer::XvfbServer() {
    if (!installed())
        return;
    // Servers that start or end at the same moment can leave a display unusable,
    // so starts and ends take turns across processes (other test programs
    // included), and a server counts as started only once a client can connect.
    int lock = open(startLock, O_CREAT | O_RDWR | O_CLOEXEC, 0666);
    if (lock >= 0)
        flock(lock, LOCK_EX);
    for (int attempt = 0; attempt < startAttempts && display_.empty(); ++attempt) {
        start();
        if (display_.empty())
            continue;
        Display* connection = XOpenDisplay(display_.c_str());
        if (connection) {
            XCloseDisplay(connection);
        } else {
            stop();
            display_.clear();
        }
    }
    if (lock >= 0)
        close(lock);
}

void XvfbServer::start() {
    // -displayfd: the server picks a free display and writes its number to its
    // standard output. -noreset: without it the server starts afresh whenever
    // its last client leaves (a screenshot, an xdotool call), and a program
    // connecting just then finds no display and runs without one. It runs as
    // long as the test program, and not a moment longer, however that ends.
    server_ = std::make_unique<foundation::BoundedRun>(foundation::BoundedRun::start(
        program, {"-displayfd", "1", "-screen", "0", "1280x900x24", "-nolisten", "tcp", "-noreset"},
        std::chrono::hours(24)));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
    std::string said;
    while (said.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline &&
           !server_->waitFor(std::chrono::milliseconds(20)))
        said = server_->outSoFar();
    if (said.find('\n') == std::string::npos) {
        server_.reset();
        return;
    }
    display_ = ":" + said.substr(0, said.find('\n'));
}

XvfbServer::~XvfbServer() {
    // An ending server removes its socket files, which a server starting at the
    // same moment on the same display may already have made anew.
    int lock = open(startLock, O_CREAT | O_RDWR | O_CLOEXEC, 0666);
    if (lock >= 0)
        flock(lock, LOCK_EX);
    stop();
    if (lock >= 0)
        close(lock);
}

void XvfbServer::stop() {
    if (server_)
        server_->stop(std::chrono::seconds(2));
    server_.reset();
}

int XvfbServer::closeTopLevelWindows() const {
    Display* display = running() ? XOpenDisplay(display_.c_str()) : nullptr;
    if (!display)
        return 0;
    Window root = DefaultRootWindow(display);
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    int sent = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count)) {
        Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
        Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        for (unsigned i = 0; i < count; ++i) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
                continue;
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = children[i];
            event.xclient.message_type = protocols;
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(deleteWindow);
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, children[i], False, NoEventMask, &event);
            ++sent;
        }
        XFree(children);
    }
    XCloseDisplay(display);
    return sent;
}

} // namespace docshelf::testing
