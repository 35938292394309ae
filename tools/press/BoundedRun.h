#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace docshelf::press {

// Runs an outside program (xorriso, 7-Zip, the inspector) without a shell and
// waits for it at most the given time, killing it and its process group
// after that: a reader that hangs on an image must not hang the press.
class BoundedRun {
public:
    enum class Outcome { Ended, NotStarted, TimedOut, Killed };

    static BoundedRun run(const std::string& program, const std::vector<std::string>& arguments,
                          std::chrono::seconds limit);

    Outcome outcome() const { return outcome_; }
    bool succeeded() const { return outcome_ == Outcome::Ended && status_ == 0; }
    int status() const { return status_; }
    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }
    // One line for a failure: "xorriso did not end within 600 seconds", "... ended with status 5: <last line>".
    std::string failure(const std::string& name) const;

private:
    Outcome outcome_ = Outcome::NotStarted;
    int status_ = -1;
    std::chrono::seconds limit_{0};
    std::string out_;
    std::string err_;
};

}
