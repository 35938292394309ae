#include "inspect/catalogue/CatalogueReport.h"
#include "inspect/cli/CommandLine.h"
#include "inspect/cli/DiscFolder.h"
#include "inspect/common/Codes.h"
#include "inspect/common/FindingsOutput.h"
#include "inspect/common/Wording.h"
#include "inspect/check/DiscCheck.h"
#include "inspect/common/JsonExport.h"
#include "inspect/diff/DiscComparison.h"
#include "inspect/render/WindowRender.h"
#include "inspect/window/WindowSession.h"

#include "platform/fltk/WindowPicture.h"

#include "platform/foundation/Bundle.h"

#include <iostream>
#include <unistd.h>

using namespace docshelf;

namespace {

// The findings of check or render in the chosen format, the count on standard
// error, and the exit status: 1 with an error (or, --strict, a warning).
int reportFindings(inspect::Findings& findings, const inspect::CommandLine& command, const std::string& before) {
    findings.ignore(command.ignored);
    std::cout << inspect::FindingsOutput::write(findings, command.format, DOCSHELF_VERSION);
    std::cerr << "docshelf-inspect: " << before << findings.summary() << "\n";
    if (!std::cout.good())
        return 1;
    bool failed = findings.hasErrors() || (command.strict && findings.count(inspect::Severity::Warning) > 0);
    return failed ? 1 : 0;
}

}

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    auto parsed = inspect::parseCommandLine(arguments);
    if (!parsed.commandLine) {
        std::cerr << "docshelf-inspect: " << parsed.error << "\n\n" << inspect::usage;
        return 2;
    }
    const auto& command = *parsed.commandLine;
    if (command.command == "help") {
        std::cout << inspect::usage;
        return 0;
    }
    if (command.command == "version") {
        std::cout << "docshelf-inspect " << DOCSHELF_VERSION << "\n";
        return 0;
    }
    if (command.command == "explain") {
        const auto* code = inspect::Codes::find(command.explain);
        std::cout << code->code << "\n  Found:     " << code->meaning << "\n  The user:  " << code->seen
                  << "\n  To fix it: " << code->fix << "\n";
        return 0;
    }

    if (command.command == "diff")
        return inspect::DiscComparison::run(*command.disc, *command.other, command.format == inspect::OutputFormat::Json,
                                            std::cout, std::cerr);

    auto disc = inspect::DiscFolder::resolve(command);
    if (!disc.error.empty()) {
        std::cerr << "docshelf-inspect: " << disc.error << "\n";
        return 2;
    }
    if (!disc.appNote.empty())
        std::cerr << "docshelf-inspect: note: " << disc.appNote << "\n";
    if (!disc.mapping.empty())
        std::cerr << "docshelf-inspect: note: " << disc.mapping << "\n";
    foundation::Bundle::setMainBundlePath(disc.app);

    if (command.command == "check") {
        auto findings = inspect::DiscCheck::run({disc.app, disc.messageBundle, disc.windows});
        return reportFindings(findings, command, "");
    }

    if (command.command == "render") {
        auto backend = fltk::WindowPicture::openBackend();
        if (!backend) {
            std::cerr << "docshelf-inspect: render draws the window on a display, and there is none here "
                         "(DISPLAY is not set or does not answer).\n"
                         "Run it on a virtual display: xvfb-run docshelf-inspect render --app BUNDLE --out DIR\n";
            return 2;
        }
        auto result = inspect::WindowRender::run(
            {disc.app, disc.messageBundle, *command.out, command.model, command.language, isatty(STDERR_FILENO) == 1},
            backend);
        if (result.cut)
            std::cerr << "docshelf-inspect: stopped at " << inspect::WindowRender::maximumPictures
                      << " pictures, the most one run draws; choose the rest with --model and --language\n";
        if (!result.ok) {
            std::cout << result.findings.text();
            std::cerr << "docshelf-inspect: " << result.error << "\n";
            return 1;
        }
        return reportFindings(result.findings, command,
                              inspect::counted(result.pictures, "window") + " rendered to " + *command.out +
                                  "/index.html; ");
    }

    nlohmann::ordered_json report;
    if (command.command == "catalogue")
        report =
            command.model ? inspect::CatalogueReport::model(*command.model) : inspect::CatalogueReport::catalogue();
    else if (command.command == "lookup")
        report = inspect::CatalogueReport::lookup(*command.model, *command.language);
    else {
        std::string error;
        auto session = inspect::WindowSession::start({disc.app, disc.messageBundle, command.reader}, error);
        if (!session) {
            std::cerr << "docshelf-inspect: cannot load the window: " << error << "\n";
            return 1;
        }
        auto states = nlohmann::ordered_json::array();
        states.push_back(session->state());
        for (const auto& step : command.steps) {
            session->apply(step);
            states.push_back(session->state());
        }
        report["states"] = std::move(states);
    }
    std::cout << inspect::render(report);
    return std::cout.good() ? 0 : 1;
}
