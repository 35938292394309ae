#pragma once

#include "ImageCommand.h"
#include "cli/OptionParser.h"
#include "InitCommand.h"
#include "Reporter.h"

#include <string>
#include <vector>

namespace docshelf::press {

// What the press was asked to do. Defaults for what the build makes (the
// application bundle, the Windows programs, the inspector) are filled in by
// the caller before the arguments are read.
struct PressCommandLine {
    std::string command; // "init", "image", "help" or "version"
    InitOptions init;
    ImageOptions image;
    FindingsChoice findings; // how the check's findings are shown, for both commands
    std::string error;       // set when the arguments are wrong
    std::string usageError;  // the error and how to get help, as printed
};

PressCommandLine parsePressCommandLine(const std::vector<std::string>& arguments, PressCommandLine defaults);

// Every option of the press, declared once: the parser sets the command line's
// fields as it reads the arguments.
cli::OptionParser pressCommandLineParser(PressCommandLine& commandLine);

extern const char* const pressUsage;

}
