#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace docshelf::foundation {

// The one way the programs, tools and tests start another program: without a
// shell, standard input from /dev/null, its output collected, in a process
// group of its own that is ended whole when the time limit passes, and (on
// Linux) killed by the system when the process that started it dies, however
// that dies (strictly: when the thread that started it ends, so start long
// runs from the main thread). A program that hangs cannot hang its caller, nor outlive it.
class BoundedRun {
public:
    enum class Outcome { Running, Ended, NotStarted, TimedOut, Killed };

    // Starts `program` (looked up on PATH when it has no "/"); `environment`
    // holds NAME=VALUE entries that replace inherited ones of the same name,
    // and bare NAMEs of inherited ones to leave out.
    static BoundedRun start(const std::string& program, const std::vector<std::string>& arguments,
                            std::chrono::milliseconds limit, const std::vector<std::string>& environment = {});
    // Starts it and waits for it.
    static BoundedRun run(const std::string& program, const std::vector<std::string>& arguments,
                          std::chrono::milliseconds limit, const std::vector<std::string>& environment = {});
    // Ends every process group still running, at once; safe in a signal handler.
    static void stopAll();

    BoundedRun(BoundedRun&& other) noexcept;
    BoundedRun& operator=(BoundedRun&& other) noexcept;
    BoundedRun(const BoundedRun&) = delete;
    BoundedRun& operator=(const BoundedRun&) = delete;
    // A run still going is ended, group and all.
    ~BoundedRun();

    // Waits until the program ends or its limit passes, then ends its group.
    void wait();
    // Waits at most `time` (and never past the limit); false while it still runs.
    bool waitFor(std::chrono::milliseconds time);
    // Asks the group to end (SIGTERM), and ends it after `grace` if it has not.
    void stop(std::chrono::milliseconds grace);
    pid_t pid() const { return pid_; }
    Outcome outcome() const { return outcome_; }
    bool succeeded() const { return outcome_ == Outcome::Ended && status_ == 0; }
    int status() const { return status_; }
    const std::string& out() const { return out_; }
    // What it has printed on standard output so far, while it runs.
    std::string outSoFar() const;
    const std::string& err() const { return err_; }
    // One line for a failure: "xorriso did not end within 600 seconds", "... ended with status 5: <last line>".
    std::string failure(const std::string& name) const;

private:
    BoundedRun() = default;
    void end();
    void finish(int status);

    Outcome outcome_ = Outcome::NotStarted;
    int status_ = -1;
    pid_t pid_ = 0;
    std::chrono::milliseconds limit_{0};
    std::chrono::steady_clock::time_point deadline_;
    int outFile_ = -1;
    int errFile_ = -1;
    std::string out_;
    std::string err_;
};

}
