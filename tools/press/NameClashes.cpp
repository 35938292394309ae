#include "NameClashes.h"

#include "ImageNames.h"

namespace docshelf::press {

std::optional<NameClashes::Earlier> NameClashes::add(std::string_view name, std::size_t tag) {
    auto [at, added] = seen_.try_emplace(ImageNames::sameNameKey(name), Earlier{std::string(name), tag});
    if (added)
        return std::nullopt;
    return at->second;
}

}
