#include "BoundedRun.h"

#include "Interruption.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace docshelf::press {

namespace {

std::string slurp(int descriptor) {
    std::string text;
    lseek(descriptor, 0, SEEK_SET);
    char buffer[65536];
    ssize_t got = 0;
    while ((got = read(descriptor, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(got));
    close(descriptor);
    return text;
}

// An unnamed file for the program's output: a pipe would need reading while it runs.
int scratchFile() {
    char name[] = "/tmp/docshelf-press-XXXXXX";
    int descriptor = mkstemp(name);
    if (descriptor >= 0)
        unlink(name);
    return descriptor;
}

// The line that says what went wrong: the first that xorriso marks as a
// failure, else the first that is not empty (the inspector's reason comes
// before its usage).
std::string telling(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    for (const auto& line : lines)
        if (line.find(" : FAILURE : ") != std::string::npos || line.find(" : SORRY : ") != std::string::npos ||
            line.find("ERROR") != std::string::npos)
            return line;
    return lines.empty() ? "" : lines.front();
}

}

BoundedRun BoundedRun::run(const std::string& program, const std::vector<std::string>& arguments,
                           std::chrono::seconds limit) {
    BoundedRun result;
    result.limit_ = limit;
    int out = scratchFile();
    int err = scratchFile();
    if (out < 0 || err < 0) {
        result.err_ = "no scratch file for its output";
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own, so that a timeout ends what it started too.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        close(out);
        close(err);
        result.err_ = std::strerror(spawned);
        return result;
    }
    Interruption::waitingFor(pid);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            break;
        if (done < 0 && errno != EINTR)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.outcome_ = Outcome::TimedOut;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Interruption::waitingFor(0);
    result.out_ = slurp(out);
    result.err_ = slurp(err);
    if (result.outcome_ == Outcome::TimedOut)
        return result;
    if (WIFEXITED(status)) {
        result.outcome_ = Outcome::Ended;
        result.status_ = WEXITSTATUS(status);
    } else {
        result.outcome_ = Outcome::Killed;
    }
    return result;
}

std::string BoundedRun::failure(const std::string& name) const {
    switch (outcome_) {
    case Outcome::NotStarted:
        return name + " could not be started (" + err_ + ")";
    case Outcome::TimedOut:
        return name + " did not end within " + std::to_string(limit_.count()) + " seconds and was stopped";
    case Outcome::Killed:
        return name + " was killed by a signal";
    case Outcome::Ended:
        break;
    }
    std::string line = telling(err_.empty() ? out_ : err_);
    return name + " ended with status " + std::to_string(status_) + (line.empty() ? "" : ": " + line);
}

}
