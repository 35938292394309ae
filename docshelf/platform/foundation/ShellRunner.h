#pragma once

#include <functional>
#include <string>

namespace docshelf::foundation {

// Runs a command line through the shell and waits for it, as system() does.
// Tests and tools install a handler that records instead of running.
class ShellRunner {
public:
    using Handler = std::function<int(const std::string& command)>;

    static int system(const std::string& command);
    // An empty handler restores the real shell.
    static void setHandler(Handler handler);
};

}
