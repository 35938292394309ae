#include "WineArchitecture.h"

#include <fstream>

namespace docshelf::testing {

WineArchitecture::WineArchitecture() : WineArchitecture(DOCSHELF_WINE_CHOICE) {}

WineArchitecture::WineArchitecture(const std::filesystem::path& choiceFile)
{
    // Lines NAME=value: architecture, loader, server, reason.
    std::ifstream in(choiceFile);
    if (!in) {
        reason_ = "no architecture was chosen (" + choiceFile.string() + " is missing): run the tests with ctest";
        return;
    }
    std::string line;
    while (std::getline(in, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string name = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (name == "architecture")
            name_ = value;
        else if (name == "reason")
            reason_ = value;
        else if (name == "loader")
            loader_ = value;
        else if (name == "server")
            server_ = value;
    }
}

std::filesystem::path WineArchitecture::programs() const
{
    return name_ == "win64" ? DOCSHELF_WIN64_DIR : DOCSHELF_WIN32_DIR;
}

std::filesystem::path WineArchitecture::recorder() const
{
    return name_ == "win64" ? DOCSHELF_WIN64_RECORDER : DOCSHELF_WIN32_RECORDER;
}

std::filesystem::path WineArchitecture::discWindows() const
{
    return name_ == "win64" ? DOCSHELF_WIN64_DISC_DIR : DOCSHELF_WIN32_DISC_DIR;
}

}
