#include "RecorderOutput.h"

#include "WineSession.h"

#include <fstream>

namespace docshelf::testing {

RecorderOutput::RecorderOutput(std::filesystem::path file) : file_(std::move(file)) {}

std::pair<std::string, std::string> RecorderOutput::environment() const
{
    return {"DOCSHELF_RECORDER_OUTPUT", WineSession::windowsPath(file_)};
}

std::optional<RecorderOutput::Recording> RecorderOutput::recording() const
{
    // The recorder renames a complete file into place, so once it exists it is whole.
    std::ifstream in(file_, std::ios::binary);
    if (!in)
        return std::nullopt;
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
