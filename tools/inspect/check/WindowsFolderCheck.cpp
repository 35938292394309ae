#include "inspect/check/WindowsFolderCheck.h"

#include "inspect/check/IniFile.h"
#include "inspect/common/Wording.h"

#include "disc/DiscKeys.h"

#include "platform/foundation/NearMiss.h"
#include "platform/foundation/ReadLimits.h"
#include "platform/foundation/RegularFile.h"
#include "platform/foundation/UnicodeNormalization.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace docshelf::inspect {

namespace {

std::string lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The entry of the folder whose name equals the given one without regard to
// letter case, as Windows finds files; empty when there is none.
std::filesystem::path findIgnoringCase(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (lower(entry.path().filename().string()) == lower(name))
            return entry.path();
    return {};
}

// Whether a relative Windows path ("Setup\\setup.exe", "ReadMe.txt") names a
// file under the folder, each part matched without regard to letter case.
bool namesFile(const std::filesystem::path& folder, std::string_view program) {
    std::filesystem::path at = folder;
    std::size_t start = 0;
    while (start <= program.size()) {
        std::size_t end = program.find_first_of("\\/", start);
        std::string part(program.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        start = end == std::string_view::npos ? program.size() + 1 : end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            at = at.parent_path();
            continue;
        }
        at = findIgnoringCase(at, part);
        if (at.empty())
            return false;
    }
    std::error_code error;
    return std::filesystem::is_regular_file(at, error);
}

using Bytes = std::vector<std::uint8_t>;

std::uint32_t little(const Bytes& bytes, std::size_t at, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = value << 8 | bytes[at + i];
    return value;
}

// The resource section of a Windows executable, found through its headers: the
// DOS header points at the PE header, whose optional header holds the resource
// directory's address; the section table maps that to a place in the file.
// Empty for anything else.
Bytes resourceSection(const std::string& path) {
    using foundation::RegularFile;
    auto dos = RegularFile::readPart(path, 0, 64);
    if (!dos.bytes || dos.bytes->size() < 64 || (*dos.bytes)[0] != 'M' || (*dos.bytes)[1] != 'Z')
        return {};
    std::uint32_t peAt = little(*dos.bytes, 0x3C, 4);
    // Signature, file header, the largest optional header and the most sections a loader takes.
    constexpr std::size_t headersSize = 4 + 20 + 0xFFFF + 96 * 40;
    auto headers = RegularFile::readPart(path, peAt, headersSize);
    if (!headers.bytes || headers.bytes->size() < 24 + 2)
        return {};
    const Bytes& pe = *headers.bytes;
    if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0)
        return {};
    std::size_t sections = little(pe, 4 + 2, 2);
    std::size_t optionalSize = little(pe, 4 + 16, 2);
    std::size_t optional = 24;
    std::uint32_t magic = little(pe, optional, 2);
    std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
    std::size_t resourceEntry = directories + 2 * 8;
    std::size_t table = optional + optionalSize;
    if ((magic != 0x10B && magic != 0x20B) || resourceEntry + 8 > optional + optionalSize ||
        table + sections * 40 > pe.size())
        return {};
    std::uint32_t address = little(pe, resourceEntry, 4);
    std::uint32_t size = little(pe, resourceEntry + 4, 4);
    for (std::size_t i = 0; i < sections; ++i) {
        std::size_t at = table + i * 40;
        std::uint32_t start = little(pe, at + 12, 4);
        std::uint32_t extent = std::max(little(pe, at + 8, 4), little(pe, at + 16, 4));
        if (address < start || address - start >= extent)
            continue;
        std::uint64_t offset = std::uint64_t{little(pe, at + 20, 4)} + (address - start);
        auto part =
            RegularFile::readPart(path, offset, std::min<std::size_t>(size, WindowsFolderCheck::maximumResourceBytes));
        return part.bytes ? std::move(*part.bytes) : Bytes();
    }
    return {};
}

void checkLauncher(const std::filesystem::path& folder, const std::string& name, const std::optional<IniFile>& ini,
                   const std::string& iniPath, Findings& findings) {
    std::string section = name.substr(0, name.rfind('.'));
    std::string launcher = (folder / name).string();
    if (!ini || !ini->hasSection(section)) {
        findings.error("launcher-without-section", launcher,
                       "the setup launcher " + inQuotes(name) + " finds no section [" + section + "] in " +
                           (ini ? "inst.ini" : "an inst.ini, for there is none") + "; it starts nothing");
        return;
    }
    Place sectionAt = Place::atLine(iniPath, ini->sectionLine(section));
    auto exeprog = ini->value(section, "Exeprog");
    auto argv = ini->value(section, "Argv");
    if (argv && argv->text.size() > WindowsFolderCheck::maximumArgv)
        findings.error("launcher-value-too-long", Place::atLine(iniPath, argv->line),
                       "\"Argv\" of [" + section + "] has " + std::to_string(argv->text.size()) +
                           " characters; the launcher reads only the first " +
                           std::to_string(WindowsFolderCheck::maximumArgv));
    if (!exeprog || exeprog->text.empty()) {
        findings.error("launcher-program-missing", sectionAt,
                       "[" + section + "] has " + (exeprog ? "an empty" : "no") + " \"Exeprog\"; " + inQuotes(name) +
                           " starts nothing");
        return;
    }
    Place at = Place::atLine(iniPath, exeprog->line);
    if (exeprog->text.size() > WindowsFolderCheck::maximumExeprog) {
        findings.error("launcher-value-too-long", at,
                       "\"Exeprog\" of [" + section + "] has " + std::to_string(exeprog->text.size()) +
                           " characters; the launcher reads only the first " +
                           std::to_string(WindowsFolderCheck::maximumExeprog));
        return;
    }
    const std::string& program = exeprog->text;
    bool elsewhere = program.find(':') != std::string::npos || program.starts_with('\\') || program.starts_with('/');
    if (elsewhere) {
        findings.note("launcher-program-elsewhere", at,
                      "\"Exeprog\" " + inQuotes(program) + " of [" + section +
                          "] lies outside the disc's Windows folder "
                          "and is not checked");
        return;
    }
    if (!namesFile(folder, program))
        findings.error("launcher-program-missing", at,
                       "\"Exeprog\" " + inQuotes(program) + " of [" + section + "] names no file in " +
                           inQuotes(folder.string()) + "; " + inQuotes(name) + " starts nothing");
}

}

std::optional<std::string> WindowsFolderCheck::suppliesModel(const std::string& fileName) {
    if (fileName.size() < 4 || (fileName[0] != 'v' && fileName[0] != 'V') ||
        (fileName[1] != 'p' && fileName[1] != 'P') || (fileName[2] != 's' && fileName[2] != 'S') || fileName[3] != '_')
        return std::nullopt;
    std::string rest = fileName.substr(4);
    return rest.substr(0, rest.find('.'));
}

bool WindowsFolderCheck::isSetupLauncher(const std::string& path) {
    // The version resource holds the product name in UTF-16LE.
    static const std::string marker = [] {
        std::string bytes;
        for (char c : std::string_view("Startwick")) {
            bytes += c;
            bytes += '\0';
        }
        return bytes;
    }();
    Bytes resources = resourceSection(path);
    return std::search(resources.begin(), resources.end(), marker.begin(), marker.end(),
                       [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); }) != resources.end();
}

void WindowsFolderCheck::run(const std::string& folderPath, const std::vector<std::string>& models,
                             Findings& findings) {
    std::filesystem::path folder(folderPath);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        findings.error("windows-folder-missing", folderPath, "no folder here to check");
        return;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error) && lower(entry.path().extension().string()) == ".exe")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());

    std::filesystem::path iniPath = findIgnoringCase(folder, std::string(names::setupIni));
    std::optional<IniFile> ini;
    std::string iniLocation = iniPath.empty() ? (folder / names::setupIni).string() : iniPath.string();
    auto reading =
        iniPath.empty() ? foundation::Result<IniFile>(foundation::Problem{}) : IniFile::readFile(iniPath.string());
    if (reading)
        ini = std::move(reading.value());
    else if (!iniPath.empty())
        findings.error("launcher-ini-unreadable", iniLocation,
                       "inst.ini cannot be read: it is not a regular file (a folder, a named pipe, a device), or "
                       "larger than " +
                           std::to_string(foundation::ReadLimits::maximumFileSize) +
                           " bytes; the setup launchers find no section in it");

    for (const auto& name : names) {
        std::string path = (folder / name).string();
        if (isSetupLauncher(path)) {
            checkLauncher(folder, name, ini, iniLocation, findings);
            continue;
        }
        auto model = suppliesModel(name);
        if (!model)
            continue;
        if (model->size() > maximumModelName) {
            findings.error("supplies-model-too-long", path,
                           "the model name in " + inQuotes(name) + " has " + std::to_string(model->size()) +
                               " characters; the supplies launcher holds at most " + std::to_string(maximumModelName));
            continue;
        }
        // Without a model list (reported with CDInfo) there is nothing to compare with. A disc
        // mounted from HFS+ shows the launcher's name decomposed: "é" as "e" and an accent.
        bool contained = std::any_of(models.begin(), models.end(), [&](const std::string& known) {
            return foundation::UnicodeNormalization::equivalent(known, *model);
        });
        if (!models.empty() && !contained) {
            std::string message = "the supplies launcher " + inQuotes(name) + " opens the page of model " +
                                  inQuotes(*model) + ", which is not a contained model";
            bool hinted = false;
            for (const auto& known : models)
                if (lower(known) == lower(*model)) {
                    message += " (" + inQuotes(known) + " differs only in letter case)";
                    hinted = true;
                }
            for (const auto& known : models)
                if (!hinted && foundation::NearMiss::isSlipFor(*model, known)) {
                    message += "; did you mean " + inQuotes(known) + "?";
                    hinted = true;
                }
            if (model->empty())
                message =
                    "the supplies launcher " + inQuotes(name) + " carries no model name; its page has an empty model";
            findings.error("supplies-model-unknown", path, message);
        }
    }
}

}
