#pragma once

#include "Object.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace docshelf::appkit {

class ApplicationDelegate;
class Backend;
class Menu;
class Window;

// The one application object (NSApp): main menu, windows, delegate, the backend
// that shows them, and the end of the run. Its actions, for menu items:
// "terminate", "hide", "hideOtherApplications", "unhideAllApplications",
// "orderFrontStandardAboutPanel".
class Application : public Object {
public:
    Application() : Application(nullptr) {}
    // A headless backend when null.
    explicit Application(std::shared_ptr<Backend> backend);

    static Application& shared();
    static std::shared_ptr<Application> sharedPointer();
    // Replaces the shared application with a fresh one (a headless backend when
    // null): for tests, tools, and a renderer installing itself before start-up.
    static void reset(std::shared_ptr<Backend> backend = nullptr);
    // What the shared application is first made with: a renderer linked into the
    // program installs itself here before start-up. A null result, like no factory,
    // means the headless backend; reset is not affected.
    using BackendFactory = std::function<std::shared_ptr<Backend>()>;
    static void setDefaultBackendFactory(BackendFactory factory);
    // A renderer that the environment may ask for by name instead of the default:
    // DOCSHELF_BACKEND=appkit picks the one registered as "appkit" when it is
    // linked in; an unknown name, or a factory that gives null, falls back to the
    // default. Read when the shared application is first made.
    static void setNamedBackendFactory(std::string name, BackendFactory factory);

    Backend& backend() const { return *backend_; }
    const std::shared_ptr<Backend>& backendPointer() const { return backend_; }

    const std::shared_ptr<Menu>& mainMenu() const { return mainMenu_; }
    void setMainMenu(std::shared_ptr<Menu> menu);
    // The application menu (About, Hide, ..., Quit): the submenu of the main
    // menu's first item, as the window description lists it; null without one.
    std::shared_ptr<Menu> applicationMenu() const;

    const std::shared_ptr<ApplicationDelegate>& delegate() const { return delegate_; }
    void setDelegate(std::shared_ptr<ApplicationDelegate> delegate) { delegate_ = std::move(delegate); }

    const std::vector<std::shared_ptr<Window>>& windows() const { return windows_; }
    void addWindow(std::shared_ptr<Window> window);
    std::shared_ptr<Window> keyWindow() const;

    // Sends applicationDidFinishLaunching to the delegate, once.
    void finishLaunching();
    bool isLaunched() const { return launched_; }
    // Runs the backend's event loop; its exit status.
    int run();

    // Ends the run: marks the application terminated and stops the event loop.
    // The process itself is left running, for tests and tools.
    void terminate(const std::shared_ptr<Object>& sender);
    bool isTerminated() const { return terminated_; }

    // The About panel of the main bundle, made once, centred and brought to the front.
    void orderFrontStandardAboutPanel(const std::shared_ptr<Object>& sender);
    // Null until the About panel was first asked for.
    const std::shared_ptr<Window>& aboutPanel() const { return aboutPanel_; }
    // The name the desktop knows the application by (its window class):
    // CFBundleName of the main bundle, else its executable's name, else "Application".
    static std::string name();

    void hide(const std::shared_ptr<Object>& sender);
    // Hides the other running applications; this layer runs none, so nothing happens.
    void hideOtherApplications(const std::shared_ptr<Object>& sender);
    void unhideAllApplications(const std::shared_ptr<Object>& sender);
    bool isHidden() const { return hidden_; }

    // A key pressed with Command (Control off the Mac), as its character ("q"):
    // sends the action of the first item of the main menu or its submenus whose
    // key equivalent it is. False when no item has it or nobody handled it.
    bool performKeyEquivalent(std::string_view key);

    // Sends an action by name to the target; without a target, to the key
    // window, the application and then its delegate, as AppKit's responder chain
    // does. False when nobody handled it.
    bool sendAction(std::string_view action, const std::shared_ptr<Object>& target,
                    const std::shared_ptr<Object>& sender);

    // For windows: keeps one key window, and ends the run after the last one closed
    // when the delegate says so.
    void windowDidBecomeKey(const Window& window);
    void windowDidClose(const Window& window);

private:
    bool owns(const Window& window) const;

    std::shared_ptr<Backend> backend_;
    std::shared_ptr<Menu> mainMenu_;
    std::shared_ptr<ApplicationDelegate> delegate_;
    std::vector<std::shared_ptr<Window>> windows_;
    std::shared_ptr<Window> aboutPanel_;
    bool launched_ = false;
    bool terminated_ = false;
    bool hidden_ = false;
};

}
