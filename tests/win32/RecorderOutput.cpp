#include "RecorderOutput.h"

#include "WineSession.h"

#include <fstream>
#include <thread>

namespace docshelf::testing {

RecorderOutput::RecorderOutput(std::filesystem::path file) : file_(std::move(file)) {}

std::pair<std::string, std::string> RecorderOutput::environment() const
{
    return {"DOCSHELF_RECORDER_OUTPUT", WineSession::windowsPath(file_)};
}

std::optional<RecorderOutput::Recording> RecorderOutput::waitForRecording(std::chrono::milliseconds timeout) const
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // The recorder renames a complete file into place, so once it exists it is whole.
    while (!std::filesystem::exists(file_)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(file_, std::ios::binary);
    Recording recording;
    std::getline(in, recording.modulePath);
    std::getline(in, recording.commandLine);
    std::getline(in, recording.currentDirectory);
    return recording;
}

bool RecorderOutput::absent() const
{
    return !std::filesystem::exists(file_);
}

}
