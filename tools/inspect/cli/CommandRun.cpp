#include "inspect/cli/CommandRun.h"

#include "inspect/common/Codes.h"
#include "inspect/common/FindingsOutput.h"

#include "platform/foundation/Bundle.h"

#include <iostream>

namespace docshelf::inspect {

std::optional<CommandLine> CommandRun::read(int argc, char** argv, int& status) {
    auto parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.commandLine) {
        std::cerr << parsed.usageError;
        status = 2;
        return std::nullopt;
    }
    const CommandLine& command = *parsed.commandLine;
    if (command.command == "help")
        std::cout << usage;
    else if (command.command == "version")
        std::cout << "docshelf-inspect " << DOCSHELF_VERSION << "\n";
    else if (command.command == "explain") {
        const auto* code = Codes::find(command.explain);
        std::cout << code->code << "\n  Found:     " << code->meaning << "\n  The user:  " << code->seen
                  << "\n  To fix it: " << code->fix << "\n";
    } else
        return command;
    status = std::cout.good() ? 0 : 1;
    return std::nullopt;
}

std::optional<DiscFolder> CommandRun::openDisc(const CommandLine& command) {
    auto disc = DiscFolder::resolve(command);
    if (!disc.error.empty()) {
        std::cerr << "docshelf-inspect: " << disc.error << "\n";
        return std::nullopt;
    }
    if (!disc.appNote.empty())
        std::cerr << "docshelf-inspect: note: " << disc.appNote << "\n";
    if (!disc.mapping.empty())
        std::cerr << "docshelf-inspect: note: " << disc.mapping << "\n";
    foundation::Bundle::setMainBundlePath(disc.app);
    return disc;
}

int CommandRun::reportFindings(Findings& findings, const CommandLine& command, const std::string& before) {
    findings.ignore(command.ignored);
    std::cout << FindingsOutput::write(findings, command.format, DOCSHELF_VERSION);
    std::cerr << "docshelf-inspect: " << before << findings.summary() << "\n";
    if (!std::cout.good())
        return 1;
    bool failed = findings.hasErrors() || (command.strict && findings.count(Severity::Warning) > 0);
    return failed ? 1 : 0;
}

}
