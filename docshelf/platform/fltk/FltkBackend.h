#pragma once

#include "platform/appkit/Backend.h"

#include <atomic>
#include <map>
#include <memory>
#include <string_view>

namespace docshelf::fltk {

class FltkWindow;

// Shows the application's windows on an X display with FLTK. The model stays the
// source of truth: the hooks only note that something changed, and the event loop
// brings the on-screen windows in line with the model after every turn.
class FltkBackend : public appkit::Backend {
public:
    FltkBackend();
    ~FltkBackend() override;

    // True when an X display can be opened; FLTK then uses it. Always true on a
    // Mac, where FLTK opens the screen when the first window shows.
    static bool openDisplay();
    // A backend on the display that DISPLAY names (a Mac's screen), or null
    // without one: DISPLAY unset or empty, or no X server answers there.
    static std::shared_ptr<FltkBackend> openIfDisplayed();

    // Helvetica (bold for a bold font) at the font's size, with other fonts for
    // the characters it lacks, as the text is drawn; the height is one line's.
    appkit::Size measureText(std::string_view text, const appkit::Font& font) override;
    appkit::Size screenSize() override;
    // Shows every visible window and handles events until stopEventLoop; 0.
    int runEventLoop(appkit::Application& application) override;
    void stopEventLoop() override { stopped_ = true; }

    void viewNeedsDisplay(appkit::View&) override { changed_ = true; }
    void viewDidChange(appkit::View&) override { changed_ = true; }
    void windowDidChange(appkit::Window&) override { changed_ = true; }
    // The busy pointer over the window while a pressed button's action runs.
    void actionWillRun(appkit::Window& window) override;
    void actionDidRun(appkit::Window& window) override;
    // On a Mac the browser shows with the AppKit backend; FLTK draws there only
    // for the tools, which have no menu bar.
    void applicationDidChange(appkit::Application& application) override;

    // Brings the on-screen windows in line with the application's; for the loop
    // and for tests that drive FLTK themselves.
    void synchronize(appkit::Application& application);
    // The on-screen window of a model window; null when it has none.
    FltkWindow* windowFor(const appkit::Window& window) const;

private:
    std::map<const appkit::Window*, std::unique_ptr<FltkWindow>> windows_;
    bool stopped_ = false;
    // Set by hooks, which a view may call from another thread.
    std::atomic<bool> changed_ = true;
};

}
