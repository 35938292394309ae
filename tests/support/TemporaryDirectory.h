#pragma once

#include <filesystem>
#include <string>

namespace docshelf::testing {

// A fresh directory under the system's temporary folder, removed with everything
// in it when the object goes away.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }

    // Writes a file, creating the folders on the way.
    void write(const std::string& relative, const std::string& contents) const;
    void makeDirectory(const std::string& relative) const;

private:
    std::filesystem::path path_;
};

}
