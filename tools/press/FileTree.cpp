#include "FileTree.h"

#include "PrintedName.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace docshelf::press {

namespace fs = std::filesystem;

namespace {

std::string shown(const fs::path& path) {
    return PrintedName::of(path.string());
}

std::string cause(int number) {
    return std::generic_category().message(number);
}

// Why a file that is neither a folder nor a regular file is not copied.
std::string kindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return "a named pipe (FIFO)";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not a regular file";
}

std::string notCopied(const fs::path& path, const std::string& what) {
    return shown(path) + ": " + what + ", not a regular file or folder; a disc holds only those, so it is not copied";
}

class TreeCopy {
public:
    TreeCopy(const CopySources& sources, std::vector<std::string>& warnings, std::string& error)
        : sources_(sources), warnings_(warnings), error_(error) {
        std::error_code code;
        for (const auto& root : sources.roots)
            if (auto real = fs::canonical(root, code); !code)
                roots_.push_back(real);
    }

    bool entry(const fs::path& source, const fs::path& target) {
        struct stat status {};
        if (lstat(source.c_str(), &status) != 0)
            return fail(shown(source) + ": " + cause(errno));
        fs::path real = source;
        if (S_ISLNK(status.st_mode)) {
            if (!resolve(source, real))
                return false;
            if (stat(real.c_str(), &status) != 0)
                return fail(shown(source) + ": " + cause(errno));
        }
        if (S_ISDIR(status.st_mode))
            return folder(source, real, target);
        if (S_ISREG(status.st_mode))
            return file(source, real, target);
        return fail(notCopied(source, kindOf(status.st_mode)));
    }

private:
    // The file a link names, checked to lie inside the sources.
    bool resolve(const fs::path& link, fs::path& real) {
        std::error_code code;
        real = fs::canonical(link, code);
        if (code == std::errc::too_many_symbolic_link_levels)
            return fail(notCopied(link, "a link that leads back to itself (a loop)"));
        if (code) {
            fs::path target = fs::read_symlink(link, code);
            return fail(notCopied(link, "a link to " + shown(target) + ", which does not exist"));
        }
        bool inside =
            std::any_of(roots_.begin(), roots_.end(), [&](const fs::path& root) { return isWithinRoot(real, root); });
        if (inside)
            return true;
        if (!sources_.followOutside)
            return fail(shown(link) + ": a link to " + shown(real) +
                        ", outside the folders given to the press; it is not copied (copy the file in, or give "
                        "--follow-outside-links to copy what such links point to)");
        warnings_.push_back(shown(link) + ": a link to " + shown(real) +
                            ", outside the folders given to the press; copied as what it points to "
                            "(--follow-outside-links)");
        return true;
    }

    static bool isWithinRoot(const fs::path& path, const fs::path& root) { return FileTree::isWithin(path, root); }

    bool folder(const fs::path& source, const fs::path& real, const fs::path& target) {
        std::error_code code;
        fs::path canonical = fs::canonical(real, code);
        if (code)
            return fail(shown(source) + ": " + code.message());
        if (std::find(open_.begin(), open_.end(), canonical) != open_.end())
            return fail(notCopied(source, "a link to " + shown(canonical) + ", a folder it lies in (a loop)"));
        fs::create_directories(target, code);
        if (code)
            return fail(shown(target) + ": " + code.message());
        std::vector<fs::path> names;
        for (auto it = fs::directory_iterator(source, code); !code && it != fs::directory_iterator();
             it.increment(code))
            names.push_back(it->path().filename());
        if (code)
            return fail(shown(source) + ": " + code.message());
        std::sort(names.begin(), names.end());
        open_.push_back(canonical);
        for (const auto& name : names)
            if (!entry(source / name, target / name))
                return false;
        open_.pop_back();
        return true;
    }

    // Opened without following a link and without waiting, and checked to be
    // a regular file on the descriptor, so a file swapped for a pipe after it
    // was looked at is refused rather than waited on.
    bool file(const fs::path& source, const fs::path& real, const fs::path& target) {
        int in = ::open(real.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (in < 0)
            return fail(shown(source) + ": cannot be read: " + cause(errno));
        struct stat status {};
        if (fstat(in, &status) != 0 || !S_ISREG(status.st_mode)) {
            close(in);
            return fail(notCopied(source, kindOf(status.st_mode)));
        }
        int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (out < 0) {
            int number = errno;
            close(in);
            return fail(shown(source) + ": cannot be copied to " + shown(target) + ": " + cause(number));
        }
        char buffer[1 << 16];
        bool good = true;
        std::string failure;
        for (;;) {
            ssize_t got = read(in, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                failure = shown(source) + ": cannot be read: " + cause(errno);
                good = false;
            }
            if (got <= 0)
                break;
            if (!writeAll(out, buffer, static_cast<std::size_t>(got))) {
                failure = shown(source) + ": cannot be copied to " + shown(target) + ": " + cause(errno);
                good = false;
                break;
            }
        }
        close(in);
        if (close(out) != 0 && good) {
            failure = shown(source) + ": cannot be copied to " + shown(target) + ": " + cause(errno);
            good = false;
        }
        return good || fail(failure);
    }

    static bool writeAll(int out, const char* bytes, std::size_t size) {
        while (size > 0) {
            ssize_t put = write(out, bytes, size);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0) {
                if (put == 0)
                    errno = ENOSPC;
                return false;
            }
            bytes += put;
            size -= static_cast<std::size_t>(put);
        }
        return true;
    }

    bool fail(const std::string& line) {
        error_ = line;
        return false;
    }

    const CopySources& sources_;
    std::vector<fs::path> roots_;
    std::vector<fs::path> open_; // the folders being copied, outermost first
    std::vector<std::string>& warnings_;
    std::string& error_;
};

}

bool FileTree::copy(const fs::path& from, const fs::path& to, const CopySources& sources,
                    std::vector<std::string>& warnings, std::string& error) {
    std::error_code code;
    fs::create_directories(to.parent_path(), code);
    if (code) {
        error = shown(to.parent_path()) + ": " + code.message();
        return false;
    }
    return TreeCopy(sources, warnings, error).entry(from, to);
}

std::string FileTree::firstNotPlain(const fs::path& root) {
    std::error_code code;
    for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        struct stat status {};
        if (lstat(it->path().c_str(), &status) != 0)
            return shown(it->path()) + ": " + cause(errno);
        if (S_ISLNK(status.st_mode))
            return shown(it->path()) + ": a link; a disc holds only files and folders";
        if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode))
            return notCopied(it->path(), kindOf(status.st_mode));
    }
    return code ? shown(root) + ": " + code.message() : "";
}

bool FileTree::isWithin(const fs::path& path, const fs::path& folder) {
    auto [end, rest] = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    // "a/b/" ends in an empty part, which matches anything.
    return end == folder.end() || (std::next(end) == folder.end() && end->empty());
}

void FileTree::remove(const fs::path& root) {
    std::error_code code;
    if (!fs::exists(fs::symlink_status(root, code)))
        return;
    if (fs::is_directory(fs::symlink_status(root, code))) {
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, code);
        for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
             it.increment(code))
            if (it->is_directory(code) && !it->is_symlink(code))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, code);
    }
    fs::remove_all(root, code);
}

std::vector<std::string> FileTree::list(const fs::path& root) {
    std::vector<std::string> paths;
    std::error_code code;
    for (auto it = fs::recursive_directory_iterator(root, code); !code && it != fs::recursive_directory_iterator();
         it.increment(code)) {
        std::string relative = it->path().lexically_relative(root).string();
        paths.push_back(it->is_directory(code) ? relative + "/" : relative);
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool FileTree::isExecutable(const fs::path& file) {
    std::error_code code;
    auto permissions = fs::status(file, code).permissions();
    return !code && (permissions & fs::perms::owner_exec) != fs::perms::none;
}

}
