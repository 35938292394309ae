#include "CaseName.h"
#include "DiscBuilder.h"
#include "ProcessRunner.h"
#include "TextEncoding.h"
#include "PropertyListWriter.h"

#include "platform/foundation/FileAccessLog.h"

#include "disc/Disc.h"
#include "inspect/check/DiscCheck.h"
#include "inspect/common/Codes.h"
#include "inspect/check/HtmlLinkCheck.h"
#include "inspect/check/MacExecutable.h"
#include "inspect/check/MessageCheck.h"
#include "inspect/common/Codes.h"
#include "inspect/common/FindingsOutput.h"

#include "catalogue/ZVModelDocumentation.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>

namespace docshelf::testing {
// Failure messages name the format; internal linkage keeps it to this file.
[[maybe_unused]] static void PrintTo(PlistFormat format, std::ostream* out) {
    *out << formatName(format);
}
}

namespace docshelf {
namespace {

using foundation::Value;
using nlohmann::ordered_json;
using testing::DiscBuilder;
using testing::PlistFormat;

const std::vector<std::string> browserKeys{
    "BTN_CLOSE",     "TXT_MODEL",      "UG_TXT_LANGUAGE", "UG_TXT_LINKCD_UG_SUG", "UG_TXT_LINKWB",    "UG_BTN_UG",
    "UG_BTN_README", "APP_MENU_ABOUT", "APP_MENU_HIDE",   "APP_MENU_HIDEOHTERS",  "APP_MENU_SHOWALL", "APP_MENU_QUIT"};

// A strings table with every key the window looks up, less `without`.
std::string strings(const std::string& code, const std::string& without = "") {
    std::string text = "/* test */\n";
    for (const auto& key : browserKeys)
        if (key != without)
            text += "\"" + key + "\" = \"" + key + " in " + code + "\";\n";
    return text + "\"KPS_CGI_Language\" = \"" + code + "\";\n";
}

const std::string bundle = "MacResources/CDCommonMessage.bundle/Contents/Resources/";
// The smallest Windows executable whose headers lead to a resource section
// holding the launcher's name, as the version resource does: the PE header at
// 64, one section, a 64-bit optional header whose resource directory (0x1000,
// 64 bytes) lies in ".rsrc", which the file holds at 512.
std::string launcherImage(std::uint16_t machine = 0) {
    // {offset, value, bytes}: where the PE header is, the section count and the optional header's size and kind,
    // the resource directory, then the section's sizes, address and place.
    constexpr std::uint32_t fields[][3] = {{0x3C, 64, 4},    {70, 1, 2},   {84, 240, 2}, {88, 0x20B, 2},
                                           {216, 0x1000, 4}, {220, 64, 4}, {336, 64, 4}, {340, 0x1000, 4},
                                           {344, 64, 4},     {348, 512, 4}};
    std::string image(576, '\0');
    for (const auto& [at, value, size] : fields)
        for (std::uint32_t i = 0; i < size; ++i)
            image[at + i] = static_cast<char>(value >> (8 * i));
    image.replace(0, 2, "MZ");
    image.replace(64, 4, std::string("PE\0\0", 4));
    image[68] = static_cast<char>(machine & 0xFF);
    image[69] = static_cast<char>(machine >> 8);
    image.replace(328, 5, ".rsrc");
    image.replace(512, 18, std::string("S\0t\0a\0r\0t\0w\0i\0c\0k\0", 18));
    return image;
}

const std::string starter = launcherImage();

enum class Stand { Pipe, Folder, Loop };

// A disc that checks clean: QX-1 on the disc-wide folder with English and
// German, QX-2 with its own folder, RT-3 online; texts in English and German;
// a Windows folder with a setup launcher and supplies launchers.
class CheckDisc : public DiscBuilder {
public:
    explicit CheckDisc(PlistFormat format) : DiscBuilder(format) {
        writeChain();
        writeInfoPlist(Value::dictionary({{"CFBundleExecutable", "Docshelf"},
                                          {"NSMainNibFile", "MainMenu"},
                                          {"CommonResourcePath", path("MacResources/CommonResource.plist")}}));
        writeFile(description, readText(std::string(SAMPLE_APP_PATH) + "/Contents/Resources/MainMenu.plist"));
        writeFile("Docshelf.app/Contents/MacOS/Docshelf", std::string("\xCF\xFA\xED\xFE", 4));
        writeDocumentationPlist(fiveLanguages());
        writeFile("Docshelf.app/Contents/Resources/en.lproj/InfoPlist.strings",
                  "\"CFBundleDisplayName\" = \"Docshelf\";\n\"Documentation\" = \"Documentation\";\n");
        writeModelInfo(
            Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", "Q1"}})},
                                                            {"QX-2", Value::dictionary({{"KPSID", "Q2"}})},
                                                            {"RT-3", Value::dictionary({{"KPSID", "R3"}})}})}}));
        for (const char* folder : {"English", "German"})
            writeDocuments("Docs", folder);
        writeDocuments("Own", "French");
        cdInfo();
        writeFile(bundle + "en.lproj/Localizable.strings", strings("en"));
        writeFile(bundle + "de.lproj/Localizable.strings", strings("de"));
        writeFile("Windows/Setup.exe", starter);
        writeFile("Windows/ReadMe.txt", "read me");
        writeFile("Windows/inst.ini", "; launchers\n[Setup]\nExeprog=ReadMe.txt\nArgv=\n");
        writeFile("Windows/vps_QX-1.exe", "MZ supplies");
    }

    static constexpr const char* description = "Docshelf.app/Contents/Resources/MainMenu.plist";

    static std::string readText(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    // The window description with its first `from` replaced by `to`.
    void changeDescription(const std::string& from, const std::string& to) const {
        std::string text = readText(path(description));
        text.replace(text.find(from), from.size(), to);
        writeFile(description, text);
    }

    // In place of a file, something that is not one: a named pipe, a folder, or a link that leads to itself.
    void replaceWith(const std::string& relative, Stand stand) const {
        std::filesystem::remove(path(relative));
        if (stand == Stand::Pipe)
            ASSERT_EQ(mkfifo(path(relative).c_str(), 0600), 0) << relative;
        else if (stand == Stand::Folder)
            makeDirectory(relative);
        else
            std::filesystem::create_symlink(path(relative), path(relative));
    }

    void writeDocuments(const std::string& directory, const std::string& folder) const {
        writeFile(directory + "/" + folder + "/top.pdf", "%PDF-1.4\n");
        writeFile(directory + "/" + folder + "/MacOS_X_readme.rtf", "{\\rtf1 read me}");
    }

    // CDInfo with the three models; `change` may alter the disc-wide settings and the records.
    void cdInfo(Value discWide = {}, std::vector<Value::Entry> extraModels = {}) const {
        if (discWide.isAbsent())
            discWide = Value::dictionary({{"Path", path("Docs")}});
        std::vector<Value::Entry> models{
            {"QX-1", Value::dictionary({})},
            {"QX-2", Value::dictionary({{"Documentation", Value::dictionary({{"Path", path("Own")}})}})},
            {"RT-3", Value::dictionary(
                         {{"Documentation", Value::dictionary({{"URL", "http://s.example/r?"},
                                                               {"Language", Value::array({"English", "German"})}})}})}};
        models.insert(models.end(), extraModels.begin(), extraModels.end());
        writeCDInfo(Value::dictionary({{"ContainedModel", Value::dictionary(models)}, {"Documentation", discWide}}));
    }

    void documentationMembers(std::vector<Value> members) const {
        writeDocumentationPlist(Value::dictionary({{"FolderInfoArray", Value::array(std::move(members))}}));
    }
};

struct CheckCase {
    std::string description;
    std::function<void(CheckDisc&)> change;
    std::vector<std::string> codes; // in the order the check reports them
    std::vector<std::string> arguments = {};
    std::vector<std::string> environment = {};
    std::string locationEnd = ""; // how the first finding's location ends, where it says more than the file
    std::string messageHas = "";  // part of the first finding's message, where its wording is the point
    std::size_t column = 0;       // the first finding's column, where it has one
    bool discFolder = false;      // the disc folder is named on the command line, as authors check it
};

std::ostream& operator<<(std::ostream& out, const CheckCase& c) {
    return out << c.description;
}

Value member(const char* folder, const char* display, const char* code) {
    return DiscBuilder::member(folder, display, code);
}

std::vector<Value> members() {
    return {member("English", "English", "en"), member("German", "Deutsch", "de"),
            member("French",
                   "Fran\xC3\xA7"
                   "ais",
                   "fr")};
}

// German in the disc-wide folder as an HTML manual whose start page is `top`;
// `files` are written beside it (relative to Docs).
void htmlManual(CheckDisc& d, const std::string& top, const std::vector<std::pair<std::string, std::string>>& files) {
    std::filesystem::remove(d.path("Docs/German/top.pdf"));
    d.writeFile("Docs/German/top.html", top);
    for (const auto& [name, text] : files)
        d.writeFile("Docs/" + name, text);
}

// ModelInfo with these KPSIDs for QX-1, QX-2 and RT-3.
void kpsids(CheckDisc& d, const char* qx1, const char* qx2, const char* rt3) {
    d.writeModelInfo(
        Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", qx1}})},
                                                        {"QX-2", Value::dictionary({{"KPSID", qx2}})},
                                                        {"RT-3", Value::dictionary({{"KPSID", rt3}})}})}}));
}

void commonResourcePath(CheckDisc& d, const std::string& path) {
    d.writeInfoPlist(Value::dictionary(
        {{"CFBundleExecutable", "Docshelf"}, {"NSMainNibFile", "MainMenu"}, {"CommonResourcePath", path}}));
}

const std::vector<CheckCase> cases{
    {"clean disc", [](CheckDisc&) {}, {}},
    {"Info.plist without CommonResourcePath",
     [](CheckDisc& d) {
         d.writeInfoPlist(Value::dictionary({{"CFBundleExecutable", "Docshelf"}, {"NSMainNibFile", "MainMenu"}}));
     },
     {"common-resource-path-missing"}},
    {"CDInfo names a file that is not there",
     [](CheckDisc& d) {
         d.writePlist("MacResources/CommonResource.plist",
                      Value::dictionary({{"CDInfo", d.path("MacResources/Gone.plist")},
                                         {"ModelInfo", d.path("MacResources/ModelInfo.plist")}}));
     },
     {"plist-missing"}},
    {"CDInfo with a tag closed by another",
     [](CheckDisc& d) {
         d.writeFile("MacResources/CDInfo.plist",
                     "<?xml version=\"1.0\"?>\n<plist>\n<dict>\n<key>A</dict>\n</plist>\n");
     },
     {"plist-unreadable"},
     {},
     {},
     "CDInfo.plist:4",
     "",
     9}, // "dict" in "<key>A</dict>", where the closing tag does not match
    {"CDInfo cut short",
     [](CheckDisc& d) { d.writeFile("MacResources/CDInfo.plist", "<?xml version=\"1.0\"?><plist><dict><key>A</key>"); },
     {"plist-unreadable"},
     {},
     {},
     "CDInfo.plist:1",
     "",
     46}, // the last byte, where the text ends inside the dictionary
    {"ModelInfo with an array at its root",
     [](CheckDisc& d) { d.writeModelInfo(Value::array({"QX-1"})); },
     {"plist-root-not-dictionary"}},
    {"ModelInfo without Model",
     [](CheckDisc& d) {
         d.writeModelInfo(Value::dictionary({{"Other", "x"}}));
     },
     {"key-missing"}},
    {"Language is a string, not an array",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary({{"Path", d.path("Docs")}, {"URL", "http://s/?"}, {"Language", "English"}}));
     },
     {"wrong-type"},
     {},
     {},
     "CDInfo.plist[Documentation][Language]"},
    {"Path that is not a full path",
     [](CheckDisc& d) {
         d.cdInfo(
             Value::dictionary({{"Path", "Docs"}, {"URL", "http://s/?"}, {"Language", Value::array({"English"})}}));
     },
     {"path-not-absolute", "documentation-folder-missing"}},
    {"URL without ? or &",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary({{"Path", d.path("Docs")}, {"URL", "http://s/redirect"}}));
     },
     {"url-without-separator"}},
    {"online language that Documentation.plist does not know",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary(
             {{"Path", d.path("Docs")}, {"URL", "http://s/?"}, {"Language", Value::array({"English", "english"})}}));
     },
     {"online-language-unknown"}},
    {"contained model without a ModelInfo record, documented online",
     [](CheckDisc& d) {
         d.writeModelInfo(
             Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", "Q1"}})},
                                                             {"QX-2", Value::dictionary({{"KPSID", "Q2"}})}})}}));
     },
     {"model-without-modelinfo"}},
    {"ModelInfo record without KPSID",
     [](CheckDisc& d) {
         d.writeModelInfo(
             Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({})},
                                                             {"QX-2", Value::dictionary({{"KPSID", "Q2"}})},
                                                             {"RT-3", Value::dictionary({{"KPSID", "R3"}})}})}}));
     },
     {"model-without-kpsid"}},
    {"model with no documentation anywhere",
     [](CheckDisc& d) {
         d.cdInfo({}, {{"ZZ-9", Value::dictionary({{"Documentation", Value::dictionary({})}})}});
         d.writeModelInfo(
             Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", "Q1"}})},
                                                             {"QX-2", Value::dictionary({{"KPSID", "Q2"}})},
                                                             {"RT-3", Value::dictionary({{"KPSID", "R3"}})},
                                                             {"ZZ-9", Value::dictionary({{"KPSID", "Z9"}})}})}}));
     },
     {"model-without-documentation"}},
    {"model names that differ only in letter case",
     [](CheckDisc& d) {
         d.cdInfo({}, {{"qx-1", Value::dictionary({})}});
         d.writeModelInfo(
             Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", "Q1"}})},
                                                             {"qx-1", Value::dictionary({{"KPSID", "q1"}})},
                                                             {"QX-2", Value::dictionary({{"KPSID", "Q2"}})},
                                                             {"RT-3", Value::dictionary({{"KPSID", "R3"}})}})}}));
     },
     {"model-names-differ-in-case"}},
    {"documentation folder that is not there",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary(
             {{"Path", d.path("Nowhere")}, {"URL", "http://s/?"}, {"Language", Value::array({"English"})}}));
     },
     {"documentation-folder-missing"}},
    {"documentation folder without language folders",
     [](CheckDisc& d) {
         d.makeDirectory("Empty");
         d.cdInfo(Value::dictionary(
             {{"Path", d.path("Empty")}, {"URL", "http://s/?"}, {"Language", Value::array({"English"})}}));
     },
     {"documentation-folder-empty"}},
    {"misspelt language folder", [](CheckDisc& d) { d.writeDocuments("Docs", "Deutsh"); }, {"language-folder-unnamed"}},
    {"language folder in the wrong letter case",
     [](CheckDisc& d) { d.writeDocuments("Docs", "french"); },
     {"language-folder-case"}},
    {"language folder without a start document",
     [](CheckDisc& d) { d.writeFile("Docs/French/MacOS_X_readme.rtf", "{\\rtf1 x}"); },
     {"start-document-missing"}},
    {"Top.pdf in the wrong letter case",
     [](CheckDisc& d) {
         d.writeFile("Docs/French/Top.pdf", "%PDF-1.4\n");
         d.writeFile("Docs/French/MacOS_X_readme.rtf", "{\\rtf1 x}");
     },
     {"start-document-case"},
     {},
     {},
     "French/Top.pdf"},
    {"read-me under a near name",
     [](CheckDisc& d) {
         d.writeFile("Docs/French/top.pdf", "%PDF-1.4");
         d.writeFile("Docs/French/ReadMe.rtf", "{\\rtf1 x}");
     },
     {"readme-missing"},
     {},
     {},
     "",
     "did you mean \"ReadMe.rtf\"?"},
    {"Folder Name with a trailing space",
     [](CheckDisc& d) {
         d.documentationMembers(
             {member("English", "English", "en"), member("German ", "Deutsch", "de"), member("French", "F", "fr")});
     },
     {"folder-name-space", "online-language-unknown", "language-folder-unnamed"},
     {},
     {},
     "Documentation.plist[FolderInfoArray][1][Folder Name]",
     "\"German \" (ends with a space)"},
    {"empty start document", [](CheckDisc& d) { d.writeFile("Docs/German/top.pdf", ""); }, {"document-empty"}},
    {"top.pdf that is no PDF",
     [](CheckDisc& d) { d.writeFile("Docs/German/top.pdf", "<html>"); },
     {"document-not-pdf"}},
    {"top.pdf that is a folder",
     [](CheckDisc& d) {
         d.makeDirectory("Own/German/top.pdf");
         d.writeFile("Own/German/MacOS_X_readme.rtf", "{\\rtf1 x}");
     },
     {"document-not-a-file"}},
    {"top.html that is no HTML",
     [](CheckDisc& d) {
         d.writeFile("Docs/French/top.html", "plain words");
         d.writeFile("Docs/French/MacOS_X_readme.rtf", "{\\rtf1 x}");
     },
     {"document-not-html"}},
    {"read-me that is not RTF",
     [](CheckDisc& d) { d.writeFile("Docs/German/MacOS_X_readme.rtf", "read me"); },
     {"readme-not-rtf"}},
    {"read-me missing in one folder of several",
     [](CheckDisc& d) { d.writeFile("Docs/French/top.pdf", "%PDF-1.4"); },
     {"readme-missing"}},
    {"application bundle without Documentation.plist",
     [](CheckDisc& d) { std::filesystem::remove(d.path("Docshelf.app/Contents/Resources/Documentation.plist")); },
     {"plist-missing"}},
    {"Documentation.plist without languages", [](CheckDisc& d) { d.documentationMembers({}); }, {"key-missing"}},
    {"Folder Name listed twice",
     [](CheckDisc& d) {
         auto list = members();
         list.push_back(member("German", "Deutsch 2", "de"));
         d.documentationMembers(list);
     },
     {"folder-name-duplicate"}},
    {"member without Folder Name",
     [](CheckDisc& d) {
         auto list = members();
         list.push_back(member(nullptr, "Svenska", "sv"));
         d.documentationMembers(list);
     },
     {"member-without-folder-name"}},
    {"member without Display Name",
     [](CheckDisc& d) {
         d.documentationMembers(
             {member("English", "English", "en"), member("German", nullptr, "de"), member("French", "F", "fr")});
     },
     {"member-without-display-name"}},
    {"member without KPS Code",
     [](CheckDisc& d) {
         d.documentationMembers(
             {member("English", "English", "en"), member("German", "Deutsch", nullptr), member("French", "F", "fr")});
     },
     {"member-without-kps-code", "language-code-unknown"}},
    {"CDInfo that is a named pipe",
     [](CheckDisc& d) { d.replaceWith("MacResources/CDInfo.plist", Stand::Pipe); },
     {"plist-unreadable"}},
    {"inst.ini that is a named pipe",
     [](CheckDisc& d) { d.replaceWith("Windows/inst.ini", Stand::Pipe); },
     {"launcher-ini-unreadable", "launcher-without-section"}},
    {"top.pdf that is a named pipe",
     [](CheckDisc& d) { d.replaceWith("Docs/German/top.pdf", Stand::Pipe); },
     {"document-not-a-file"}},
    {"Documentation.plist with a lone UTF-16 surrogate",
     [](CheckDisc& d) {
         // Written in binary form in both runs: "Français" is stored in UTF-16, its "ç" turned into half a pair.
         std::string list = testing::PropertyListWriter::serialize(
             Value::dictionary({{"FolderInfoArray", Value::array(members())}}), PlistFormat::Binary);
         std::string cedilla("\0\xE7\0a\0i\0s", 8);
         list.replace(list.find(cedilla), 2, "\xD8\0", 2);
         d.writeFile("Docshelf.app/Contents/Resources/Documentation.plist", list);
     },
     {"plist-character-replaced"}},
    {"KPSID that the address needs percent-encoded",
     [](CheckDisc& d) {
         d.writeModelInfo(
             Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({{"KPSID", "Q1"}})},
                                                             {"QX-2", Value::dictionary({{"KPSID", "Q2"}})},
                                                             {"RT-3", Value::dictionary({{"KPSID", "R 3&x"}})}})}}));
     },
     {"address-needs-encoding"}},
    {"key missing in one localization",
     [](CheckDisc& d) { d.writeFile(bundle + "de.lproj/Localizable.strings", strings("de", "UG_BTN_README")); },
     {"message-key-missing"}},
    {"strings table that cannot be read",
     [](CheckDisc& d) {
         d.writeFile(bundle + "de.lproj/Localizable.strings", "\"BTN_CLOSE\" = \"Schlie\xC3\x9F"
                                                              "en\"\n\"TXT\" = ;\n");
     },
     {"strings-unreadable"},
     {},
     {},
     "Localizable.strings:1"},
    {"strings table whose line 5 lacks its semicolon",
     [](CheckDisc& d) {
         d.writeFile(bundle + "de.lproj/Localizable.strings",
                     "/* de */\n\"BTN_CLOSE\" = \"x\";\n\"TXT_MODEL\" = \"x\";\n\n\"UG_BTN_UG\" = "
                     "\"x\"\n\"UG_BTN_README\" = \"x\";\n");
     },
     {"strings-unreadable"},
     {},
     {},
     "Localizable.strings:5"},
    {"KPS_CGI_Language that no KPS Code has",
     [](CheckDisc& d) { d.writeFile(bundle + "de.lproj/Localizable.strings", strings("deu")); },
     {"language-code-unknown"}},
    {"localization folder without a table",
     [](CheckDisc& d) { d.makeDirectory(bundle + "fr.lproj"); },
     {"localization-without-table"}},
    {"English table of the message bundle missing",
     [](CheckDisc& d) { std::filesystem::remove(d.path(bundle + "en.lproj/Localizable.strings")); },
     {"localization-without-table"}},
    {"localization that another one shadows",
     [](CheckDisc& d) { d.writeFile(bundle + "English.lproj/Localizable.strings", strings("en")); },
     {"localization-shadowed"}},
    {"no message bundle where the option says",
     [](CheckDisc&) {},
     {"message-bundle-missing"},
     {"--message-bundle", "/nonexistent/CDCommonMessage.bundle"}},
    {"message bundle found beside the application",
     [](CheckDisc&) {},
     {"message-bundle-beside-app"},
     {"--message-bundle"},
     {"DOCSHELF_MESSAGE_BUNDLE=/nonexistent/CDCommonMessage.bundle"}},
    {"InfoPlist table without CFBundleDisplayName",
     [](CheckDisc& d) {
         d.writeFile("Docshelf.app/Contents/Resources/en.lproj/InfoPlist.strings",
                     "\"Documentation\" = \"Documentation\";\n");
     },
     {"infoplist-key-missing"}},
    {"background whose header declares 65536 by 65536 pixels",
     [](CheckDisc& d) {
         d.writeFile("Docshelf.app/Contents/Resources/Background.png",
                     std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\x01\0\0\0\x01\0\0\x08\x06\0\0\0", 29));
     },
     {"picture-refused"},
     {},
     {},
     "Background.png"},
    {"icon that is a named pipe",
     [](CheckDisc& d) {
         d.writeInfoPlist(Value::dictionary({{"CFBundleExecutable", "Docshelf"},
                                             {"NSMainNibFile", "MainMenu"},
                                             {"CommonResourcePath", d.path("MacResources/CommonResource.plist")},
                                             {"CFBundleIconFile", "Docshelf"}}));
         mkfifo(d.path("Docshelf.app/Contents/Resources/Docshelf.png").c_str(), 0600);
     },
     {"picture-refused"},
     {},
     {},
     "Docshelf.png"},
    {"InfoPlist table a folder",
     [](CheckDisc& d) { d.replaceWith("Docshelf.app/Contents/Resources/en.lproj/InfoPlist.strings", Stand::Folder); },
     {"infoplist-key-missing", "infoplist-key-missing"}},
    {"window description that is a named pipe",
     [](CheckDisc& d) { d.replaceWith(CheckDisc::description, Stand::Pipe); },
     {"window-description-broken"}},
    {"window description with a font size of 1e9",
     [](CheckDisc& d) { d.changeDescription("<integer>20</integer>", "<real>1e9</real>"); },
     {"window-description-broken"}},
    {"setup launcher without a section",
     [](CheckDisc& d) { d.writeFile("Windows/Install.exe", starter); },
     {"launcher-without-section"}},
    {"inst.ini saved as UTF-16LE with a byte-order mark, as Windows reads it",
     [](CheckDisc& d) {
         d.writeFile("Windows/inst.ini",
                     testing::utf16("; launchers\r\n[Setup]\r\nExeprog=ReadMe.txt\r\n", false, true));
     },
     {}},
    {"Exeprog naming no file",
     [](CheckDisc& d) { d.writeFile("Windows/inst.ini", "[setup]\nexeprog = Gone.exe\n"); },
     {"launcher-program-missing"},
     {},
     {},
     "inst.ini:2"},
    {"Exeprog empty",
     [](CheckDisc& d) { d.writeFile("Windows/inst.ini", "[Setup]\nExeprog=\nArgv=x\n"); },
     {"launcher-program-missing"}},
    {"Exeprog outside the folder",
     [](CheckDisc& d) { d.writeFile("Windows/inst.ini", "[Setup]\nExeprog=C:\\x.exe\n"); },
     {"launcher-program-elsewhere"}},
    {"Argv longer than the launcher reads",
     [](CheckDisc& d) {
         d.writeFile("Windows/inst.ini", "[Setup]\nExeprog=readme.TXT\nArgv=" + std::string(1000, 'a') + "\n");
     },
     {"launcher-value-too-long"}},
    {"Exeprog longer than the launcher reads",
     [](CheckDisc& d) { d.writeFile("Windows/inst.ini", "[Setup]\nExeprog=" + std::string(260, 'a') + "\n"); },
     {"launcher-value-too-long"}},
    {"supplies launcher of a model the disc does not contain",
     [](CheckDisc& d) { d.writeFile("Windows/VPS_qx-1.EXE", "MZ"); },
     {"supplies-model-unknown"}},
    {"supplies launcher one letter off a model name",
     [](CheckDisc& d) { d.writeFile("Windows/vps_QX-7.exe", "MZ"); },
     {"supplies-model-unknown"},
     {},
     {},
     "",
     "did you mean \"QX-1\"?"},
    {"supplies launcher with a model name too long",
     [](CheckDisc& d) { d.writeFile("Windows/vps_" + std::string(128, 'Q') + ".exe", "MZ"); },
     {"supplies-model-too-long"}},
    {"lists that name a volume other than the browser's",
     [](CheckDisc& d) { commonResourcePath(d, "/Volumes/LXSERIES/MacResources/CommonResource.plist"); },
     {"volume-name-differs"},
     {"--volume", "/Volumes/LXSERIES=DISC"},
     {},
     "Info.plist[CommonResourcePath]",
     "every caption, label and menu item shows its key"},
    {"disc folder of another name whose lists name the browser's volume",
     [](CheckDisc& d) { commonResourcePath(d, "/Volumes/ZORVANE/MacResources/CommonResource.plist"); },
     {"volume-name-differs"},
     {"--volume", "/Volumes/ZORVANE=DISC"},
     {},
     "",
     "a disc pressed from it mounts as",
     0,
     true},
    {"application bundle whose Info.plist is a folder",
     [](CheckDisc& d) { d.replaceWith("Docshelf.app/Contents/Info.plist", Stand::Folder); },
     // Checked as it is: no bundle built elsewhere stands in for a broken one.
     {"app-bundle-broken", "plist-unreadable"},
     {"--app"},
     {},
     "Docshelf.app/Contents/Info.plist",
     "is a folder",
     0,
     true},
    {"application bundle without its program",
     [](CheckDisc& d) { std::filesystem::remove(d.path("Docshelf.app/Contents/MacOS/Docshelf")); },
     {"app-bundle-broken"},
     {},
     {},
     "Docshelf.app/Contents/MacOS/Docshelf",
     "",
     0,
     true},
    {"HTML manual whose links and pictures are all on the disc",
     [](CheckDisc& d) {
         htmlManual(d,
                    "<html><!-- <a href=\"gone.html\"> --><a href='Kapitel%202.html#teil'>2</a>\n"
                    "<a href=http://s.example/x>web</a><a href=\"mailto:a@b\">m</a><a href=\"#oben\">o</a>\n"
                    "<img SRC=\"../English/bild.png?v=2\"><a href=\"../../Elsewhere/x.html\">out</a>\n"
                    "<script>var s = '<img src=\"none.png\">';</script><a href=\"a&amp;b.html\">amp</a></html>",
                    {{"German/Kapitel 2.html", "<p>two</p>"}, {"English/bild.png", "png"}, {"German/a&b.html", "x"}});
     },
     {}},
    {"HTML manual with a missing page and a picture in another letter case",
     [](CheckDisc& d) {
         htmlManual(d, "<html>\n<a href=\"kapitel2.html\">2</a>\n<img src=\"Bilder/Schema.png\"></html>",
                    {{"German/bilder/schema.png", "png"}});
     },
     {"html-link-missing", "html-link-case"},
     {},
     {},
     "German/top.html:2",
     "\"kapitel2.html\" names"},
    {"HTML page reached from the start page with a missing picture",
     [](CheckDisc& d) {
         htmlManual(d, "<a href=\"teil/zwei.html\">2</a>",
                    {{"German/teil/zwei.html", "<p>\n\n<img src=\"../x.png\">"}});
     },
     {"html-link-missing"},
     {},
     {},
     "German/teil/zwei.html:3"},
    {"HTML manual with more links than one check follows",
     [](CheckDisc& d) {
         std::string page;
         for (std::size_t i = 0; i <= inspect::HtmlLinkCheck::maximumLinks; ++i)
             page += "<a href=\"top.html\">" + std::to_string(i) + "</a>\n";
         htmlManual(d, page, {});
     },
     {"html-links-cut"},
     {},
     {},
     "German/top.html:4001"},
    {"setup launcher that is the 64-bit twin",
     [](CheckDisc& d) { d.writeFile("Windows/Setup.exe", launcherImage(0x8664)); },
     {"launcher-64-bit"}},
    {"supplies launcher that is the 64-bit twin",
     [](CheckDisc& d) {
         std::string image = launcherImage(0x8664);
         image.replace(512, 18, std::string(18, '\0')); // a supplies launcher names no Startwick
         d.writeFile("Windows/vps_QX-1.exe", image);
     },
     {"launcher-64-bit"}},
    {"two languages of one Display Name",
     [](CheckDisc& d) {
         d.documentationMembers({member("English", "English", "en"), member("German", "Deutsch", "de"),
                                 member("French", "Deutsch", "fr")});
     },
     {"display-name-duplicate"},
     {},
     {},
     "Documentation.plist[FolderInfoArray][2][Display Name]"},
    {"URL without http://",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary(
             {{"Path", d.path("Docs")}, {"URL", "support.example.com/r?"}, {"Language", Value::array({"English"})}}));
     },
     {"url-not-web-address"}},
    {"URL whose query would land in its fragment",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary(
             {{"Path", d.path("Docs")}, {"URL", "http://s/page#top?"}, {"Language", Value::array({"English"})}}));
     },
     {"url-not-web-address"}},
    {"online language listed twice",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary(
             {{"Path", d.path("Docs")}, {"URL", "http://s/?"}, {"Language", Value::array({"English", "English"})}}));
     },
     {"online-language-duplicate"}},
    {"model documented online with an empty KPSID", [](CheckDisc& d) { kpsids(d, "Q1", "Q2", ""); }, {"kpsid-empty"}},
    {"two models documented online with one KPSID",
     [](CheckDisc& d) {
         d.cdInfo(Value::dictionary({{"URL", "http://s/?"}, {"Language", Value::array({"English"})}}));
         kpsids(d, "Q1", "Q2", "Q1");
     },
     {"kpsid-shared"},
     {},
     {},
     "[Model][RT-3][KPSID]"},
    {"language with an empty KPS Code",
     [](CheckDisc& d) {
         d.documentationMembers(
             {member("English", "English", "en"), member("German", "Deutsch", ""), member("French", "F", "fr")});
     },
     {"kps-code-empty", "language-code-unknown"}},
    {"model name with a trailing space",
     [](CheckDisc& d) {
         d.cdInfo({},
                  {{"QX-9 ", Value::dictionary({{"Documentation", Value::dictionary({{"Path", d.path("Own")}})}})}});
     },
     {"model-without-modelinfo", "model-name-blank"}},
    {"empty caption in one localization",
     [](CheckDisc& d) {
         d.writeFile(bundle + "de.lproj/Localizable.strings", strings("de") + "\"UG_BTN_UG\" = \"  \";\n");
     },
     {"message-text-empty"},
     {},
     {},
     "de.lproj/Localizable.strings[UG_BTN_UG]"},
    {"Windows folder that is not there",
     [](CheckDisc& d) { d.writeFile("Windows2", "not a folder"); },
     {"windows-folder-missing"},
     {"--windows", "Windows2"}},
};

class Check : public ::testing::TestWithParam<std::tuple<CheckCase, PlistFormat>> {};

TEST_P(Check, ReportsExactlyTheFaultBuiltIntoTheDisc) {
    const auto& [c, format] = GetParam();
    CheckDisc disc(format);
    c.change(disc);
    std::vector<std::string> arguments{"check",
                                       "--app",
                                       disc.appPath(),
                                       "--json",
                                       "--windows",
                                       disc.path("Windows"),
                                       "--message-bundle",
                                       disc.path("MacResources/CDCommonMessage.bundle")};
    // An option given by the case replaces the same default option; a lone name removes it.
    // "DISC" in a value stands for the disc's folder.
    std::string root = disc.path("");
    root.pop_back();
    for (std::size_t i = 0; i < c.arguments.size(); i += 2) {
        if (auto at = std::find(arguments.begin(), arguments.end(), c.arguments[i]); at != arguments.end())
            arguments.erase(at, at + 2);
        if (i + 1 < c.arguments.size()) {
            std::string value = c.arguments[i + 1];
            if (auto at = value.find("DISC"); at != std::string::npos)
                value.replace(at, 4, root);
            arguments.push_back(c.arguments[i]);
            arguments.push_back(c.arguments[i] == "--windows" ? disc.path(value) : value);
        }
    }
    if (c.discFolder)
        arguments.insert(arguments.begin() + 1, root);
    auto environment = c.environment;
    environment.push_back("LANGUAGE=en");
    auto result = testing::runProcess(INSPECTOR_PATH, arguments, environment);
    auto findings = ordered_json::parse(result.out.empty() ? "null" : result.out);
    ASSERT_TRUE(findings.is_array()) << result.out << result.err;
    std::vector<std::string> codes;
    bool error = false;
    for (const auto& finding : findings) {
        codes.push_back(finding["code"]);
        // --explain, --ignore and SARIF's rules know every code that is reported.
        EXPECT_NE(inspect::Codes::find(codes.back()), nullptr) << c.description << ": " << codes.back();
        error = error || finding["severity"] == "error";
        EXPECT_FALSE(finding["location"].get<std::string>().empty());
    }
    EXPECT_EQ(codes, c.codes) << findings.dump(2);
    if (!c.locationEnd.empty() && !findings.empty()) {
        EXPECT_TRUE(findings[0]["location"].get<std::string>().ends_with(c.locationEnd)) << findings[0]["location"];
    }
    if (!findings.empty()) {
        EXPECT_EQ(findings[0]["column"], c.column > 0 ? ordered_json(c.column) : ordered_json()) << c.description;
    }
    if (!c.messageHas.empty() && !findings.empty()) {
        EXPECT_NE(findings[0]["message"].get<std::string>().find(c.messageHas), std::string::npos)
            << findings[0]["message"];
    }
    EXPECT_EQ(result.exitStatus, error ? 1 : 0) << result.err;
}

INSTANTIATE_TEST_SUITE_P(Findings, Check,
                         ::testing::Combine(::testing::ValuesIn(cases),
                                            ::testing::Values(PlistFormat::Xml, PlistFormat::Binary)),
                         [](const auto& testCase) {
                             return testing::caseName(std::get<0>(testCase.param).description) + "_" +
                                    testing::formatName(std::get<1>(testCase.param));
                         });

TEST(CheckText, OneLinePerFindingAsCompilersWriteIt) {
    CheckDisc disc(PlistFormat::Xml);
    disc.writeDocuments("Docs", "Deutsh");
    disc.makeDirectory("Docs/Two\nLines");
    disc.makeDirectory("Docs/\a\x1B[2J\v\f\xE2\x80\xA8\xC2\x85");
    auto result = testing::runProcess(INSPECTOR_PATH, {"check", "--app", disc.appPath(), "--message-bundle",
                                                       disc.path("MacResources/CDCommonMessage.bundle")});
    EXPECT_EQ(result.exitStatus, 0) << "a warning is no error";
    // Controls and line separators in names are written as escapes: nothing reaches the terminal raw.
    EXPECT_EQ(result.out, disc.path("Docs/\\x07\\x1B[2J\\x0B\\x0C\\u2028\\u0085") +
                              ": warning: language folder \"\\x07\\x1B[2J\\x0B\\x0C\\u2028\\u0085\" is not named by "
                              "any \"Folder Name\" in Documentation.plist; the browser ignores it "
                              "[language-folder-unnamed]\n" +
                              disc.path("Docs/Deutsh") +
                              ": warning: language folder \"Deutsh\" is not named by any \"Folder Name\" in "
                              "Documentation.plist; the browser ignores it; did you mean \"German\"? "
                              "[language-folder-unnamed]\n" +
                              disc.path("Docs/Two\\nLines") +
                              ": warning: language folder \"Two\\nLines\" is not named by any \"Folder Name\" in "
                              "Documentation.plist; the browser ignores it [language-folder-unnamed]\n");
}

// One disc with an error at a key of an XML list and a warning about a folder
// whose name holds what GitHub's annotations must escape.
struct OutputCase {
    std::string name;
    std::vector<std::string> options;
    int exitStatus;
    std::function<void(const std::string& out, const CheckDisc& disc)> expect;
};

std::ostream& operator<<(std::ostream& out, const OutputCase& c) {
    return out << c.name;
}

class CheckOutput : public ::testing::TestWithParam<OutputCase> {};

TEST_P(CheckOutput, CarriesThePlaceOfEachFinding) {
    const OutputCase& c = GetParam();
    CheckDisc disc(PlistFormat::Xml);
    disc.writeModelInfo(
        Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({})},
                                                        {"QX-2", Value::dictionary({{"KPSID", "Q2"}})},
                                                        {"RT-3", Value::dictionary({{"KPSID", "R3"}})}})}}));
    disc.writeDocuments("Docs", "a:b,c%\nd\x1B\a\xC2\x85\xE2\x80\xA8\xFF");
    // A folder name that looks like a line: it is that folder, without a line, in every form.
    disc.writeDocuments("Docs", "Deutsh:12");
    std::vector<std::string> arguments{"check", "--app", disc.appPath(), "--message-bundle",
                                       disc.path("MacResources/CDCommonMessage.bundle")};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    auto result = testing::runProcess(INSPECTOR_PATH, arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.name << "\n" << result.err;
    SCOPED_TRACE(c.name + "\n" + result.out);
    c.expect(result.out, disc);
}

const std::string modelInfo = "MacResources/ModelInfo.plist";

INSTANTIATE_TEST_SUITE_P(
    Formats, CheckOutput,
    ::testing::Values(
        OutputCase{"text",
                   {},
                   1,
                   [](const std::string& out, const CheckDisc& d) {
                       EXPECT_TRUE(out.starts_with(d.path(modelInfo) + ":7: error: [Model][QX-1] the record of"));
                       EXPECT_NE(out.find("\n" + d.path("Docs/Deutsh:12") + ": warning: "), std::string::npos);
                       EXPECT_NE(out.find("a:b,c%\\nd\\x1B\\x07\\u0085\\u2028\\xFF"), std::string::npos);
                       EXPECT_TRUE(out.ends_with("[language-folder-unnamed]\n"));
                   }},
        OutputCase{"json",
                   {"--format", "json"},
                   1,
                   [](const std::string& out, const CheckDisc& d) {
                       auto first = ordered_json::parse(out)[0];
                       EXPECT_EQ(first["file"], d.path(modelInfo));
                       EXPECT_EQ(first["line"], 7);
                       EXPECT_EQ(first["keyPath"], "[Model][QX-1]");
                       EXPECT_EQ(first["location"], d.path(modelInfo) + "[Model][QX-1]");
                       auto folder = ordered_json::parse(out)[1];
                       EXPECT_EQ(folder["file"], d.path("Docs/Deutsh:12"));
                       EXPECT_TRUE(folder["line"].is_null());
                       EXPECT_TRUE(folder["keyPath"].is_null());
                   }},
        OutputCase{
            "sarif",
            {"--format", "sarif"},
            1,
            [](const std::string& out, const CheckDisc& d) {
                auto log = ordered_json::parse(out);
                EXPECT_EQ(log["version"], "2.1.0");
                auto& run = log["runs"][0];
                EXPECT_EQ(run["tool"]["driver"]["name"], "docshelf-inspect");
                auto& result = run["results"][0];
                EXPECT_EQ(result["ruleId"], "model-without-kpsid");
                EXPECT_EQ(run["tool"]["driver"]["rules"][result["ruleIndex"].get<std::size_t>()]["id"],
                          "model-without-kpsid");
                EXPECT_EQ(result["level"], "error");
                EXPECT_TRUE(result["message"]["text"].get<std::string>().starts_with("[Model][QX-1] the record"));
                auto& place = result["locations"][0]["physicalLocation"];
                EXPECT_EQ(place["artifactLocation"]["uri"], "file://" + d.path(modelInfo));
                EXPECT_EQ(place["region"]["startLine"], 7);
                EXPECT_EQ(run["results"][1]["level"], "warning");
                auto& folder = run["results"][1]["locations"][0]["physicalLocation"];
                EXPECT_TRUE(folder["artifactLocation"]["uri"].get<std::string>().ends_with("/Docs/Deutsh%3A12"));
                EXPECT_FALSE(folder.contains("region"));
                for (const auto& rule : run["tool"]["driver"]["rules"])
                    EXPECT_EQ(rule["defaultConfiguration"]["level"],
                              inspect::severityName(inspect::Codes::find(rule["id"].get<std::string>())->severity))
                        << rule["id"];
            }},
        OutputCase{"github",
                   {"--format", "github"},
                   1,
                   [](const std::string& out, const CheckDisc& d) {
                       EXPECT_TRUE(out.starts_with("::error file=" + d.path(modelInfo) +
                                                   ",line=7,title=model-without-kpsid::[Model][QX-1] the record"));
                       // The name's line break, controls and % cannot start a command of their own,
                       // and reach the log escaped as the text form escapes them.
                       EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 3);
                       EXPECT_EQ(out.find_first_of("\x1B\a\r"), std::string::npos);
                       EXPECT_EQ(out.find("\xC2\x85"), std::string::npos);
                       EXPECT_EQ(out.find("\xE2\x80\xA8"), std::string::npos);
                       EXPECT_EQ(out.find('\xFF'), std::string::npos);
                       const std::string name = "a%3Ab%2Cc%25\\nd\\x1B\\x07\\u0085\\u2028\\xFF";
                       EXPECT_NE(out.find("::warning file=" + d.path("Docs/") + name + ",title="), std::string::npos);
                       EXPECT_NE(out.find("language folder \"a:b,c%25\\nd\\x1B"), std::string::npos);
                       EXPECT_NE(out.find("::warning file=" + d.path("Docs/Deutsh%3A12") + ",title="),
                                 std::string::npos);
                   }},
        OutputCase{"ignore and strict",
                   {"--ignore", "model-without-kpsid", "--strict"},
                   1,
                   [](const std::string& out, const CheckDisc&) {
                       EXPECT_EQ(out.find("model-without-kpsid"), std::string::npos);
                       EXPECT_NE(out.find(": warning: "), std::string::npos);
                   }}),
    [](const auto& testCase) { return testing::caseName(testCase.param.name); });

// The SARIF log of a disc with findings of every kind of place (a key of an
// XML list, a line of inst.ini, a folder) is valid by the SARIF 2.1.0 schema,
// checked by a validator we did not write.
TEST(CheckSarif, LogIsValidBySarifSchema) {
    CheckDisc disc(PlistFormat::Xml);
    disc.writeModelInfo(Value::dictionary({{"Model", Value::dictionary({{"QX-1", Value::dictionary({})}})}}));
    disc.writeDocuments("Docs", "Deutsh:12");
    disc.writeFile("Windows/inst.ini", "[Setup]\nExeprog=Gone.exe\n");
    auto result = testing::runProcess(INSPECTOR_PATH,
                                      {"check", disc.path(""), "--windows", disc.path("Windows"), "--format", "sarif",
                                       "--message-bundle", disc.path("MacResources/CDCommonMessage.bundle")});
    ASSERT_EQ(result.exitStatus, 1) << result.err;
    auto log = ordered_json::parse(result.out);
    EXPECT_EQ(log["$schema"],
              "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json");
    std::set<std::string> uriKinds;
    for (const auto& r : log["runs"][0]["results"])
        uriKinds.insert(
            r["locations"][0]["physicalLocation"]["artifactLocation"]["uri"].get<std::string>().substr(0, 8));
    EXPECT_EQ(uriKinds, std::set<std::string>{"file:///"}) << "one kind of URI: absolute";
    disc.writeFile("log.sarif", result.out);
    auto validation = testing::runProcess(
        "/usr/bin/python3",
        {"-c",
         "import json, sys, jsonschema\n"
         "jsonschema.Draft7Validator(json.load(open(sys.argv[2]))).validate(json.load(open(sys.argv[1])))\n",
         disc.path("log.sarif"), SARIF_SCHEMA_PATH});
    EXPECT_EQ(validation.exitStatus, 0) << validation.err;
}

// Every code of the list is one that --explain explains, --ignore takes and
// SARIF lists as a rule with its level; a rule can report no other (the codes
// are checked when the program is compiled).
TEST(CheckCodes, EveryCodeKnownToExplainIgnoreAndSarif) {
    auto rules = inspect::FindingsOutput::sarif(inspect::Findings(), "0")["runs"][0]["tool"]["driver"]["rules"];
    std::set<std::string> ruleIds;
    for (const auto& rule : rules)
        ruleIds.insert(rule["id"].get<std::string>());
    CheckDisc disc(PlistFormat::Xml);
    for (const inspect::Code& code : inspect::Codes::all()) {
        std::string name(code.code);
        EXPECT_TRUE(ruleIds.contains(name)) << name;
        auto explained = testing::runProcess(INSPECTOR_PATH, {"--explain", name});
        EXPECT_EQ(explained.exitStatus, 0) << name << ": " << explained.err;
        EXPECT_NE(explained.out.find(std::string(code.fix)), std::string::npos) << name;
        auto ignored = testing::runProcess(INSPECTOR_PATH, {"check", disc.path(""), "--ignore", name});
        EXPECT_EQ(ignored.exitStatus, 0) << name << ": " << ignored.err;
    }
    EXPECT_EQ(ruleIds.size(), inspect::Codes::all().size());
}

// A finding handed over from elsewhere (a caller that places findings anew)
// keeps to the list too: an unknown code or a severity the list does not give it is refused.
TEST(CheckCodes, FindingsFromElsewhereKeepToTheList) {
    struct Row {
        const char* name;
        inspect::Severity severity;
        std::string code;
        bool kept;
    };
    for (const Row& row :
         {Row{"listed", inspect::Severity::Error, "document-empty", true},
          Row{"lowered as the list allows", inspect::Severity::Warning, "model-without-modelinfo", true},
          Row{"unknown code", inspect::Severity::Error, "document-emtpy", false},
          Row{"severity the list does not give", inspect::Severity::Note, "document-empty", false}}) {
        inspect::Findings findings;
        inspect::Finding finding{row.severity, row.code, "the start document is empty", "/m/English/top.pdf", 0, 0, {}};
        if (row.kept) {
            EXPECT_NO_THROW(findings.add(finding)) << row.name;
            EXPECT_EQ(findings.text(), "/m/English/top.pdf: " + std::string(inspect::severityName(row.severity)) +
                                           ": the start document is empty [" + row.code + "]\n")
                << row.name;
        } else {
            EXPECT_THROW(findings.add(finding), std::logic_error) << row.name;
            EXPECT_TRUE(findings.all().empty()) << row.name;
        }
    }
}

// The README's table of codes is the list's: the same codes, each with the severity the list gives it.
TEST(CheckCodes, ReadmeTableIsTheCodeList) {
    std::ifstream readme(std::string(PROJECT_SOURCE_PATH) + "/README.md");
    std::map<std::string, std::string> documented;
    for (std::string line; std::getline(readme, line);) {
        if (!line.starts_with("| `") || line.find("` | [") == std::string::npos)
            continue;
        std::string code = line.substr(3, line.find('`', 3) - 3);
        auto open = line.find("` | [") + 5;
        documented[code] = line.substr(open, line.find_first_of(" ]", open) - open);
    }
    std::map<std::string, std::string> listed;
    for (const inspect::Code& code : inspect::Codes::all())
        listed[std::string(code.code)] = inspect::severityName(code.severity);
    EXPECT_EQ(documented, listed);
}

// check finds lines for its findings by reading each list once, however many
// findings there are: the number of files read does not grow with the models
// that lack "KPSID".
TEST(CheckLinear, ListsAreReadOnceWhateverTheNumberOfFindings) {
    std::vector<std::size_t> readsOfModelInfo;
    for (int models : {3, 60}) {
        CheckDisc disc(PlistFormat::Xml);
        std::vector<Value::Entry> extra, records;
        for (int i = 0; i < models; ++i) {
            extra.push_back({"ZZ-" + std::to_string(i), Value::dictionary({})});
            records.push_back({"ZZ-" + std::to_string(i), Value::dictionary({{"Other", "x"}})});
        }
        disc.cdInfo({}, extra);
        records.push_back({"QX-1", Value::dictionary({{"KPSID", "Q1"}})});
        records.push_back({"QX-2", Value::dictionary({{"KPSID", "Q2"}})});
        records.push_back({"RT-3", Value::dictionary({{"KPSID", "R3"}})});
        disc.writeModelInfo(Value::dictionary({{"Model", Value::dictionary(records)}}));
        std::vector<foundation::FileAccessLog::Entry> log;
        foundation::FileAccessLog::install(&log);
        auto findings =
            inspect::DiscCheck::run({disc.appPath(), disc.path("MacResources/CDCommonMessage.bundle"), {}, {}});
        foundation::FileAccessLog::install(nullptr);
        auto withoutKpsid = std::count_if(findings.all().begin(), findings.all().end(),
                                          [](const auto& f) { return f.code == "model-without-kpsid"; });
        EXPECT_EQ(withoutKpsid, models) << models << " models";
        for (const auto& f : findings.all()) {
            if (f.code == "model-without-kpsid") {
                EXPECT_GT(f.line, 0u) << models << " models: " << f.location();
            }
        }
        std::string path = disc.path(modelInfo);
        readsOfModelInfo.push_back(static_cast<std::size_t>(
            std::count_if(log.begin(), log.end(), [&](const auto& e) { return e.path == path; })));
    }
    // The window that check loads reads the lists too, as the browser does: a few reads, the same for any disc.
    EXPECT_EQ(readsOfModelInfo[0], readsOfModelInfo[1]) << "reads of ModelInfo.plist grow with the findings";
}

TEST(SampleDiscCheck, StagedDiscChecksClean) {
    std::string app = SAMPLE_APP_PATH;
    std::string disc = app.substr(0, app.rfind('/'));
    auto result = testing::runProcess(INSPECTOR_PATH,
                                      {"check", "--app", app, "--message-bundle",
                                       disc + "/MacResources/CDCommonMessage.bundle", "--windows", disc + "/Windows"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "");
}

// Which programs a Mac starts, judged from the bundle's program as docshelf-press image does.
TEST(MacExecutable, TellsMacProgramsFromOthers) {
    const struct {
        const char* name;
        std::string head;
        const char* reason; // part of the answer; empty when a Mac starts it
    } programs[] = {
        {"ELF program built here",
         std::string("\x7F"
                     "ELF\x02\x01\x01",
                     7),
         "an ELF program"},
        {"64-bit Mach-O", std::string("\xCF\xFA\xED\xFE\x07\0\0\x01", 8), ""},
        {"universal Mach-O", std::string("\xCA\xFE\xBA\xBE\0\0\0\x02", 8), ""},
        {"Windows program", std::string("MZ\x90\0", 4), "a Windows program"},
        {"empty program", "", "no Mach-O program"},
    };
    for (const auto& c : programs) {
        CheckDisc disc(PlistFormat::Xml);
        disc.writeFile("Docshelf.app/Contents/MacOS/Docshelf", c.head);
        std::string why = inspect::MacExecutable::whyNot(disc.appPath());
        if (std::string(c.reason).empty())
            EXPECT_EQ(why, "") << c.name;
        else
            EXPECT_NE(why.find(c.reason), std::string::npos) << c.name << ": " << why;
    }
}

// Without a message bundle the window shows its keys: each must be one the check looks for.
TEST(CheckMessageKeys, EveryKeyTheWindowShowsIsChecked) {
    auto result =
        testing::runProcess(INSPECTOR_PATH, {"window", "--app", SAMPLE_APP_PATH, "--message-bundle", "/nonexistent"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    auto state = ordered_json::parse(result.out)["states"][0];
    std::vector<std::string> shown;
    for (const auto& [name, value] : state["published"].items())
        if (value.is_string())
            shown.push_back(value);
    for (const auto& title : state["applicationMenu"])
        shown.push_back(title);
    auto checked = inspect::MessageCheck::keys();
    std::size_t keysShown = 0;
    for (std::string text : shown) {
        if (text.ends_with(": "))
            text.resize(text.size() - 2);
        if (text.empty() || text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ_") != std::string::npos)
            continue;
        ++keysShown;
        EXPECT_NE(std::find(checked.begin(), checked.end(), text), checked.end()) << text;
    }
    EXPECT_GE(keysShown, 10u);
}

// The catalogue reads each list once and builds every model from those
// dictionaries; that must give what the browser builds reading them per model.
TEST(CatalogueFromListsReadOnce, SameAsReadingPerModel) {
    CheckDisc disc(PlistFormat::Binary);
    auto lists = disc::Disc::read();
    for (const char* model : {"QX-1", "QX-2", "RT-3", "unlisted"}) {
        SCOPED_TRACE(model);
        auto once = ZVModelDocumentation::initWithName(Value(model), lists.cdInfo.dictionary,
                                                       lists.modelInfo.dictionary, lists.common.dictionary);
        EXPECT_EQ(once, ZVModelDocumentation::initWithName(Value(model)));
        EXPECT_GE(once.objectForKey("Documentation list").count(), 1u);
    }
}

}
}
