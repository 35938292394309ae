// The catalogue over a fuzzed disc: Documentation.plist, CDInfo and ModelInfo
// are fuzzed bytes ("@DISC@" in them becomes the disc's folder, so that paths
// can lead somewhere), and fuzzed folder names, some holding documents, make
// the documentation directory. The browser's questions and the inspector's
// report must answer without a crash, and the report must be valid JSON. The
// disc check then reads the same disc with a fuzzed message bundle table and a
// fuzzed Windows folder (inst.ini and a setup launcher's bytes), --windows
// included, and its findings must be valid JSON and one line each.
#include "catalogue/ZVCDDocumentation.h"
#include "catalogue/ZVModelDocumentation.h"
#include "catalogue/ZVModelDocumentationLookups.h"
#include "inspect/catalogue/CatalogueReport.h"
#include "inspect/check/DiscCheck.h"
#include "platform/foundation/Bundle.h"

#include <algorithm>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace docshelf;
namespace fs = std::filesystem;

namespace {

constexpr std::size_t maximumFolders = 8;
constexpr std::size_t maximumModelsAsked = 16;

const fs::path& discFolder() {
    static const fs::path path = [] {
        std::string pattern = (fs::temp_directory_path() / "catalogue-fuzz-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    return path;
}

void write(const fs::path& path, std::string contents) {
    for (std::size_t at = contents.find("@DISC@"); at != std::string::npos; at = contents.find("@DISC@", at))
        contents.replace(at, 6, discFolder().string());
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << contents;
}

}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fs::remove_all(discFolder());
    write(discFolder() / "Docshelf.app/Contents/Info.plist",
          "<plist><dict><key>CommonResourcePath</key><string>@DISC@/Common.plist</string></dict></plist>");
    write(discFolder() / "Common.plist", "<plist><dict><key>CDInfo</key><string>@DISC@/CDInfo.plist</string>"
                                         "<key>ModelInfo</key><string>@DISC@/ModelInfo.plist</string></dict></plist>");
    write(discFolder() / "Docshelf.app/Contents/Resources/Documentation.plist", input.ConsumeRandomLengthString(4096));
    write(discFolder() / "CDInfo.plist", input.ConsumeRandomLengthString(4096));
    write(discFolder() / "ModelInfo.plist", input.ConsumeRandomLengthString(4096));
    write(discFolder() / "Messages.bundle/Contents/Resources/en.lproj/Localizable.strings",
          input.ConsumeRandomLengthString(2048));
    write(discFolder() / "Windows/inst.ini", input.ConsumeRandomLengthString(1024));
    write(discFolder() / "Windows/Setup.exe", input.ConsumeRandomLengthString(2048));
    for (std::size_t i = 0; i < maximumFolders && input.remaining_bytes() > 0; ++i) {
        std::string name = input.ConsumeRandomLengthString(64);
        if (name.empty() || name == "." || name == ".." ||
            name.find_first_of(std::string("/\0", 2)) != std::string::npos)
            continue;
        fs::path folder = discFolder() / "Documentation" / name;
        std::error_code ignored;
        fs::create_directories(folder, ignored);
        int documents = input.ConsumeIntegralInRange(0, 7);
        if (documents & 1)
            write(folder / "top.pdf", "");
        if (documents & 2)
            write(folder / "top.html", "");
        if (documents & 4)
            write(folder / "MacOS_X_readme.rtf", "");
    }

    foundation::Bundle::setMainBundlePath((discFolder() / "Docshelf.app").string());
    foundation::Dictionary information = ZVCDDocumentation::initWithCDInfo();
    foundation::Value models = information.objectForKey("contained models");
    for (std::size_t i = 0; i < models.count() && i < maximumModelsAsked; ++i) {
        foundation::Dictionary model = ZVModelDocumentation::initWithName(models.objectAtIndex(i));
        for (const foundation::Value& entry : model.objectForKey("Documentation list").elements()) {
            foundation::Value language = entry.objectForKey("documentation display name");
            documentationPathWithDisplayLanguageName(model, language);
            documentationReadMePathWithDisplayLanguageName(model, language);
            documentationURLWithDisplayLanguageName(model, language);
        }
    }
    std::string json = inspect::CatalogueReport::catalogue().dump();
    if (!nlohmann::json::accept(json))
        __builtin_trap();

    auto findings =
        inspect::DiscCheck::run({(discFolder() / "Docshelf.app").string(), (discFolder() / "Messages.bundle").string(),
                                 (discFolder() / "Windows").string(), std::nullopt});
    std::string lines = findings.text();
    if (!nlohmann::json::accept(findings.json().dump()) ||
        static_cast<std::size_t>(std::count(lines.begin(), lines.end(), '\n')) != findings.all().size())
        __builtin_trap();
    foundation::Bundle::setMainBundlePath(std::nullopt);
    return 0;
}
