#include "NibLoadResult.h"

#include "Menu.h"

#include <algorithm>

namespace docshelf::appkit {

NibLoadResult NibLoadResult::failure(std::string entry, std::string message) {
    NibLoadResult result;
    result.entry_ = std::move(entry);
    result.message_ = message.empty() ? "failed" : std::move(message);
    return result;
}

std::string NibLoadResult::error() const {
    if (ok())
        return {};
    return entry_.empty() ? message_ : entry_ + ": " + message_;
}

std::shared_ptr<Object> NibLoadResult::object(std::string_view id) const {
    auto found = std::ranges::find_if(objects_, [id](const auto& entry) { return entry.first == id; });
    return found == objects_.end() ? nullptr : found->second;
}

}
