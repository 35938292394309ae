#include "DesktopUser.h"

#include "ChildProcess.h"

#include <unistd.h>
#include <chrono>
#include <sstream>
#include <thread>

namespace docshelf::testing {

namespace {

constexpr const char* program = "/usr/bin/xdotool";
constexpr std::chrono::seconds commandTimeout{10};
// What a person's hand takes between two steps; also lets the program draw.
constexpr std::chrono::milliseconds settle{400};

}

bool DesktopUser::installed() {
    return access(program, X_OK) == 0;
}

bool DesktopUser::run(const std::string& arguments) const {
    bool ok = runBounded("DISPLAY=" + display_ + " " + program + " " + arguments, commandTimeout) == 0;
    std::this_thread::sleep_for(settle);
    return ok;
}

std::vector<std::string> DesktopUser::windowsOfClass(const std::string& className) const {
    std::string command = "DISPLAY=" + display_ + " " + program + " search --onlyvisible --class " + className;
    std::vector<std::string> ids;
    std::istringstream lines(outputOf(command, commandTimeout));
    for (std::string id; std::getline(lines, id);) {
        while (!id.empty() && id.back() == '\r')
            id.pop_back();
        if (!id.empty())
            ids.push_back(id);
    }
    return ids;
}

std::vector<std::string> DesktopUser::waitForWindows(const std::string& className, std::size_t count,
                                                     int seconds) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    auto ids = windowsOfClass(className);
    while (ids.size() != count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ids = windowsOfClass(className);
    }
    return ids;
}

std::string DesktopUser::waitForWindowSized(const std::string& className, int width, int height, int seconds) const {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    std::string size = "Geometry: " + std::to_string(width) + "x" + std::to_string(height);
    do {
        for (const auto& id : windowsOfClass(className)) {
            std::string command = "DISPLAY=" + display_ + " " + program + " getwindowgeometry " + id;
            if (outputOf(command, commandTimeout).find(size) != std::string::npos)
                return id;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    } while (std::chrono::steady_clock::now() < deadline);
    return {};
}

bool DesktopUser::click(const std::string& window, int x, int y, int button) const {
    std::ostringstream arguments;
    arguments << "mousemove --window " << window << " " << x << " " << y << " click " << button;
    return run(arguments.str());
}

bool DesktopUser::moveTo(const std::string& window, int x, int y) const {
    std::ostringstream arguments;
    arguments << "mousemove --window " << window << " " << x << " " << y;
    return run(arguments.str());
}

bool DesktopUser::drag(const std::string& window, int x, int y, int toX, int toY) const {
    std::ostringstream arguments;
    arguments << "mousemove --window " << window << " " << x << " " << y << " mousedown 1 sleep 0.3 mousemove --window "
              << window << " " << toX << " " << toY << " sleep 0.3 mouseup 1";
    return run(arguments.str());
}

bool DesktopUser::keys(const std::vector<std::string>& names) const {
    std::string arguments = "key --delay 80";
    for (const auto& name : names)
        arguments += " " + name;
    return run(arguments);
}

bool DesktopUser::type(const std::string& text) const {
    return run("type --delay 80 " + text);
}

bool DesktopUser::screenshot(const std::string& path) const {
    return runBounded("xwd -root -silent -display " + display_ + " | convert xwd:- png:" + path,
                      std::chrono::seconds(20)) == 0;
}

}
