#include "XvfbServer.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <sys/wait.h>

namespace docshelf::fltk::testing {

namespace {

constexpr const char* program = "/usr/bin/Xvfb";
constexpr int startTimeoutMs = 10000;

}

XvfbServer& XvfbServer::shared() {
    static XvfbServer server;
    return server;
}

bool XvfbServer::installed() {
    return access(program, X_OK) == 0;
}

XvfbServer::XvfbServer() {
    if (!installed())
        return;
    int fds[2];
    if (pipe(fds) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        close(fds[0]);
        // -displayfd: the server picks a free display and writes its number to the pipe.
        std::string fd = std::to_string(fds[1]);
        execl(program, program, "-displayfd", fd.c_str(), "-screen", "0", "1280x900x24", "-nolisten", "tcp",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        return;
    }
    std::string number;
    pollfd wait{fds[0], POLLIN, 0};
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(startTimeoutMs);
    while (std::chrono::steady_clock::now() < deadline && poll(&wait, 1, 100) >= 0) {
        char c = 0;
        if (!(wait.revents & (POLLIN | POLLHUP)))
            continue;
        if (read(fds[0], &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return;
    }
    display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid_, nullptr, WNOHANG) == pid_)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

}
