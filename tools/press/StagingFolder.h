#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace docshelf::press {

// A fresh folder or file name beside its destination, on the same file system,
// where a result is written before it is moved into place in one rename. What
// is not moved into place is removed when the object goes, so a failed step
// leaves nothing half-written behind. Its name carries the press's process id
// (".NAME.press-PID-XXXXXX"), so that a folder left by a run that was killed
// outright is known as such and removed by the next run to the same place,
// and only once that process is gone.
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
    // What create() removed that earlier, killed runs had left, or found and
    // left alone because whose it is cannot be told; one line each.
    const std::vector<std::string>& leftovers() const { return leftovers_; }

    // Moves the staged result to the destination: the folder itself, or one
    // file made inside it. An existing destination is replaced only when asked,
    // and then only after the new one is complete.
    bool commit(bool replace, std::string& error, const std::string& inside = {});

private:
    void removeLeftovers();

    std::filesystem::path destination_;
    std::filesystem::path staging_;
    std::vector<std::string> leftovers_;
    bool committed_ = false;
};

}
