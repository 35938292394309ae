#pragma once

#include <cstdint>
#include <filesystem>
#include <set>
#include <string>

namespace docshelf::testing {

// A cross-compiled Windows executable as the tests inspect it: its bytes, and
// what the toolchain's objdump says of its headers and imports.
class PeImage {
public:
    // Read with the i686 toolchain's objdump, or the one given.
    explicit PeImage(std::filesystem::path file, const std::string& objdump = DOCSHELF_OBJDUMP);

    std::uintmax_t size() const;
    // "KERNEL32.dll:ExitProcess", one entry per imported function.
    std::set<std::string> imports() const;
    // The line of the private headers that starts with the field, as "Subsystem".
    std::string headerField(const std::string& field) const;
    // True when objdump's account of the headers mentions the text, as "symbols stripped".
    bool headersMention(const std::string& text) const { return headers_.find(text) != std::string::npos; }
    bool contains(const std::string& bytes) const;
    // Text as it stands in version resources: UTF-16, little-endian.
    static std::string Utf16(const std::string& ascii);

private:
    std::filesystem::path file_;
    std::string bytes_;
    std::string headers_;
};

}
