#include "cli/Installation.h"
#include "inspect/catalogue/CatalogueReport.h"
#include "inspect/check/DiscCheck.h"
#include "inspect/diff/DiscComparison.h"
#include "inspect/cli/CommandRun.h"

#include "window/session/JsonExport.h"
#include "window/session/WindowSession.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

using namespace docshelf;

int main(int argc, char** argv) {
    int status = 0;
    auto command = inspect::CommandRun::read(argc, argv, status);
    if (!command)
        return status;

    // Drawing needs X, FLTK and the font libraries; this program links none of
    // them, so that check runs where there is no desktop. render is a program of
    // its own, run in this one's place with the same arguments.
    if (command->command == "render") {
        std::string render = cli::Installation::renderProgram();
        argv[0] = render.data();
        execv(render.c_str(), argv);
        std::cerr << "docshelf-inspect: render runs " << render << ", which cannot be started: " << std::strerror(errno)
                  << "\n";
        return 2;
    }

    if (command->command == "diff")
        return inspect::DiscComparison::run(*command->disc, *command->other,
                                            command->format == inspect::OutputFormat::Json, std::cout, std::cerr);

    auto disc = inspect::CommandRun::openDisc(*command);
    if (!disc)
        return 2;

    if (command->command == "check") {
        auto findings = inspect::DiscCheck::run({disc->app, disc->messageBundle, disc->windows, command->disc});
        return inspect::CommandRun::reportFindings(findings, *command, "");
    }

    nlohmann::ordered_json report;
    if (command->command == "catalogue")
        report =
            command->model ? inspect::CatalogueReport::model(*command->model) : inspect::CatalogueReport::catalogue();
    else if (command->command == "lookup")
        report = inspect::CatalogueReport::lookup(*command->model, *command->language);
    else {
        std::string error;
        auto session = WindowSession::start({disc->app, disc->messageBundle, command->reader}, error);
        if (!session) {
            std::cerr << "docshelf-inspect: cannot load the window: " << error << "\n";
            return 1;
        }
        auto states = nlohmann::ordered_json::array();
        states.push_back(session->state());
        for (const auto& step : command->steps) {
            session->apply(step);
            states.push_back(session->state());
        }
        report["states"] = std::move(states);
    }
    std::cout << render(report);
    return std::cout.good() ? 0 : 1;
}
