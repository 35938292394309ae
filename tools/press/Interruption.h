#pragma once

#include <string>
#include <sys/types.h>

namespace docshelf::press {

// What the press cleans up when it is interrupted (Ctrl-C, SIGTERM, a closed
// terminal): the outside program it waits for is killed and every staging
// folder still registered is removed, so an interrupted run leaves nothing
// half-written either. The handler uses only calls that are safe in a signal
// handler (fork, execve, waitpid, kill).
class Interruption {
public:
    static void guard(const std::string& path);
    static void release(const std::string& path);
    // The process group of the outside program being waited for; 0 for none.
    static void waitingFor(pid_t group);
};

}
