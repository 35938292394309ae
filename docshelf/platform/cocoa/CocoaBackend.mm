#include "CocoaBackend.h"

#include "ActionTarget.h"
#include "CocoaMenuBar.h"
#include "CocoaWindow.h"
#include "NativeFonts.h"
#include "NativeImage.h"
#include "NativeNames.h"

#include "platform/appkit/AboutPanel.h"
#include "platform/appkit/Application.h"
#include "platform/appkit/Window.h"
#include "platform/foundation/Bundle.h"

#ifndef __APPLE__
#include <X11/Xlib.h>
#endif

#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace docshelf::cocoa {

namespace {

// How long the loop waits at most for an event before it looks at the model
// again, in seconds; while a list is open, how often it scrolls on an arrow.
constexpr double idleWait = 0.25;
constexpr double listWait = 0.05;

// GNUstep catches SIGTERM and SIGINT for -[NSApplication run], which this loop
// replaces, so without a handler of ours the browser would ignore them (Cocoa
// leaves them to end the process). Either ends the run as Quit does.
volatile std::sig_atomic_t interrupted = 0;

void interrupt(int) {
    interrupted = 1;
}

// Set while AppKit handles an event, during which it may run an event loop of
// its own (a button's or a menu's tracking) that never returns to ours.
bool dispatching = false;

// Looks at the signals from within AppKit's own loops too: a signal that comes
// while one runs quits there, as Quit does, with status 0.
class SignalWatch : public NativeSink {
public:
    void nativeAction(long, id) override {
        if (!interrupted || !dispatching)
            return;
        appkit::Application::shared().terminate(nullptr);
        std::exit(0);
    }
};

// Brings the model back in line when AppKit unhides the application itself
// (a click on the Dock icon, or GNUstep's application icon).
class UnhideSink : public NativeSink {
public:
    void nativeAction(long, id) override {
        auto& application = appkit::Application::shared();
        if (application.isHidden())
            application.unhideAllApplications(nullptr);
    }
};

NSImage* bundleIcon() {
    auto icon = appkit::AboutPanel::contentsOf(foundation::Bundle::mainBundle()).icon;
    return icon ? NativeImage::imageAtPath(icon->path()) : nil;
}

}

struct CocoaBackend::Native {
    std::map<const appkit::Window*, std::unique_ptr<CocoaWindow>> windows;
    CocoaMenuBar menuBar;
    UnhideSink unhideSink;
    DSActionTarget* unhideObserver = nil;
    SignalWatch signalWatch;
    DSActionTarget* signalTarget = nil;
    NSTextFieldCell* measuringCell = nil;

    // An event for the model's rules (an open list, a click on a control); false
    // when AppKit's own controls take it.
    bool route(NSEvent* event);
};

CocoaBackend::CocoaBackend() : native_(std::make_unique<Native>()) {
    AutoreleasePool pool;
#ifdef GNUSTEP
    // GNUstep's menu window draws every title in the one menu font of its
    // defaults, read once and without glyph substitution: a font for the user's
    // language, when the default one lacks its characters.
    if (std::string font = NativeFonts::forUserLanguage(); !font.empty())
        [[NSUserDefaults standardUserDefaults] registerDefaults:[NSDictionary dictionaryWithObject:nativeString(font)
                                                                                            forKey:@"NSMenuFont"]];
#endif
    [NSApplication sharedApplication];
    native_->measuringCell = [[NSTextFieldCell alloc] initTextCell:@""];
    [native_->measuringCell setBezeled:NO];
    [native_->measuringCell setEditable:NO];
    [native_->measuringCell setWraps:NO];
    native_->unhideObserver = [[DSActionTarget alloc] initWithSink:&native_->unhideSink];
    [[NSNotificationCenter defaultCenter] addObserver:native_->unhideObserver
                                             selector:@selector(applicationDidUnhide:)
                                                 name:NSApplicationDidUnhideNotification
                                               object:nil];
}

CocoaBackend::~CocoaBackend() {
    AutoreleasePool pool;
    native_->windows.clear();
    [[NSNotificationCenter defaultCenter] removeObserver:native_->unhideObserver];
    [native_->unhideObserver detach];
    [native_->unhideObserver release];
    [native_->signalTarget detach];
    [native_->signalTarget release];
    [native_->measuringCell release];
}

std::shared_ptr<CocoaBackend> CocoaBackend::openIfDisplayed() {
#ifndef __APPLE__
    // GNUstep ends the process when it finds no X server: ask X first.
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return nullptr;
    XCloseDisplay(display);
#endif
    return std::make_shared<CocoaBackend>();
}

appkit::Size CocoaBackend::measureText(std::string_view text, const appkit::Font& font) {
    AutoreleasePool pool;
    // As a label cell lays it out, with the cell's own margins: the size that
    // sizeToFit gives the native field.
    [native_->measuringCell setFont:NativeFonts::fontFor(text, font.size, font.bold)];
    [native_->measuringCell setStringValue:nativeString(text)];
    NSSize size = [native_->measuringCell cellSize];
    return {static_cast<float>(std::ceil(size.width)), static_cast<float>(std::ceil(size.height))};
}

appkit::Size CocoaBackend::screenSize() {
    AutoreleasePool pool;
    NSRect frame = [[NSScreen mainScreen] frame];
    return {static_cast<float>(frame.size.width), static_cast<float>(frame.size.height)};
}

int CocoaBackend::runEventLoop(appkit::Application& application) {
    static bool finishedLaunching = false;
    if (!finishedLaunching) {
        AutoreleasePool pool;
        finishedLaunching = true;
        if (NSImage* icon = bundleIcon())
            [NSApp setApplicationIconImage:icon];
        [NSApp finishLaunching];
        [NSApp activateIgnoringOtherApps:YES];
        native_->signalTarget = [[DSActionTarget alloc] initWithSink:&native_->signalWatch];
        NSTimer* timer = [NSTimer timerWithTimeInterval:idleWait
                                                 target:native_->signalTarget
                                               selector:@selector(tick:)
                                               userInfo:nil
                                                repeats:YES];
        NSString* modes[] = {NSDefaultRunLoopMode, NSEventTrackingRunLoopMode, NSModalPanelRunLoopMode};
        for (NSString* mode : modes)
            [[NSRunLoop currentRunLoop] addTimer:timer forMode:mode];
    }
    std::signal(SIGTERM, interrupt);
    std::signal(SIGINT, interrupt);
    stopped_ = false;
    changed_ = true;
    while (!stopped_) {
        AutoreleasePool pool;
        if (interrupted) {
            application.terminate(nullptr);
            break;
        }
        bool listOpen = false;
        for (const auto& [model, window] : native_->windows)
            if (window && window->hasOpenList()) {
                listOpen = true;
                if (window->autoscroll())
                    changed_ = true;
            }
        if (changed_)
            synchronize(application);
        NSEvent* event =
            [NSApp nextEventMatchingMask:anyEvent
                               untilDate:[NSDate dateWithTimeIntervalSinceNow:listOpen ? listWait : idleWait]
                                  inMode:NSDefaultRunLoopMode
                                 dequeue:YES];
        if (event && native_->route(event)) {
            changed_ = true;
        } else if (event) {
            dispatching = true;
            [NSApp sendEvent:event];
            dispatching = false;
        }
        [NSApp updateWindows];
    }
    AutoreleasePool pool;
    native_->windows.clear();
    return 0;
}

bool CocoaBackend::Native::route(NSEvent* event) {
    // A window with an open list takes every event first.
    for (const auto& [model, window] : windows)
        if (window && window->hasOpenList())
            return window->handleEvent(event);
    for (const auto& [model, window] : windows)
        if (window && [event window] == window->nativeWindow())
            return window->handleEvent(event);
    return false;
}

void CocoaBackend::synchronize(appkit::Application& application) {
    changed_ = false;
    AutoreleasePool pool;
    for (const auto& window : application.windows()) {
        auto& shown = native_->windows[window.get()];
        if (!shown) {
            if (!window->isVisible())
                continue;
            shown = std::make_unique<CocoaWindow>(window);
        }
        shown->synchronize();
    }
    std::erase_if(native_->windows, [](const auto& entry) { return !entry.second; });

    if (const char* path = std::getenv("DOCSHELF_APPKIT_CONTROLS"); path && *path) {
        // Whole or not at all, for a reader that looks at any moment.
        std::string partial = std::string(path) + ".partial";
        std::ofstream(partial) << describeControls(application);
        std::rename(partial.c_str(), path);
    }
}

std::string CocoaBackend::describeControls(appkit::Application& application) const {
    std::ostringstream out;
    for (const auto& window : application.windows()) {
        auto found = native_->windows.find(window.get());
        if (found == native_->windows.end())
            continue;
        out << "NSWindow\t" << window->title() << '\t' << (window->isVisible() ? "shown" : "hidden") << '\n';
        found->second->describeControls(out);
        found->second->describeOpenList(out);
    }
    return out.str();
}

void CocoaBackend::applicationDidChange(appkit::Application& application) {
    changed_ = true;
    AutoreleasePool pool;
    if (application.isHidden() != hidden_) {
        hidden_ = application.isHidden();
        if (hidden_)
            [NSApp hide:nil];
        else
            [NSApp unhide:nil];
        return;
    }
    // Installed anew only for a new or retitled main menu, never while one of its
    // items is at work hiding the application.
    native_->menuBar.show(application);
}

void CocoaBackend::orderFrontAboutPanel(appkit::Application&) {
    // The model's panel, shown as any window: our fields only, and closed by
    // Escape, Return, Command-W and its button without a window manager.
    changed_ = true;
}

}
