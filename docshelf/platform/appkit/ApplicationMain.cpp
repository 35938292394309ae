#include "ApplicationMain.h"

#include "Application.h"
#include "NibLoader.h"

#include <iostream>

namespace docshelf::appkit {

int applicationMain(int argc, char** argv) {
    const char* program = argc > 0 && argv && argv[0] ? argv[0] : "application";
    Application& application = Application::shared();
    // Kept for the whole run: it holds the description's objects.
    NibLoadResult loaded = NibLoader::loadMainWindowDescription(application);
    if (!loaded.ok()) {
        // A note for whoever looks at the console; the application reports no
        // failure, so it ends as if its user had quit it.
        std::cerr << program << ": cannot load the window description: " << loaded.error() << "\n";
        return 0;
    }
    application.finishLaunching();
    return application.run();
}

}
