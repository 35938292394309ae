#include "inspect/check/VolumeNameCheck.h"
#include "inspect/cli/CommandRun.h"
#include "disc/Disc.h"
#include "inspect/common/Wording.h"
#include "inspect/render/WindowRender.h"

#include "platform/fltk/WindowPicture.h"
#include "window/Locations.h"

#include <iostream>
#include <unistd.h>

using namespace docshelf;

// docshelf-inspect render: the one command that draws, and so the one program
// of the inspector that links FLTK, X and the font libraries.
int main(int argc, char** argv) {
    int status = 0;
    auto command = inspect::CommandRun::read(argc, argv, status);
    if (!command)
        return status;
    if (command->command != "render") {
        std::cerr << "docshelf-inspect-render: only draws; run docshelf-inspect " << command->command << "\n";
        return 2;
    }
    auto disc = inspect::CommandRun::openDisc(*command);
    if (!disc)
        return 2;

    auto backend = fltk::WindowPicture::openBackend();
    if (!backend) {
        std::cerr << "docshelf-inspect: render draws the window on a display, and there is none here "
                     "(DISPLAY is not set or does not answer).\n"
                     "Run it on a virtual display: xvfb-run docshelf-inspect render --app BUNDLE --out DIR\n";
        return 2;
    }
    // On a disc of another volume name the browser finds no texts: draw what its user sees.
    auto lists = docshelf::disc::Disc::read();
    auto otherVolume = inspect::VolumeNameCheck::otherVolume(lists);
    auto texts = otherVolume && !command->messageBundle
                     ? std::optional<std::string>(Locations::macDefaults().messageBundle)
                     : disc->messageBundle;
    auto result = inspect::WindowRender::run(
        {disc->app, texts, *command->out, command->model, command->language, isatty(STDERR_FILENO) == 1}, backend);
    if (otherVolume)
        inspect::VolumeNameCheck::run({lists, command->disc}, result.findings);
    if (result.cut)
        std::cerr << "docshelf-inspect: stopped at " << inspect::WindowRender::maximumPictures
                  << " pictures, the most one run draws; choose the rest with --model and --language\n";
    if (!result.ok) {
        std::cout << result.findings.text();
        std::cerr << "docshelf-inspect: " << result.error << "\n";
        return 1;
    }
    return inspect::CommandRun::reportFindings(result.findings, *command,
                                               inspect::counted(result.pictures, "window") + " rendered to " +
                                                   *command->out + "/index.html; ");
}
