#include "ShellRunner.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <string_view>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace docshelf::foundation {

namespace {

ShellRunner::Handler& handler() {
    static ShellRunner::Handler current;
    return current;
}

constexpr std::string_view localeVariable = "LC_ALL=";
constexpr const char* cLocale = "LC_ALL=C";

}

int ShellRunner::system(const std::string& command) {
    if (handler())
        return handler()(command);
    return run("/bin/sh", command);
}

int ShellRunner::run(const std::string& shell, const std::string& command) {
    // This process's environment with LC_ALL=C in place of any LC_ALL.
    std::vector<char*> environment;
    for (char** entry = environ; entry && *entry; ++entry)
        if (std::strncmp(*entry, localeVariable.data(), localeVariable.size()) != 0)
            environment.push_back(*entry);
    environment.push_back(const_cast<char*>(cLocale));
    environment.push_back(nullptr);

    std::string name = shell;
    std::string flag = "-c";
    std::string line = command;
    char* argv[] = {name.data(), flag.data(), line.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, shell.c_str(), nullptr, nullptr, argv, environment.data()) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return status;
}

void ShellRunner::setHandler(Handler replacement) {
    handler() = std::move(replacement);
}

}
