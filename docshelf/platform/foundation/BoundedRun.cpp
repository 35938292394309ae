#include "BoundedRun.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

extern char** environ;

namespace docshelf::foundation {

namespace {

// The groups running now, for stopAll(), which a signal handler calls.
constexpr std::size_t slots = 16;
std::atomic<pid_t> running[slots];

void enter(pid_t group) {
    for (auto& slot : running) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, group))
            return;
    }
}

void leave(pid_t group) {
    for (auto& slot : running) {
        pid_t expected = group;
        if (slot.compare_exchange_strong(expected, 0))
            return;
    }
}

std::string slurp(int descriptor) {
    std::string text;
    if (descriptor < 0)
        return text;
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
    char name[] = "/tmp/docshelf-run-XXXXXX";
    int descriptor = mkostemp(name, O_CLOEXEC);
    if (descriptor >= 0)
        unlink(name);
    return descriptor;
}

std::string onPath(const std::string& program) {
    if (program.find('/') != std::string::npos)
        return program;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "/usr/bin:/bin";
    for (std::size_t start = 0; start <= folders.size();) {
        std::size_t end = std::min(folders.find(':', start), folders.size());
        std::string candidate = (end == start ? "." : folders.substr(start, end - start)) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return program;
}

// The line that says what went wrong: the first that xorriso marks as a
// failure, else the first that is not empty (a program's reason comes
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

BoundedRun BoundedRun::start(const std::string& program, const std::vector<std::string>& arguments,
                             std::chrono::milliseconds limit, const std::vector<std::string>& environment) {
    BoundedRun result;
    result.limit_ = limit;
    result.outFile_ = scratchFile();
    result.errFile_ = scratchFile();
    int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int failed[2] = {-1, -1};
    if (result.outFile_ < 0 || result.errFile_ < 0 || input < 0 || pipe2(failed, O_CLOEXEC) != 0) {
        result.err_ = "no scratch file for its output";
        if (input >= 0)
            close(input);
        return result;
    }

    // Everything the child needs is made before it is forked: after fork it
    // may only make calls that are safe there.
    const std::string path = onPath(program);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    std::vector<std::string> entries;
    for (const auto& given : environment)
        if (given.find('=') != std::string::npos)
            entries.push_back(given);
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        bool replaced = false;
        for (const auto& given : environment)
            replaced = replaced || nameOf(given) == nameOf(entry);
        if (!replaced)
            entries.push_back(std::move(entry));
    }
    std::vector<char*> envp;
    for (auto& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
#ifdef __linux__
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
#endif
        dup2(input, STDIN_FILENO);
        dup2(result.outFile_, STDOUT_FILENO);
        dup2(result.errFile_, STDERR_FILENO);
        execve(path.c_str(), argv.data(), envp.data());
        int number = errno;
        ssize_t ignored = write(failed[1], &number, sizeof number);
        (void)ignored;
        _exit(127);
    }
    close(input);
    close(failed[1]);
    if (pid < 0) {
        close(failed[0]);
        result.err_ = std::strerror(errno);
        return result;
    }
    // Set here too, so the group exists whichever of the two runs first.
    setpgid(pid, pid);
    enter(pid);
    result.pid_ = pid;
    int number = 0;
    ssize_t got = 0;
    while ((got = read(failed[0], &number, sizeof number)) < 0 && errno == EINTR) {
    }
    close(failed[0]);
    if (got == sizeof number) {
        waitpid(pid, nullptr, 0);
        leave(pid);
        result.pid_ = 0;
        result.err_ = std::strerror(number);
        return result;
    }
    result.outcome_ = Outcome::Running;
    result.deadline_ = std::chrono::steady_clock::now() + limit;
    return result;
}

BoundedRun BoundedRun::run(const std::string& program, const std::vector<std::string>& arguments,
                           std::chrono::milliseconds limit, const std::vector<std::string>& environment) {
    BoundedRun result = start(program, arguments, limit, environment);
    result.wait();
    return result;
}

void BoundedRun::wait() {
    waitFor(std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - std::chrono::steady_clock::now()) +
            std::chrono::milliseconds(1));
}

bool BoundedRun::waitFor(std::chrono::milliseconds time) {
    if (outcome_ != Outcome::Running) {
        if (outcome_ == Outcome::NotStarted)
            end();
        return true;
    }
    const auto until = std::min(deadline_, std::chrono::steady_clock::now() + time);
    // The leader is looked at without being reaped, so its group cannot be
    // another's by the time what is left of it is killed.
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        siginfo_t info{};
        int looked = waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
        if (looked == 0 && info.si_pid == pid_)
            break;
        if (looked != 0 && errno != EINTR)
            break;
        auto now = std::chrono::steady_clock::now();
        if (now >= deadline_) {
            outcome_ = Outcome::TimedOut;
            break;
        }
        if (now >= until)
            return false;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(20));
    }
    // What the program left running in its group ends with it.
    kill(-pid_, SIGKILL);
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    finish(status);
    return true;
}

void BoundedRun::stop(std::chrono::milliseconds grace) {
    if (outcome_ != Outcome::Running)
        return;
    kill(-pid_, SIGTERM);
    if (!waitFor(grace)) {
        deadline_ = std::chrono::steady_clock::now();
        wait();
    }
}

void BoundedRun::finish(int status) {
    leave(pid_);
    out_ = slurp(outFile_);
    err_ = slurp(errFile_);
    outFile_ = errFile_ = -1;
    if (outcome_ == Outcome::TimedOut)
        return;
    if (WIFEXITED(status)) {
        outcome_ = Outcome::Ended;
        status_ = WEXITSTATUS(status);
    } else {
        outcome_ = Outcome::Killed;
    }
}

void BoundedRun::stopAll() {
    for (auto& slot : running)
        if (pid_t group = slot.load(); group > 0)
            kill(-group, SIGKILL);
}

BoundedRun::BoundedRun(BoundedRun&& other) noexcept {
    *this = std::move(other);
}

BoundedRun& BoundedRun::operator=(BoundedRun&& other) noexcept {
    if (this == &other)
        return *this;
    end();
    outcome_ = other.outcome_;
    status_ = other.status_;
    pid_ = other.pid_;
    limit_ = other.limit_;
    deadline_ = other.deadline_;
    outFile_ = other.outFile_;
    errFile_ = other.errFile_;
    out_ = std::move(other.out_);
    err_ = std::move(other.err_);
    other.outcome_ = Outcome::NotStarted;
    other.outFile_ = other.errFile_ = -1;
    other.pid_ = 0;
    return *this;
}

BoundedRun::~BoundedRun() {
    end();
}

void BoundedRun::end() {
    if (outcome_ == Outcome::Running) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        leave(pid_);
        outcome_ = Outcome::Killed;
    }
    if (outFile_ >= 0)
        close(outFile_);
    if (errFile_ >= 0)
        close(errFile_);
    outFile_ = errFile_ = -1;
}

std::string BoundedRun::outSoFar() const {
    if (outcome_ != Outcome::Running)
        return out_;
    std::string text;
    char buffer[4096];
    ssize_t got = 0;
    for (off_t at = 0; (got = pread(outFile_, buffer, sizeof buffer, at)) > 0; at += got)
        text.append(buffer, static_cast<std::size_t>(got));
    return text;
}

std::string BoundedRun::failure(const std::string& name) const {
    switch (outcome_) {
    case Outcome::NotStarted:
        return name + " could not be started (" + err_ + ")";
    case Outcome::TimedOut:
        return name + " did not end within " +
               std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit_).count()) +
               " seconds and was stopped";
    case Outcome::Killed:
        return name + " was killed by a signal";
    case Outcome::Running:
        return name + " is still running";
    case Outcome::Ended:
        break;
    }
    std::string line = telling(err_.empty() ? out_ : err_);
    return name + " ended with status " + std::to_string(status_) + (line.empty() ? "" : ": " + line);
}

}
