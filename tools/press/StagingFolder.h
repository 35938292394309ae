#pragma once

#include <filesystem>
#include <string>

namespace docshelf::press {

// A fresh folder or file name beside its destination, on the same file system,
// where a result is written before it is moved into place in one rename. What
// is not moved into place is removed when the object goes, so a failed step
// leaves nothing half-written behind.
class StagingFolder {
public:
    explicit StagingFolder(std::filesystem::path destination);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    // Makes the staging folder; false with the reason when it cannot.
    bool create(std::string& error);
    const std::filesystem::path& path() const { return staging_; }
    const std::filesystem::path& destination() const { return destination_; }

    // Moves the staged result to the destination: the folder itself, or one
    // file made inside it. An existing destination is replaced only when asked,
    // and then only after the new one is complete.
    bool commit(bool replace, std::string& error, const std::string& inside = {});

private:
    std::filesystem::path destination_;
    std::filesystem::path staging_;
    bool committed_ = false;
};

}
