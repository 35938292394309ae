#include "platform/foundation/Bundle.h"
#include "platform/foundation/Localizations.h"
#include "platform/foundation/StringsTable.h"

#include "ScopedLanguage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

// The message texts that ship in the repository: the sample disc's common
// message bundle and the application's InfoPlist tables. A missing
// translation or a table that no longer parses fails here.

namespace docshelf::foundation {
namespace {

const std::string messageBundle = DOCSHELF_SOURCE_DIR "/sample-disc/ZORVANE/MacResources/CDCommonMessage.bundle";
const std::string applicationResources = DOCSHELF_SOURCE_DIR "/docshelf/resources";

const std::vector<std::string> messageKeys{
    "BTN_CLOSE",        "TXT_MODEL",     "UG_TXT_LANGUAGE",  "UG_TXT_LINKCD_UG_SUG", "UG_TXT_LINKWB",
    "UG_BTN_UG",        "UG_BTN_README", "APP_MENU_ABOUT",   "APP_MENU_HIDE",        "APP_MENU_HIDEOHTERS",
    "APP_MENU_SHOWALL", "APP_MENU_QUIT", "KPS_CGI_Language",
};
// The language codes of the support website, as Documentation.plist gives them under "KPS Code".
const std::vector<std::string> supportLanguageCodes{"en", "de", "fr", "ja", "es", "it",
                                                    "nl", "sv", "pt", "zh", "ko", "ru"};

std::string tablePath(const std::string& resources, const std::string& localization, const std::string& table) {
    return resources + "/" + localization + ".lproj/" + table + ".strings";
}

std::string firstBytes(const std::string& path, std::size_t count) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return bytes;
}

std::vector<std::string> messageLocalizations() {
    return Bundle::bundleWithPath(Value(messageBundle)).localizations();
}

// Each localization that the bundle has, whatever its folder is called.
TEST(SampleMessageBundle, EveryTableHoldsEveryKey) {
    std::string resources(Bundle::bundleWithPath(Value(messageBundle)).resourcePath().text());
    for (const auto& localization : messageLocalizations()) {
        StringsTableResult table = StringsTable::readFile(tablePath(resources, localization, "Localizable"));
        EXPECT_TRUE(table.ok) << localization << ": " << table.message << " at " << table.line << ":" << table.column;
        for (const auto& key : messageKeys)
            EXPECT_TRUE(table.objectForKey(key).isNonEmptyString()) << localization << " lacks " << key;
        for (const auto& [key, text] : table.entries)
            EXPECT_NE(std::find(messageKeys.begin(), messageKeys.end(), key), messageKeys.end())
                << localization << " has the unknown key " << key;
    }
}

TEST(SampleMessageBundle, EveryTableNamesItsOwnLanguageToTheSupportWebsite) {
    std::string resources(Bundle::bundleWithPath(Value(messageBundle)).resourcePath().text());
    for (const auto& localization : messageLocalizations()) {
        StringsTableResult table = StringsTable::readFile(tablePath(resources, localization, "Localizable"));
        std::string code(table.objectForKey("KPS_CGI_Language").text());
        EXPECT_EQ(code, Localizations::canonicalCode(localization).substr(0, 2)) << localization;
        EXPECT_NE(std::find(supportLanguageCodes.begin(), supportLanguageCodes.end(), code), supportLanguageCodes.end())
            << localization << ": " << code;
    }
}

TEST(SampleMessageBundle, HasTheDiscLanguagesInBothFolderStyles) {
    std::vector<std::string> found = messageLocalizations();
    for (const char* required : {"English", "Japanese", "de", "fr"})
        EXPECT_NE(std::find(found.begin(), found.end(), required), found.end()) << required;
}

TEST(SampleMessageBundle, StoresTablesAsUtf16AndAsBinaryPropertyList) {
    std::string resources(Bundle::bundleWithPath(Value(messageBundle)).resourcePath().text());
    std::string english = firstBytes(tablePath(resources, "English", "Localizable"), 2);
    std::string japanese = firstBytes(tablePath(resources, "Japanese", "Localizable"), 2);
    EXPECT_TRUE(english == "\xFE\xFF" || english == "\xFF\xFE");
    EXPECT_TRUE(japanese == "\xFE\xFF" || japanese == "\xFF\xFE");
    EXPECT_EQ(firstBytes(tablePath(resources, "fr", "Localizable"), 8), "bplist00");
}

TEST(SampleMessageBundle, LooksUpInTheUsersLanguage) {
    struct {
        const char* lang;
        const char* model;
        const char* quit;
    } cases[] = {{"de_DE.UTF-8", "Modell", "Docshelf beenden"}, {"ja_JP.UTF-8", "機種", "Docshelf を終了"},
                 {"fr_CA.UTF-8", "Modèle", "Quitter Docshelf"}, {"en_GB.UTF-8", "Model", "Quit Docshelf"},
                 {"ko_KR.UTF-8", "Model", "Quit Docshelf"},     {"C", "Model", "Quit Docshelf"}};
    for (const auto& c : cases) {
        testing::ScopedLanguage language(c.lang);
        Bundle bundle = Bundle::bundleWithPath(Value(messageBundle));
        EXPECT_EQ(bundle.localizedStringForKey(Value("TXT_MODEL"), Value("Model"), Value()), Value(c.model)) << c.lang;
        EXPECT_EQ(bundle.localizedStringForKey(Value("APP_MENU_QUIT"), Value(), Value()), Value(c.quit)) << c.lang;
    }
}

TEST(ApplicationInfoPlist, EveryTableNamesTheWindowAndKeepsTheMenuTitle) {
    for (const auto& localization : Bundle::bundleWithPath(Value(applicationResources)).localizations()) {
        StringsTableResult table = StringsTable::readFile(tablePath(applicationResources, localization, "InfoPlist"));
        EXPECT_TRUE(table.ok) << localization << ": " << table.message << " at " << table.line << ":" << table.column;
        EXPECT_TRUE(table.objectForKey("CFBundleDisplayName").isNonEmptyString()) << localization;
        EXPECT_EQ(table.objectForKey("Documentation"), Value("Documentation")) << localization;
    }
}

TEST(ApplicationInfoPlist, HasEnglishGermanAndJapanese) {
    std::vector<std::string> found = Bundle::bundleWithPath(Value(applicationResources)).localizations();
    for (const char* required : {"en", "de", "ja"})
        EXPECT_NE(std::find(found.begin(), found.end(), required), found.end()) << required;
}

}
}
