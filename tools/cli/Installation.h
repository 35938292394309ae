#pragma once

#include <string>

namespace docshelf::cli {

// Where the running tool lies and where the data it ships with is, found from
// the executable's own path, never from a path compiled in. Installed, the
// tools are PREFIX/bin/docshelf-*, with PREFIX/lib/docshelf (the application
// bundle and the drawing program, which hold executables) and
// PREFIX/share/docshelf (the message template, the Windows programs and the
// language table to start one's own from). In the build tree they are build/tools/docshelf-*, beside
// what the build made. Each place is the first of the two that exists, else
// the installed one, so that a message names where it was looked for.
class Installation {
public:
    // The running program's own path, links resolved; empty when the system does not say.
    static std::string executable();

    static std::string application();     // Docshelf.app
    static std::string messageTemplate(); // CDCommonMessage.bundle
    static std::string windowsPrograms(); // the folder of Startwick.exe and Vendpost.exe
    static std::string renderProgram();   // docshelf-inspect-render
};

}
