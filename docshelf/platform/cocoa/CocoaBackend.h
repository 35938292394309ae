#pragma once

#include "platform/appkit/Backend.h"

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

namespace docshelf::cocoa {

// Shows the application with AppKit's own windows, controls and menus: Cocoa on
// a Mac, GNUstep elsewhere. Like the FLTK backend, the model stays the source of
// truth: the hooks note that something changed, and the event loop brings the
// native windows in line with the model after every event. Text is measured
// as a native label cell measures it. Plain C++ here, so that the registrar
// and tests need no Objective-C.
class CocoaBackend : public appkit::Backend {
public:
    CocoaBackend();
    ~CocoaBackend() override;
    CocoaBackend(const CocoaBackend&) = delete;
    CocoaBackend& operator=(const CocoaBackend&) = delete;

    // A backend when AppKit has a screen: always on a Mac; elsewhere when
    // DISPLAY names an X display (GNUstep would end the process without one).
    static std::shared_ptr<CocoaBackend> openIfDisplayed();

    appkit::Size measureText(std::string_view text, const appkit::Font& font) override;
    appkit::Size screenSize() override;
    // Shows every visible window and handles native events until stopEventLoop; 0.
    int runEventLoop(appkit::Application& application) override;
    void stopEventLoop() override { stopped_ = true; }

    void viewNeedsDisplay(appkit::View&) override { changed_ = true; }
    void viewDidChange(appkit::View&) override { changed_ = true; }
    void windowDidChange(appkit::Window&) override { changed_ = true; }
    // Installs the main menu anew, or hides or shows the application.
    void applicationDidChange(appkit::Application& application) override;
    // The standard About panel, from the main bundle's Info.plist and InfoPlist texts.
    void orderFrontAboutPanel(appkit::Application& application) override;

    // Brings the native windows in line with the application's.
    void synchronize(appkit::Application& application);
    // What describeControls of each native window says, windows in the
    // application's order; with DOCSHELF_APPKIT_CONTROLS set, the loop also
    // writes it to that file after every synchronization.
    std::string describeControls(appkit::Application& application) const;

private:
    struct Native;

    std::unique_ptr<Native> native_;
    bool stopped_ = false;
    bool hidden_ = false;
    // Set by hooks, which a view may call from another thread.
    std::atomic<bool> changed_ = true;
};

}
