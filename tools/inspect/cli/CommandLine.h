#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace docshelf::inspect {

// What the inspector was asked to do.
struct CommandLine {
    std::string command; // "catalogue", "lookup", "window", "check", "render" or "help"
    std::optional<std::string> disc; // the disc's folder: the volume, holding the application bundle
    std::string app;                 // empty when only the disc folder was given
    std::optional<std::string> model;
    std::optional<std::string> language;
    std::optional<std::string> messageBundle;
    std::optional<std::string> reader;
    std::optional<std::string> windows;
    std::optional<std::string> out; // render: the folder for the pictures
    bool json = false;              // check: findings as one JSON array instead of lines
    std::vector<std::string> steps;
    // --volume /Volumes/NAME=DIR: the volume and the folder it is read from.
    std::vector<std::pair<std::string, std::string>> volumes;
};

struct CommandLineResult {
    std::optional<CommandLine> commandLine; // empty when the arguments are wrong
    std::string error;
};

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments);

extern const char* const usage;

}
