#include "FileAccessLog.h"

namespace docshelf::foundation {

namespace {

thread_local std::vector<FileAccessLog::Entry>* current = nullptr;

}

void FileAccessLog::install(std::vector<Entry>* log) {
    current = log;
}

void FileAccessLog::note(Access access, std::string_view path) {
    if (current)
        current->push_back({access, std::string(path)});
}

}
