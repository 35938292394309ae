#include "inspect/check/LauncherMachineCheck.h"

#include "inspect/check/WindowsFolderCheck.h"
#include "inspect/common/Wording.h"

#include "platform/foundation/CaseInsensitive.h"
#include "platform/foundation/RegularFile.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace docshelf::inspect {

namespace {

// The machines of 64-bit Windows; a 32-bit Windows starts none of them.
std::string sixtyFourBit(std::uint16_t machine) {
    switch (machine) {
    case 0x8664:
        return "x86-64";
    case 0xAA64:
        return "ARM64";
    case 0x200:
        return "Itanium";
    default:
        return {};
    }
}

}

std::optional<std::uint16_t> LauncherMachineCheck::machine(const std::string& path) {
    using foundation::RegularFile;
    auto dos = RegularFile::readPart(path, 0, 64);
    if (!dos.bytes || dos.bytes->size() < 64 || (*dos.bytes)[0] != 'M' || (*dos.bytes)[1] != 'Z')
        return std::nullopt;
    const auto& d = *dos.bytes;
    std::uint32_t peAt = std::uint32_t{d[0x3C]} | std::uint32_t{d[0x3D]} << 8 | std::uint32_t{d[0x3E]} << 16 |
                         std::uint32_t{d[0x3F]} << 24;
    auto pe = RegularFile::readPart(path, peAt, 6);
    if (!pe.bytes || pe.bytes->size() < 6)
        return std::nullopt;
    const auto& p = *pe.bytes;
    if (p[0] != 'P' || p[1] != 'E' || p[2] != 0 || p[3] != 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(p[4] | p[5] << 8);
}

void LauncherMachineCheck::run(const std::string& folderPath, Findings& findings) {
    std::error_code error;
    std::vector<std::filesystem::path> programs;
    for (const auto& entry : std::filesystem::directory_iterator(folderPath, error))
        if (entry.is_regular_file(error) &&
            foundation::caseInsensitiveCompare(entry.path().extension().string(), ".exe") == 0)
            programs.push_back(entry.path());
    std::sort(programs.begin(), programs.end());
    for (const auto& program : programs) {
        std::string name = program.filename().string();
        bool supplies = WindowsFolderCheck::suppliesModel(name).has_value();
        if (!supplies && !WindowsFolderCheck::isSetupLauncher(program.string()))
            continue;
        auto kind = machine(program.string());
        std::string name64 = kind ? sixtyFourBit(*kind) : std::string();
        if (name64.empty())
            continue;
        findings.warning("launcher-64-bit", program.string(),
                         std::string(supplies ? "the supplies launcher " : "the setup launcher ") + inQuotes(name) +
                             " is a 64-bit program (" + name64 +
                             "), not a 32-bit one: a twin for testing, never for shipping; 32-bit Windows does "
                             "not start it (take the programs of build/win32)");
    }
}

}
