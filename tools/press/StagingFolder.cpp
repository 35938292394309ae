#include "StagingFolder.h"

#include "FileTree.h"
#include "Interruption.h"
#include "PrintedName.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <unistd.h>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

fs::path parentOf(const fs::path& destination) {
    return destination.parent_path().empty() ? fs::path(".") : destination.parent_path();
}

// ".NAME.TAG-" : what every staging name of this destination begins with.
std::string prefix(const fs::path& destination, const std::string& tag) {
    return "." + destination.filename().string() + "." + tag + "-";
}

fs::path besides(const fs::path& destination, const std::string& tag) {
    std::string pattern =
        (parentOf(destination) / (prefix(destination, tag) + std::to_string(getpid()) + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        return {};
    return pattern;
}

// The process id in a name "PREFIX<pid>-XXXXXX", or 0 when the rest is not that.
pid_t ownerOf(const std::string& name, const std::string& start) {
    if (!name.starts_with(start))
        return 0;
    std::string rest = name.substr(start.size());
    std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string::npos || rest.size() - dash != 7)
        return 0;
    pid_t pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 99999999)
            return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// Replaces `destination` by `source` in one step, the old one left at `source`.
bool exchange(const fs::path& source, const fs::path& destination) {
#ifdef __linux__
    return renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), RENAME_EXCHANGE) == 0;
#else
    (void)source;
    (void)destination;
    errno = ENOSYS;
    return false;
#endif
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
    fs::create_directories(parentOf(destination_), code);
    removeLeftovers();
    staging_ = besides(destination_, "press");
    if (staging_.empty()) {
        error = "cannot make a folder beside " + PrintedName::of(destination_.string()) + ": " +
                std::generic_category().message(errno);
        return false;
    }
    Interruption::guard(staging_.string());
    return true;
}

// Only names of this destination's own pattern, and only of processes that
// are gone: a run still going (another press writing the same place) keeps its
// folder.
void StagingFolder::removeLeftovers() {
    std::error_code code;
    // An old result moved aside is the only copy while nothing is in its place.
    const bool replaced = fs::exists(fs::symlink_status(destination_, code));
    for (const char* tag : {"press", "old"}) {
        if (!replaced && std::string(tag) == "old")
            continue;
        const std::string start = prefix(destination_, tag);
        for (auto it = fs::directory_iterator(parentOf(destination_), code); !code && it != fs::directory_iterator();
             it.increment(code)) {
            const std::string name = it->path().filename().string();
            if (!it->is_directory(code) || it->is_symlink(code) || !name.starts_with(start))
                continue;
            // Named by a press that did not yet put its process id in the name: whose it is, is not known.
            if (name.size() == start.size() + 6) {
                leftovers_.push_back(PrintedName::of(it->path().string()) +
                                     " looks like what an interrupted press left; remove it when no press runs");
                continue;
            }
            pid_t owner = ownerOf(name, start);
            if (owner <= 0 || owner == getpid() || kill(owner, 0) == 0 || errno != ESRCH)
                continue;
            FileTree::remove(it->path());
            leftovers_.push_back("removed " + PrintedName::of(it->path().string()) +
                                 ", left by an interrupted run (process " + std::to_string(owner) + ")");
        }
    }
}

bool StagingFolder::commit(bool replace, std::string& error, const std::string& inside) {
    fs::path source = inside.empty() ? staging_ : staging_ / inside;
    std::error_code code;
    bool exists = fs::exists(fs::symlink_status(destination_, code));
    const std::string shown = PrintedName::of(destination_.string());
    if (exists && !replace) {
        error = shown + " exists; give --replace to replace it";
        return false;
    }
    if (exists && exchange(source, destination_)) {
        // The old result now lies where the new one was staged, and goes with the staging folder.
        if (inside.empty()) {
            FileTree::remove(source);
            committed_ = true;
        }
        return true;
    }
    fs::path old;
    if (exists) {
        old = besides(destination_, "old");
        if (old.empty() || (fs::remove(old, code), rename(destination_.c_str(), old.c_str())) != 0) {
            error = "cannot move the old " + shown + " aside: " + std::generic_category().message(errno);
            return false;
        }
    }
    if (rename(source.c_str(), destination_.c_str()) != 0) {
        error = "cannot move the result to " + shown + ": " + std::generic_category().message(errno);
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
