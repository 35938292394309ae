#pragma once

#include <string>

namespace docshelf::press {

// What the press cleans up when it is interrupted (Ctrl-C, SIGTERM, a closed
// terminal): the outside program it waits for is killed and every staging
// folder still registered is removed, so an interrupted run leaves nothing
// half-written either. The handler uses only calls that are safe in a signal
// handler (fork, execve, waitpid, kill). A run killed outright (SIGKILL) runs
// no handler: its outside programs die with it, and the staging folders it
// leaves are removed by the next run (see StagingFolder).
class Interruption {
public:
    static void guard(const std::string& path);
    static void release(const std::string& path);
};

}
