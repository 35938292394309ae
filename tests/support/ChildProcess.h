#pragma once

#include "platform/foundation/BoundedRun.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace docshelf::testing {

// A program started in the background, with its output thrown away, that is
// ended (SIGTERM, then SIGKILL, its whole process group) when the object goes.
class ChildProcess {
public:
    // Environment entries "NAME=value" set a variable in the program's
    // environment, a bare "NAME" removes it.
    ChildProcess(const std::string& program, const std::vector<std::string>& environment);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return run_.pid() > 0; }
    // The exit status once it ended within the time; nullopt while it runs.
    std::optional<int> waitFor(std::chrono::milliseconds timeout);
    void terminate();
    // Sends the signal, as a desktop's session or a person at a terminal does.
    void sendSignal(int signal);

private:
    foundation::BoundedRun run_;
};

// Runs a shell command line, bounded by a timeout; its exit status, -1 on timeout.
int runBounded(const std::string& commandLine, std::chrono::seconds timeout);
// What a shell command line printed, bounded by a timeout.
std::string outputOf(const std::string& commandLine, std::chrono::seconds timeout);

}
