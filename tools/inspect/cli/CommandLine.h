#pragma once

#include "cli/OptionParser.h"
#include "inspect/common/FindingsOutput.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace docshelf::inspect {

// What the inspector was asked to do. The command is also "help", "version" or
// "explain" (--help anywhere, --version, --explain CODE).
struct CommandLine {
    std::string command;              // "catalogue", "lookup", "window", "check", "render", "diff" or "help"
    std::optional<std::string> disc;  // the disc's folder: the volume, holding the application bundle
    std::optional<std::string> other; // diff: the new disc (disc is the old one)
    std::string app;                  // empty when only the disc folder was given
    std::optional<std::string> model;
    std::optional<std::string> language;
    std::optional<std::string> messageBundle;
    std::optional<std::string> reader;
    std::optional<std::string> windows;
    std::optional<std::string> out;           // render: the folder for the pictures
    bool json = false;                        // check: findings as one JSON array instead of lines
    OutputFormat format = OutputFormat::Text; // check, render: --format text|json|sarif|github
    bool strict = false;                      // warnings fail the exit status too
    std::vector<std::string> ignored;         // --ignore CODE: codes left out
    std::string explain;                      // "explain": the code to explain
    std::vector<std::string> steps;
    // --volume /Volumes/NAME=DIR: the volume and the folder it is read from.
    std::vector<std::pair<std::string, std::string>> volumes;
};

struct CommandLineResult {
    std::optional<CommandLine> commandLine; // empty when the arguments are wrong
    std::string error;
    std::string usageError; // the error and how to get help, as printed
};

CommandLineResult parseCommandLine(const std::vector<std::string>& arguments);

// Every option of the inspector, declared once: the parser sets the command
// line's fields as it reads the arguments.
cli::OptionParser commandLineParser(CommandLine& commandLine);

extern const char* const usage;

}
