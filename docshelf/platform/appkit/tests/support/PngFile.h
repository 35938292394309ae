#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace docshelf::testing {

// Writes real PNG files (one flat colour, uncompressed deflate blocks) so that
// image tests read what an application bundle holds.
class PngFile {
public:
    static std::vector<std::uint8_t> encode(std::uint32_t width, std::uint32_t height);
    static void write(const std::string& path, std::uint32_t width, std::uint32_t height);
};

}
