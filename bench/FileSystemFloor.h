#pragma once

#include "platform/foundation/FileAccessLog.h"

#include <functional>
#include <vector>

namespace docshelf::bench {

// The file-system work of an operation, without the operation: what it read,
// listed and tested, done again with plain system calls, nothing parsed.
class FileSystemFloor {
public:
    // Runs the operation once with a log installed and keeps what it asked for.
    static FileSystemFloor of(const std::function<void()>& operation);
    // Reads the same files whole, lists the same directories and tests the same paths, in order.
    void replay() const;
    std::size_t accesses() const { return log_.size(); }

private:
    std::vector<foundation::FileAccessLog::Entry> log_;
};

}
