#include "platform/appkit/ApplicationMain.h"

int main(int argc, char** argv) {
    return docshelf::appkit::applicationMain(argc, argv);
}
