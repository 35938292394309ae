#include "ChildProcess.h"

#include <csignal>

namespace docshelf::testing {

using foundation::BoundedRun;

// Longer than any test runs; the test ends it.
ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& environment)
    : run_(BoundedRun::start(program, {}, std::chrono::hours(1), environment)) {}

ChildProcess::~ChildProcess() {
    terminate();
}

std::optional<int> ChildProcess::waitFor(std::chrono::milliseconds timeout) {
    if (!run_.waitFor(timeout))
        return std::nullopt;
    return run_.outcome() == BoundedRun::Outcome::Ended ? run_.status() : -1;
}

void ChildProcess::terminate() {
    run_.stop(std::chrono::seconds(3));
}

void ChildProcess::sendSignal(int signal) {
    // Only to a program still running: an ended one's number may be another's by now.
    if (run_.pid() > 0 && !run_.waitFor(std::chrono::milliseconds(0)))
        ::kill(run_.pid(), signal);
}

int runBounded(const std::string& commandLine, std::chrono::seconds timeout) {
    auto run = BoundedRun::run("/bin/sh", {"-c", commandLine}, timeout);
    return run.outcome() == BoundedRun::Outcome::Ended ? run.status() : -1;
}

std::string outputOf(const std::string& commandLine, std::chrono::seconds timeout) {
    return BoundedRun::run("/bin/sh", {"-c", commandLine}, timeout).out();
}

}
