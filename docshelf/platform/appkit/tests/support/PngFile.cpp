#include "PngFile.h"

#include <array>
#include <fstream>
#include <string_view>

namespace docshelf::testing {

namespace {

std::uint32_t crc32(const std::vector<std::uint8_t>& bytes, std::size_t from) {
    std::uint32_t crc = 0xffffffff;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320 & (0 - (crc & 1)));
    }
    return ~crc;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& bytes) {
    std::uint32_t a = 1, b = 0;
    for (auto byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void chunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out, start));
}

}

std::vector<std::uint8_t> PngFile::encode(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<std::uint8_t> header;
    put32(header, width);
    put32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB
    chunk(out, "IHDR", header);

    std::vector<std::uint8_t> raw;
    for (std::uint32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        for (std::uint32_t x = 0; x < width; ++x)
            raw.insert(raw.end(), {0xe6, 0xec, 0xf3});
    }
    std::vector<std::uint8_t> deflated{0x78, 0x01};
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        std::size_t length = std::min<std::size_t>(65535, raw.size() - at);
        bool last = at + length >= raw.size();
        deflated.push_back(last ? 1 : 0);
        deflated.push_back(static_cast<std::uint8_t>(length));
        deflated.push_back(static_cast<std::uint8_t>(length >> 8));
        deflated.push_back(static_cast<std::uint8_t>(~length));
        deflated.push_back(static_cast<std::uint8_t>(~length >> 8));
        deflated.insert(deflated.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                        raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        if (last)
            break;
    }
    put32(deflated, adler32(raw));
    chunk(out, "IDAT", deflated);
    chunk(out, "IEND", {});
    return out;
}

void PngFile::write(const std::string& path, std::uint32_t width, std::uint32_t height) {
    auto bytes = encode(width, height);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}
