#include "WineSession.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace docshelf::testing {

namespace {

// Variables of the caller's environment that would decide the Windows locale
// or show windows in place of the ones a test gives.
bool IsOverridden(const std::string& entry)
{
    for (const char* name : {"LANG=", "LANGUAGE=", "LC_", "DISPLAY=", "WAYLAND_DISPLAY=", "WINE", "DOCSHELF_"}) {
        if (entry.rfind(name, 0) == 0)
            return true;
    }
    return false;
}

// Wine starts a program's children from a process that it forks and leaves at
// once, so they are orphans; this process adopts them as their subreaper, and
// so it can wait for them.
void AdoptOrphans()
{
    static const bool adopting = prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0) == 0;
    (void)adopting;
}

// Kills this process's children, the adopted ones included.
void KillChildren()
{
    const std::string parent = std::to_string(getpid());
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        // /proc/<pid>/stat: "pid (name) state ppid ...", the name may hold blanks.
        std::ifstream in(entry.path() / "stat");
        std::string stat;
        if (!std::getline(in, stat))
            continue;
        const auto nameEnd = stat.rfind(')');
        if (nameEnd == std::string::npos || nameEnd + 4 > stat.size())
            continue;
        const auto ppidStart = nameEnd + 4;
        const auto ppidEnd = stat.find(' ', ppidStart);
        if (stat.substr(ppidStart, ppidEnd - ppidStart) == parent)
            kill(static_cast<pid_t>(std::stol(entry.path().filename().string())), SIGKILL);
    }
}

// Reaps children until none is left; false when some were still running at the deadline.
bool ReapAll(std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        int status = 0;
        pid_t done = waitpid(-1, &status, WNOHANG);
        if (done > 0 || (done < 0 && errno == EINTR))
            continue;
        if (done < 0)
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}

WineSession::WineSession() : WineSession(DOCSHELF_WINE_PREFIX, DOCSHELF_WINE_LOG, WineArchitecture()) {}

WineSession::WineSession(std::filesystem::path prefix, std::filesystem::path log, WineArchitecture architecture)
    : prefix_(std::move(prefix)), log_(std::move(log)), architecture_(std::move(architecture))
{
}

::testing::AssertionResult WineSession::ready() const
{
    if (architecture_.usable())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "Wine cannot run the Windows programs here: " << architecture_.reason();
}

int WineSession::run(const std::filesystem::path& program, const Environment& environment,
                     const std::filesystem::path& workingDirectory, std::chrono::seconds timeout) const
{
    return spawn({program.string()}, environment, workingDirectory, timeout);
}

bool WineSession::setDefaultValue(const std::string& key, const std::string& value) const
{
    return spawn({"reg", "add", key, "/ve", "/d", value, "/f"}, {}, {}, std::chrono::seconds(60)) == 0;
}

bool WineSession::deleteDefaultValue(const std::string& key) const
{
    return spawn({"reg", "delete", key, "/ve", "/f"}, {}, {}, std::chrono::seconds(60)) == 0;
}

std::string WineSession::windowsPath(const std::filesystem::path& unixPath)
{
    std::string path = "Z:" + std::filesystem::absolute(unixPath).lexically_normal().string();
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}

int WineSession::spawn(const std::vector<std::string>& arguments, const Environment& environment,
                       const std::filesystem::path& workingDirectory, std::chrono::seconds timeout) const
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!IsOverridden(*entry))
            entries.emplace_back(*entry);
    }
    Environment settings = {{"WINEPREFIX", prefix_.string()},
                            {"WINELOADER", architecture_.loader().string()},
                            {"WINESERVER", architecture_.server().string()},
                            {"WINEDEBUG", "-all"},
                            {"LANG", "en_US.UTF-8"}};
    for (const auto& [name, value] : environment)
        settings[name] = value;
    for (const auto& [name, value] : settings)
        entries.push_back(name + "=" + value);

    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {architecture_.loader().string()};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : args)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log_.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    AdoptOrphans();
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, args[0].c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    bool ended = false;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            ended = true;
            break;
        }
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // What the program started is adopted by now, as its Unix parents have ended.
    if (!ReapAll(deadline)) {
        KillChildren();
        ReapAll(std::chrono::steady_clock::now() + std::chrono::seconds(10));
        return -1;
    }
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}
