#include "Interruption.h"

#include "platform/foundation/BoundedRun.h"

#include <csignal>
#include <cstring>
#include <sys/wait.h>
#include <unistd.h>

namespace docshelf::press {

namespace {

// Fixed room, filled before the handler may read it: a run stages at most an
// image and a disc folder at a time.
constexpr std::size_t slots = 4;
constexpr std::size_t room = 4096;
char guarded[slots][room];

void runQuietly(const char* program, const char* first, const char* second, const char* path) {
    pid_t child = fork();
    if (child == 0) {
        const char* argv[] = {program, first, second, path, nullptr};
        char* const environment[] = {nullptr};
        execve(program, const_cast<char* const*>(argv), environment);
        _exit(127);
    }
    if (child > 0)
        waitpid(child, nullptr, 0);
}

void onSignal(int signal) {
    foundation::BoundedRun::stopAll();
    for (auto& path : guarded)
        if (path[0] != '\0') {
            // Extracted image trees are read-only.
            runQuietly("/bin/chmod", "-R", "u+w", path);
            runQuietly("/bin/rm", "-rf", "--", path);
        }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void install() {
    static const bool installed = [] {
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, onSignal);
        return true;
    }();
    (void)installed;
}

}

void Interruption::guard(const std::string& path) {
    install();
    if (path.size() >= room)
        return;
    for (auto& slot : guarded)
        if (slot[0] == '\0') {
            std::memcpy(slot, path.c_str(), path.size() + 1);
            return;
        }
}

void Interruption::release(const std::string& path) {
    for (auto& slot : guarded)
        if (path == slot)
            slot[0] = '\0';
}

}
