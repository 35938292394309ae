#include "ShellRunner.h"

#include <cstdlib>

namespace docshelf::foundation {

namespace {

ShellRunner::Handler& handler() {
    static ShellRunner::Handler current;
    return current;
}

}

int ShellRunner::system(const std::string& command) {
    if (handler())
        return handler()(command);
    return std::system(command.c_str());
}

void ShellRunner::setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

}
