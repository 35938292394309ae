#include "platform/foundation/Bundle.h"

#include "PropertyListWriter.h"
#include "ScopedLanguage.h"
#include "TemporaryDirectory.h"
#include "TextEncoding.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace docshelf::foundation {
namespace {

using testing::PlistFormat;
using testing::PropertyListWriter;
using testing::ScopedLanguage;
using testing::TemporaryDirectory;

enum class Layout { Flat, Contents };

// A resource bundle written into a temporary folder, laid out flat (as message
// bundles on discs often are) or with Contents/Resources.
class TestBundle {
public:
    explicit TestBundle(Layout layout) : layout_(layout) { dir_.makeDirectory("Messages.bundle"); }

    std::string root() const { return dir_ / "Messages.bundle"; }
    std::string resources() const { return layout_ == Layout::Flat ? root() : root() + "/Contents/Resources"; }
    void developmentRegion(const char* region) const {
        std::string info = layout_ == Layout::Flat ? root() + "/Info.plist" : root() + "/Contents/Info.plist";
        PropertyListWriter::writeFile(info, Value::dictionary({{"CFBundleDevelopmentRegion", region}}),
                                      PlistFormat::Xml);
    }
    // A table in folder.lproj, or directly in the resources when folder is empty.
    void table(const std::string& folder, const std::string& bytes, const std::string& name = "Localizable") const {
        std::filesystem::path path = resources();
        if (!folder.empty())
            path /= folder + ".lproj";
        std::filesystem::create_directories(path);
        dir_.write(std::filesystem::relative(path / (name + ".strings"), dir_.path()).string(), bytes);
    }
    void text(const std::string& folder, const std::string& key, const std::string& value,
              const std::string& name = "Localizable") const {
        table(folder, "\"" + key + "\" = \"" + value + "\";\n", name);
    }
    Bundle open() const { return Bundle::bundleWithPath(Value(root())); }

private:
    TemporaryDirectory dir_;
    Layout layout_;
};

std::string lookup(const Bundle& bundle, const char* key, Value value = Value(), Value table = Value()) {
    return std::string(bundle.localizedStringForKey(Value(key), value, table).text());
}

class BundleLocalization : public ::testing::TestWithParam<Layout> {
protected:
    TestBundle bundle{GetParam()};
};

TEST_P(BundleLocalization, LegacyFolderNames) {
    bundle.text("English", "TXT_MODEL", "Model");
    bundle.text("German", "TXT_MODEL", "Modell");
    bundle.text("Japanese", "TXT_MODEL", "機種");
    struct {
        const char* lang;
        const char* expected;
    } cases[] = {
        {"de_DE.UTF-8", "Modell"}, {"de_AT", "Modell"}, {"ja_JP.UTF-8", "機種"}, {"C", "Model"}, {"ko_KR", "Model"}};
    for (const auto& c : cases) {
        ScopedLanguage language(c.lang);
        EXPECT_EQ(lookup(bundle.open(), "TXT_MODEL"), c.expected) << c.lang;
    }
}

TEST_P(BundleLocalization, CodesWithTerritory) {
    bundle.text("en", "K", "en");
    bundle.text("pt", "K", "pt");
    bundle.text("pt_BR", "K", "pt_BR");
    bundle.text("zh-Hans", "K", "zh-Hans");
    struct {
        std::map<std::string, std::string> environment;
        const char* expected;
    } cases[] = {{{{"LANG", "pt_BR.UTF-8"}}, "pt_BR"},
                 {{{"LANG", "pt_PT.UTF-8"}}, "pt"},
                 {{{"LANGUAGE", "zh-Hans:pt"}}, "zh-Hans"},
                 {{{"LANGUAGE", "ko:pt_BR"}, {"LANG", "en_US"}}, "pt_BR"}};
    for (const auto& c : cases) {
        ScopedLanguage language(c.environment);
        EXPECT_EQ(lookup(bundle.open(), "K"), c.expected) << c.expected;
        EXPECT_EQ(bundle.open().preferredLocalization(), c.expected);
    }
}

TEST_P(BundleLocalization, DevelopmentRegionWhenNoLanguageFits) {
    bundle.developmentRegion("French");
    bundle.text("English", "K", "English");
    bundle.text("French", "K", "French");
    bundle.text("de", "K", "de");
    ScopedLanguage language("ko_KR.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K"), "French");
    EXPECT_EQ(bundle.open().preferredLocalization(), "French");
}

TEST_P(BundleLocalization, EnglishWhenDevelopmentRegionHasNoFolder) {
    bundle.developmentRegion("it");
    bundle.text("en", "K", "en");
    bundle.text("de", "K", "de");
    ScopedLanguage language("ko_KR.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K"), "en");
}

TEST_P(BundleLocalization, TableOutsideAnyFolderWhenNothingFits) {
    bundle.text("", "K", "outside");
    bundle.text("de", "K", "de");
    ScopedLanguage language("ko_KR.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K"), "outside");
    EXPECT_EQ(bundle.open().preferredLocalization(), "");
}

TEST_P(BundleLocalization, TableFileFallsBackToRegionThenOutside) {
    bundle.developmentRegion("fr");
    bundle.text("de", "K", "de");
    bundle.text("fr", "Title", "Titre", "InfoPlist");
    bundle.text("", "Other", "outside", "Other");
    ScopedLanguage language("de_DE.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K"), "de");
    EXPECT_EQ(lookup(bundle.open(), "Title", Value(), Value("InfoPlist")), "Titre");
    EXPECT_EQ(lookup(bundle.open(), "Other", Value(), Value("Other")), "outside");
}

TEST_P(BundleLocalization, FirstTableFoundAnswersEvenWithoutTheKey) {
    bundle.text("en", "K", "en");
    bundle.text("", "K", "outside");
    bundle.text("de", "Other", "de");
    ScopedLanguage language("de_DE.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K", Value("fallback")), "fallback");
}

TEST_P(BundleLocalization, MalformedTableHoldsNoKeys) {
    bundle.table("de", "\"K\" = \"de\"\n\"L\" = \"x\";");
    bundle.text("en", "K", "en");
    ScopedLanguage language("de_DE.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K", Value("default")), "default");
    EXPECT_EQ(bundle.open().preferredLocalization(), "de");
}

TEST_P(BundleLocalization, Utf16AndPropertyListTables) {
    const std::string text = "/* UTF-16 */\n\"BTN_CLOSE\" = \"閉じる\";\n";
    bundle.table("Japanese", testing::utf16(text, true, true));
    bundle.table("ko", testing::utf16(text, false, true));
    Value root = Value::dictionary({{"BTN_CLOSE", "Fermer"}});
    bundle.table("French", PropertyListWriter::serialize(root, PlistFormat::Binary));
    bundle.table("de",
                 PropertyListWriter::serialize(Value::dictionary({{"BTN_CLOSE", "Schließen"}}), PlistFormat::Xml));
    struct {
        const char* lang;
        const char* expected;
    } cases[] = {{"ja_JP", "閉じる"}, {"ko_KR", "閉じる"}, {"fr_FR", "Fermer"}, {"de_DE", "Schließen"}};
    for (const auto& c : cases) {
        ScopedLanguage language(c.lang);
        EXPECT_EQ(lookup(bundle.open(), "BTN_CLOSE"), c.expected) << c.lang;
    }
}

TEST_P(BundleLocalization, DefaultsForMissingKeys) {
    bundle.text("en", "K", "text");
    ScopedLanguage language("en_US.UTF-8");
    Bundle opened = bundle.open();
    EXPECT_EQ(lookup(opened, "MISSING", Value("Model")), "Model");
    EXPECT_EQ(lookup(opened, "MISSING"), "MISSING") << "absent value: the key";
    EXPECT_EQ(lookup(opened, "MISSING", Value("")), "MISSING") << "empty value: the key";
    EXPECT_EQ(lookup(opened, "MISSING", Value::integer(3)), "MISSING") << "a value that is no string: the key";
    EXPECT_EQ(opened.localizedStringForKey(Value(), Value("v"), Value()), Value("v"));
    EXPECT_EQ(opened.localizedStringForKey(Value(), Value(), Value()), Value(""));
}

TEST_P(BundleLocalization, TableArgument) {
    bundle.text("en", "K", "default table");
    bundle.text("en", "K", "named table", "InfoPlist");
    ScopedLanguage language("en_US.UTF-8");
    EXPECT_EQ(lookup(bundle.open(), "K", Value(), Value()), "default table");
    EXPECT_EQ(lookup(bundle.open(), "K", Value(), Value("")), "default table");
    EXPECT_EQ(lookup(bundle.open(), "K", Value(), Value("InfoPlist")), "named table");
    EXPECT_EQ(lookup(bundle.open(), "K", Value("none"), Value("Missing")), "none");
}

TEST_P(BundleLocalization, ReadsTheDiscEveryTime) {
    bundle.text("en", "K", "first");
    ScopedLanguage language("de_DE.UTF-8");
    Bundle opened = bundle.open();
    EXPECT_EQ(lookup(opened, "K"), "first");
    bundle.text("en", "K", "second");
    EXPECT_EQ(lookup(opened, "K"), "second");
    bundle.text("German", "K", "dritte");
    EXPECT_EQ(lookup(opened, "K"), "dritte");
    EXPECT_EQ(opened.preferredLocalization(), "German");
}

TEST_P(BundleLocalization, LocalizationsAreTheLprojFoldersByName) {
    bundle.text("fr", "K", "v");
    bundle.text("English", "K", "v");
    bundle.text("de", "K", "v");
    std::filesystem::create_directories(bundle.resources() + "/.lproj");
    std::filesystem::create_directories(bundle.resources() + "/Images");
    std::filesystem::create_directories(bundle.resources() + "/../Elsewhere/Japanese.lproj");
    std::filesystem::create_directory_symlink("../Elsewhere/Japanese.lproj", bundle.resources() + "/Japanese.lproj");
    TemporaryDirectory other;
    other.write("x", "");
    std::filesystem::copy_file(other / "x", bundle.resources() + "/File.lproj");
    EXPECT_EQ(bundle.open().localizations(), (std::vector<std::string>{"English", "Japanese", "de", "fr"}));
}

INSTANTIATE_TEST_SUITE_P(Layouts, BundleLocalization, ::testing::Values(Layout::Flat, Layout::Contents),
                         [](const auto& testCase) { return testCase.param == Layout::Flat ? "flat" : "contents"; });

TEST(BundleLocalizationAbsent, AnswersAsNil) {
    TemporaryDirectory dir;
    Bundle absent = Bundle::bundleWithPath(Value(dir / "missing.bundle"));
    EXPECT_TRUE(absent.localizedStringForKey(Value("K"), Value("v"), Value()).isAbsent());
    EXPECT_TRUE(absent.localizations().empty());
    EXPECT_EQ(absent.preferredLocalization(), "");
}

}
}
