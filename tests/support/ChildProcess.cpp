#include "ChildProcess.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <thread>
#include <unistd.h>
#include <sys/wait.h>

namespace docshelf::testing {

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& environment) {
    pid_ = fork();
    if (pid_ != 0)
        return;
    for (const auto& entry : environment) {
        auto equals = entry.find('=');
        if (equals == std::string::npos)
            unsetenv(entry.c_str());
        else
            setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
    int null = open("/dev/null", O_RDWR);
    dup2(null, STDOUT_FILENO);
    dup2(null, STDERR_FILENO);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
}

ChildProcess::~ChildProcess() {
    terminate();
}

std::optional<int> ChildProcess::waitFor(std::chrono::milliseconds timeout) {
    if (status_ || pid_ <= 0)
        return status_;
    auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            return status_;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

void ChildProcess::terminate() {
    if (pid_ <= 0 || status_)
        return;
    kill(pid_, SIGTERM);
    if (!waitFor(std::chrono::seconds(3))) {
        kill(pid_, SIGKILL);
        waitFor(std::chrono::seconds(3));
    }
}

void ChildProcess::sendSignal(int signal) {
    if (pid_ > 0 && !status_)
        kill(pid_, signal);
}

int runBounded(const std::string& commandLine, std::chrono::seconds timeout) {
    std::string bounded = "timeout -s KILL " + std::to_string(timeout.count()) + " sh -c '" + commandLine + "'";
    int status = std::system(bounded.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 137)
        return -1;
    return WEXITSTATUS(status);
}

}
