#pragma once

#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/RegularFile.h"

#include <array>
#include <cstdint>
#include <string>

namespace docshelf::inspect {

// Whether a Mac can start an application bundle's program, from its first bytes:
// a Mach-O program (32- or 64-bit, either byte order) or a universal one. The
// bundle built on Linux carries an ELF program, which a Mac does not start.
// Header-only, so that the press tool asks the same rule without the inspector.
class MacExecutable {
public:
    // Why a Mac cannot start the bundle's program; empty when it can (or when the
    // bundle names no program, which the check reports).
    static std::string whyNot(const std::string& bundle) {
        auto info = foundation::PropertyListReader::readFile(bundle + "/Contents/Info.plist");
        auto name = info.root.objectForKey("CFBundleExecutable");
        if (!name.isNonEmptyString())
            return {};
        std::string program = bundle + "/Contents/MacOS/" + std::string(name.text());
        auto head = foundation::RegularFile::readPart(program, 0, 4);
        if (!head.bytes)
            return {};
        auto b = *head.bytes;
        b.resize(4); // a program shorter than its magic number is none
        std::uint32_t magic = std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
        constexpr std::array<std::uint32_t, 6> macMagics{0xFEEDFACE, 0xFEEDFACF, 0xCEFAEDFE,
                                                         0xCFFAEDFE, 0xCAFEBABE, 0xBEBAFECA};
        for (std::uint32_t mac : macMagics)
            if (magic == mac)
                return {};
        std::string what = magic == 0x7F454C46          ? "an ELF program (built for Linux)"
                           : b[0] == 'M' && b[1] == 'Z' ? "a Windows program"
                           : b[0] == '#' && b[1] == '!' ? "a script"
                                                        : "no Mach-O program";
        return program + " is " + what +
               ", not a Mac program: a Mac cannot start this application; build the bundle on a Mac (README, "
               "\"Building on a Mac\") and give it to docshelf-press init with --app [app-not-for-mac]";
    }
};

}
