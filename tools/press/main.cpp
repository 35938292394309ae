#include "PressCommandLine.h"
#include "Reporter.h"
#include "cli/Installation.h"

#include <algorithm>
#include <iostream>
#include <unistd.h>

using namespace docshelf;
using namespace docshelf::press;

int main(int argc, char** argv) {
    PressCommandLine defaults;
    // What ships with the press, found from where it lies: installed, or in the build tree.
    defaults.init.app = cli::Installation::application();
    defaults.init.messageTemplate = cli::Installation::messageTemplate();
    defaults.init.windowsPrograms = cli::Installation::windowsPrograms();

    auto command = parsePressCommandLine(std::vector<std::string>(argv + 1, argv + argc), defaults);
    if (!command.error.empty()) {
        std::cerr << command.usageError;
        return 2;
    }
    if (command.command == "help") {
        std::cout << pressUsage;
        return std::cout.good() ? 0 : 1;
    }
    if (command.command == "version") {
        std::cout << "docshelf-press " << DOCSHELF_VERSION << "\n";
        return std::cout.good() ? 0 : 1;
    }
    Reporter reporter(isatty(STDERR_FILENO) == 1, command.findings);
    int status = command.command == "init" ? InitCommand::run(command.init, reporter)
                                           : ImageCommand::run(command.image, reporter);
    return std::max(status, reporter.finish());
}
