#include "DiscSources.h"

namespace docshelf::press {

DiscSources::DiscSources(std::string disc) : disc_(std::move(disc)) {}

void DiscSources::copied(const std::string& relative, const std::string& source) {
    copies_[relative] = source;
}

void DiscSources::written(const std::string& relative) {
    copies_[relative] = disc_ + "/" + relative;
}

void DiscSources::entry(const std::string& relative, const std::string& keyPath, Place place) {
    entries_[relative + keyPath] = std::move(place);
}

DiscSources::Place DiscSources::placeOf(const std::string& relative, const std::string& keyPath,
                                        std::size_t line) const {
    // The longest key path recorded for this list: "[Model][QX-500][KPSID]" lies under "[Model][QX-500]".
    for (auto end = keyPath.rfind(']'); end != std::string::npos;
         end = end == 0 ? std::string::npos : keyPath.rfind(']', end - 1))
        if (auto found = entries_.find(relative + keyPath.substr(0, end + 1)); found != entries_.end())
            return found->second;
    // The nearest folder (or the file itself) that was copied whole: each step drops one name.
    for (auto end = relative.size(); end > 0 && end != std::string::npos; end = relative.rfind('/', end - 1))
        if (auto found = copies_.find(relative.substr(0, end)); found != copies_.end())
            return {found->second + relative.substr(end), line};
    return {relative.empty() ? disc_ : disc_ + "/" + relative, line};
}

}
