#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>

namespace docshelf::testing {

// The file that the recorder program writes when a launcher starts it: its own
// path, its command line and its current directory. The launchers do not wait
// for what they start; WineSession::run does, so after it the file is there or
// nothing was started.
class RecorderOutput {
public:
    struct Recording {
        std::string modulePath;
        std::string commandLine;
        std::string currentDirectory;
    };

    explicit RecorderOutput(std::filesystem::path file);

    // The environment variable that tells the recorder where to write.
    std::pair<std::string, std::string> environment() const;

    // What the recorder wrote, or nullopt when it was not started. Read after
    // WineSession::run, which waits for the recorder too, and so with no time to guess.
    std::optional<Recording> recording() const;
    // True when there is no recording: after WineSession::run, nothing was started.
    bool absent() const;

private:
    std::filesystem::path file_;
};

}
