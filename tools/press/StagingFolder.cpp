#include "StagingFolder.h"

#include "FileTree.h"
#include "Interruption.h"

#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

fs::path besides(const fs::path& destination, const std::string& tag) {
    fs::path parent = destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
    std::string pattern = (parent / ("." + destination.filename().string() + "." + tag + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

}

StagingFolder::StagingFolder(fs::path destination) : destination_(std::move(destination)) {
    if (destination_.filename().empty())
        destination_ = destination_.parent_path();
}

StagingFolder::~StagingFolder() {
    if (!committed_ && !staging_.empty())
        FileTree::remove(staging_);
    Interruption::release(staging_.string());
}

bool StagingFolder::create(std::string& error) {
    std::error_code code;
    fs::create_directories(destination_.parent_path().empty() ? "." : destination_.parent_path(), code);
    staging_ = besides(destination_, "press");
    if (staging_.empty()) {
        error = "cannot make a folder beside " + destination_.string() + ": " + std::generic_category().message(errno);
        return false;
    }
    Interruption::guard(staging_.string());
    return true;
}

bool StagingFolder::commit(bool replace, std::string& error, const std::string& inside) {
    fs::path source = inside.empty() ? staging_ : staging_ / inside;
    std::error_code code;
    bool exists = fs::exists(fs::symlink_status(destination_, code));
    if (exists && !replace) {
        error = destination_.string() + " exists; give --replace to replace it";
        return false;
    }
    fs::path old;
    if (exists) {
        old = besides(destination_, "old");
        if (old.empty() || (fs::remove(old, code), rename(destination_.c_str(), old.c_str())) != 0) {
            error =
                "cannot move the old " + destination_.string() + " aside: " + std::generic_category().message(errno);
            return false;
        }
    }
    if (rename(source.c_str(), destination_.c_str()) != 0) {
        error = "cannot move the result to " + destination_.string() + ": " + std::generic_category().message(errno);
        if (!old.empty())
            rename(old.c_str(), destination_.c_str());
        return false;
    }
    committed_ = inside.empty();
    if (!old.empty())
        FileTree::remove(old);
    return true;
}

}
