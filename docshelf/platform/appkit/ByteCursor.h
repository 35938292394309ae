#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace docshelf::appkit {

// Reads a byte buffer front to back; every read past the end fails instead of
// touching memory that isn't there.
class ByteCursor {
public:
    explicit ByteCursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return bytes_.size() - position_; }

    // True, and moves past them, when the next bytes are exactly these.
    bool expect(std::span<const std::uint8_t> expected);
    bool expect(std::string_view expected);
    std::optional<std::uint32_t> readBigEndian32();
    bool skip(std::size_t count);

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

}
