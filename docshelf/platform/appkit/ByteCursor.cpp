#include "ByteCursor.h"

#include <algorithm>

namespace docshelf::appkit {

bool ByteCursor::expect(std::span<const std::uint8_t> expected) {
    if (remaining() < expected.size() || !std::ranges::equal(bytes_.subspan(position_, expected.size()), expected))
        return false;
    position_ += expected.size();
    return true;
}

bool ByteCursor::expect(std::string_view expected) {
    auto* first = reinterpret_cast<const std::uint8_t*>(expected.data());
    return expect(std::span<const std::uint8_t>(first, expected.size()));
}

std::optional<std::uint32_t> ByteCursor::readBigEndian32() {
    if (remaining() < 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | bytes_[position_++];
    return value;
}

bool ByteCursor::skip(std::size_t count) {
    if (remaining() < count)
        return false;
    position_ += count;
    return true;
}

}
