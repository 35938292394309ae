#include "CocoaBackend.h"

#include "ActionTarget.h"
#include "CocoaMenuBar.h"
#include "CocoaWindow.h"
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

// How long the loop waits at most for an event before it looks at the model again, in seconds.
constexpr double idleWait = 0.25;

// GNUstep catches SIGTERM and SIGINT for -[NSApplication run], which this loop
// replaces, so without a handler of ours the browser would ignore them (Cocoa
// leaves them to end the process). Either ends the run as Quit does.
volatile std::sig_atomic_t interrupted = 0;

void interrupt(int) {
    interrupted = 1;
}

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
    NSTextFieldCell* measuringCell = nil;
};

CocoaBackend::CocoaBackend() : native_(std::make_unique<Native>()) {
    AutoreleasePool pool;
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
    [native_->measuringCell setFont:font.bold ? [NSFont boldSystemFontOfSize:font.size]
                                               : [NSFont systemFontOfSize:font.size]];
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
        if (changed_)
            synchronize(application);
        NSEvent* event = [NSApp nextEventMatchingMask:anyEvent
                                            untilDate:[NSDate dateWithTimeIntervalSinceNow:idleWait]
                                               inMode:NSDefaultRunLoopMode
                                              dequeue:YES];
        if (event)
            [NSApp sendEvent:event];
        [NSApp updateWindows];
    }
    AutoreleasePool pool;
    native_->windows.clear();
    return 0;
}

void CocoaBackend::synchronize(appkit::Application& application) {
    changed_ = false;
    AutoreleasePool pool;
    for (const auto& window : application.windows()) {
        // The About panel is AppKit's own (orderFrontAboutPanel), not the model's picture of it.
        if (window->isPanel())
            continue;
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
    AutoreleasePool pool;
    auto contents = appkit::AboutPanel::contentsOf(foundation::Bundle::mainBundle());
    // The keys that both AppKit and GNUstep read; each panel words the version itself.
    NSMutableDictionary* options = [NSMutableDictionary dictionary];
    [options setObject:nativeString(contents.name) forKey:@"ApplicationName"];
    [options setObject:nativeString(contents.shortVersion) forKey:@"ApplicationVersion"];
    // The build number, which both panels show after the version in brackets.
    foundation::Value build = foundation::Bundle::mainBundle().infoDictionary().objectForKey("CFBundleVersion");
    [options setObject:build.isString() ? nativeString(build.text()) : @"" forKey:@"Version"];
    [options setObject:nativeString(contents.copyright) forKey:@"Copyright"];
    if (contents.icon)
        if (NSImage* icon = NativeImage::imageAtPath(contents.icon->path()))
            [options setObject:icon forKey:@"ApplicationIcon"];
    [NSApp orderFrontStandardAboutPanelWithOptions:options];
}

}
