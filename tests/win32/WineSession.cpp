#include "WineSession.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
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
    for (const char* name : {"LANG=", "LANGUAGE=", "LC_", "DISPLAY=", "WAYLAND_DISPLAY=", "WINEPREFIX=",
                             "WINEDEBUG=", "DOCSHELF_"}) {
        if (entry.rfind(name, 0) == 0)
            return true;
    }
    return false;
}

}

WineSession::WineSession() : WineSession(DOCSHELF_WINE_PREFIX, DOCSHELF_WINE_LOG) {}

WineSession::WineSession(std::filesystem::path prefix, std::filesystem::path log)
    : prefix_(std::move(prefix)), log_(std::move(log))
{
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
    Environment settings = {{"WINEPREFIX", prefix_.string()}, {"WINEDEBUG", "-all"}, {"LANG", "en_US.UTF-8"}};
    for (const auto& [name, value] : environment)
        settings[name] = value;
    for (const auto& [name, value] : settings)
        entries.push_back(name + "=" + value);

    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {"wine"};
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
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, "wine", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}
