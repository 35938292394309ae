#include "Locations.h"

#include "platform/appkit/ApplicationMain.h"
#include "platform/foundation/Bundle.h"

#include <cstdlib>

int main(int argc, char** argv) {
    // Off the Mac the disc's volume is read where it lies; a Mac maps nothing.
    auto app = docshelf::foundation::Bundle::mainBundle().bundlePath();
    if (app.isString())
        docshelf::Locations::mapVolumes([](const char* name) { return std::getenv(name); }, std::string(app.text()));
    return docshelf::appkit::applicationMain(argc, argv);
}
