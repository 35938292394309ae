#pragma once

#include "platform/appkit/NibLoadResult.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace docshelf {
class DocumentationAppDelegate;
}

namespace docshelf::appkit {
class Backend;
}

namespace docshelf {

struct WindowOptions {
    std::string app;
    std::optional<std::string> messageBundle; // the Mac's location when not given
    std::optional<std::string> reader;        // the Mac's preferred PDF reader when not given
    // Headless when null; render gives the renderer's.
    std::shared_ptr<appkit::Backend> backend = nullptr;
};

// The browser's window started exactly as the application starts it, on the
// headless backend (or the one given), with shell commands recorded instead of
// run and always in the form the Mac runs them. One session at a time: it owns the shared
// application, the main bundle and the shell while it lives.
class WindowSession {
public:
    // Null, with the reason in error, when the window description cannot be loaded.
    static std::unique_ptr<WindowSession> start(const WindowOptions& options, std::string& error);
    ~WindowSession();
    WindowSession(const WindowSession&) = delete;
    WindowSession& operator=(const WindowSession&) = delete;

    // model:NAME, language:NAME, press:documentation, press:readme, press:close,
    // close-window: what the user's click or choice would do.
    void apply(const std::string& step);

    // The window as it is now, with the commands run since the last state.
    nlohmann::ordered_json state();

    const appkit::NibLoadResult& objects() const { return loaded_; }
    std::shared_ptr<DocumentationAppDelegate> delegate() const;
    const std::vector<std::string>& allCommands() const { return *commands_; }

private:
    WindowSession() = default;

    appkit::NibLoadResult loaded_;
    std::shared_ptr<std::vector<std::string>> commands_ = std::make_shared<std::vector<std::string>>();
    std::size_t reported_ = 0;
};

}
