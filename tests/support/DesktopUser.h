#pragma once

#include <string>
#include <vector>

namespace docshelf::testing {

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

    // The first mapped window of the class with that size, waiting up to the time;
    // empty when none came. For toolkits that map several windows of one class
    // (GNUstep: the application icon, the menu and the window).
    std::string waitForWindowSized(const std::string& className, int width, int height, int seconds) const;

    // button 1 is the left, 3 the right.
    bool click(const std::string& window, int x, int y, int button = 1) const;
    bool moveTo(const std::string& window, int x, int y) const;
    // Presses the left button at one point, moves to the other and lets go there:
    // choosing from a pop-up in one gesture.
    bool drag(const std::string& window, int x, int y, int toX, int toY) const;
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
