#include "PressCommandLine.h"
#include "Reporter.h"

#include <algorithm>
#include <iostream>
#include <unistd.h>

using namespace docshelf::press;

int main(int argc, char** argv) {
    PressCommandLine defaults;
    // What the build made.
    defaults.init.app = DOCSHELF_PRESS_APP;
    defaults.init.messageTemplate = DOCSHELF_PRESS_MESSAGE_TEMPLATE;
    defaults.init.windowsPrograms = DOCSHELF_PRESS_WINDOWS_PROGRAMS;

    auto command = parsePressCommandLine(std::vector<std::string>(argv + 1, argv + argc), defaults);
    if (!command.error.empty()) {
        std::cerr << "docshelf-press: " << command.error << "\n\n" << pressUsage;
        return 2;
    }
    if (command.command == "help" || command.command == "--help") {
        std::cout << pressUsage;
        return 0;
    }
    Reporter reporter(isatty(STDERR_FILENO) == 1, command.findings);
    int status = command.command == "init" ? InitCommand::run(command.init, reporter)
                                           : ImageCommand::run(command.image, reporter);
    return std::max(status, reporter.finish());
}
