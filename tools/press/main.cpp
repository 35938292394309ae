#include "PressCommandLine.h"
#include "Reporter.h"

#include <filesystem>
#include <iostream>
#include <unistd.h>

using namespace docshelf::press;

int main(int argc, char** argv) {
    PressCommandLine defaults;
    // What the build made, found from where this program lies (build/tools).
    std::error_code code;
    auto here = std::filesystem::read_symlink("/proc/self/exe", code).parent_path();
    defaults.init.inspector = defaults.image.inspector = (here / "docshelf-inspect").string();
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
    Reporter reporter(isatty(STDERR_FILENO) == 1);
    return command.command == "init" ? InitCommand::run(command.init, reporter)
                                     : ImageCommand::run(command.image, reporter);
}
