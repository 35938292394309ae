#pragma once

#include "ImageCommand.h"
#include "InitCommand.h"
#include "Reporter.h"

#include <string>
#include <vector>

namespace docshelf::press {

// What the press was asked to do. Defaults for what the build makes (the
// application bundle, the Windows programs, the inspector) are filled in by
// the caller before the arguments are read.
struct PressCommandLine {
    std::string command; // "init", "image" or "help"
    InitOptions init;
    ImageOptions image;
    FindingsChoice findings; // how the check's findings are shown, for both commands
    std::string error;       // set when the arguments are wrong
};

PressCommandLine parsePressCommandLine(const std::vector<std::string>& arguments, PressCommandLine defaults);

extern const char* const pressUsage;

}
