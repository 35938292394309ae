#pragma once

#include <string>
#include <vector>

namespace docshelf::fltk::testing {

// A person at an X display, through xdotool: finds windows, moves the pointer,
// clicks and types. Coordinates are relative to a window's top left corner.
class DesktopUser {
public:
    explicit DesktopUser(std::string display) : display_(std::move(display)) {}

    static bool installed();

    // The ids of the mapped windows of that X class, oldest first.
    std::vector<std::string> windowsOfClass(const std::string& className) const;
    // Waits up to the time for count windows of the class; their ids, or fewer.
    std::vector<std::string> waitForWindows(const std::string& className, std::size_t count, int seconds) const;

    // button 1 is the left, 3 the right.
    bool click(const std::string& window, int x, int y, int button = 1) const;
    bool moveTo(const std::string& window, int x, int y) const;
    // xdotool key names, one press each in turn: {"Tab", "space", "ctrl+q"}.
    bool keys(const std::vector<std::string>& names) const;
    // Letters and digits, typed one by one.
    bool type(const std::string& text) const;
    // The whole screen as a PNG.
    bool screenshot(const std::string& path) const;

private:
    bool run(const std::string& arguments) const;

    std::string display_;
};

}
