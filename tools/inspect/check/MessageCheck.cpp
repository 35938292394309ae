#include "inspect/check/MessageCheck.h"

#include "inspect/common/PreferredLanguage.h"
#include "inspect/common/Wording.h"

#include "window/Locations.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/Localizations.h"
#include "platform/foundation/StringsTable.h"

#include <algorithm>
#include <optional>

namespace docshelf::inspect {

using foundation::Bundle;
using foundation::FileManager;
using foundation::Localizations;
using foundation::StringsTable;
using foundation::Value;

namespace {

// What the window does with each key of the common message bundle when the
// key is missing: it shows the default, which for every key but two is the key.
struct MessageKey {
    const char* key;
    const char* fallback;
    const char* shownAs;
};

constexpr MessageKey browserKeys[] = {
    {"BTN_CLOSE", "BTN_CLOSE", "the close button"},
    {"TXT_MODEL", "Model", "the model label"},
    {"UG_TXT_LANGUAGE", "UG_TXT_LANGUAGE", "the language label"},
    {"UG_TXT_LINKCD_UG_SUG", "UG_TXT_LINKCD_UG_SUG", "the description of documentation on the disc"},
    {"UG_TXT_LINKWB", "UG_TXT_LINKWB", "the description of online documentation"},
    {"UG_BTN_UG", "UG_BTN_UG", "the documentation button"},
    {"UG_BTN_README", "UG_BTN_README", "the read-me button"},
    {"APP_MENU_ABOUT", "APP_MENU_ABOUT", "the menu item About"},
    {"APP_MENU_HIDE", "APP_MENU_HIDE", "the menu item Hide"},
    {"APP_MENU_HIDEOHTERS", "APP_MENU_HIDEOHTERS", "the menu item Hide Others"},
    {"APP_MENU_SHOWALL", "APP_MENU_SHOWALL", "the menu item Show All"},
    {"APP_MENU_QUIT", "APP_MENU_QUIT", "the menu item Quit"},
    {"KPS_CGI_Language", "en", "the automatic language choice"},
};

// Never a text of any table: a lookup that gives it back found no text.
constexpr const char* notFound = "\x01not found\x01";

bool isFile(const std::string& path) {
    bool isDirectory = false;
    return FileManager::fileExistsAtPath(Value(path), isDirectory) && !isDirectory;
}

// The table of one localization, when it is there and readable.
bool readableTable(const std::string& path, Findings& findings) {
    auto table = StringsTable::readFile(path);
    if (table.ok)
        return true;
    Place location = Place::atLine(path, table.line);
    findings.error("strings-unreadable", location,
                   "the strings table cannot be read (" + table.message + "); every text of it shows its default");
    return false;
}

void checkLocalization(const Bundle& bundle, const std::string& localization, const MessageCheck::Input& input,
                       Findings& findings) {
    std::string table = std::string(bundle.resourcePath().text()) + "/" + localization + ".lproj/Localizable.strings";
    if (!isFile(table)) {
        // Its users get the development region's table, then English's; when no
        // other table answers either (the English table itself is the one
        // missing), the window shows its keys.
        PreferredLanguage preferred(Localizations::canonicalCode(localization));
        if (!bundle.localizedStringForKey("BTN_CLOSE", notFound, Value()).isEqualToString(notFound)) {
            findings.warning("localization-without-table", table,
                             "localization " + inQuotes(localization) +
                                 " has no Localizable.strings; its users see the texts of another localization");
            return;
        }
        findings.error("localization-without-table", table,
                       "localization " + inQuotes(localization) +
                           " has no Localizable.strings that can be read (missing, a folder, or a link that leads "
                           "nowhere) and no other table stands in: the window shows its keys, such as \"BTN_CLOSE\", "
                           "\"UG_BTN_UG\" and the \"APP_MENU_\" items");
        return;
    }
    if (!readableTable(table, findings))
        return;
    PreferredLanguage preferred(Localizations::canonicalCode(localization));
    if (bundle.preferredLocalization() != localization) {
        findings.note("localization-shadowed", table,
                      "localization " + inQuotes(localization) + " is never used: users of its language get " +
                          inQuotes(bundle.preferredLocalization()));
        return;
    }
    for (const MessageKey& key : browserKeys) {
        Value text = bundle.localizedStringForKey(key.key, notFound, Value());
        if (text.isEqualToString(notFound)) {
            findings.error("message-key-missing", table,
                           "key " + inQuotes(key.key) + " is missing; " + key.shownAs + " shows " +
                               inQuotes(key.fallback));
            continue;
        }
        // Without language codes (reported with Documentation.plist) there is nothing to compare with.
        if (std::string_view(key.key) == "KPS_CGI_Language" && !input.kpsCodes.empty() &&
            std::find(input.kpsCodes.begin(), input.kpsCodes.end(), text.text()) == input.kpsCodes.end())
            findings.warning("language-code-unknown", table,
                             "\"KPS_CGI_Language\" is " + inQuotes(text.text()) +
                                 ", which no \"KPS Code\" in Documentation.plist has; the automatic language choice "
                                 "never picks a language for these users");
    }
}

// The application's own "InfoPlist" table, for every localization it has.
void checkInfoPlistTable(const std::string& app, Findings& findings) {
    Bundle bundle = Bundle::bundleWithPath(Value(app));
    std::vector<std::string> localizations = bundle.localizations();
    std::string resources(bundle.resourcePath().text());
    if (localizations.empty())
        localizations.push_back("");
    for (const auto& localization : localizations) {
        std::string table =
            resources + "/" + (localization.empty() ? "" : localization + ".lproj/") + "InfoPlist.strings";
        // A table that is missing (or a folder, or a link that leads nowhere)
        // falls back to another; only when none has the key is it a fault.
        bool present = isFile(table);
        if (present && !readableTable(table, findings))
            continue;
        std::optional<PreferredLanguage> preferred;
        if (!localization.empty())
            preferred.emplace(Localizations::canonicalCode(localization));
        std::string missing = present ? ""
                                      : "the table cannot be read (missing, a folder, or a link that leads nowhere) "
                                        "and no other table has it: ";
        if (bundle.localizedStringForKey("CFBundleDisplayName", notFound, "InfoPlist").isEqualToString(notFound))
            findings.error("infoplist-key-missing", table,
                           missing + "key \"CFBundleDisplayName\" is missing; the window's title shows "
                                     "\"CFBundleDisplayName\"");
        if (bundle.localizedStringForKey("Documentation", notFound, "InfoPlist").isEqualToString(notFound))
            findings.warning("infoplist-key-missing", table,
                             missing + "key \"Documentation\" is missing; the application menu is looked for under "
                                       "the title \"Documentation\"");
    }
}

}

std::string MessageCheck::bundleBesideApp(const std::string& app) {
    std::string disc = app.substr(0, app.find_last_of('/'));
    return (disc == app ? "." : disc) + "/MacResources/CDCommonMessage.bundle";
}

std::vector<std::string> MessageCheck::keys() {
    std::vector<std::string> all;
    for (const MessageKey& key : browserKeys)
        all.emplace_back(key.key);
    return all;
}

void MessageCheck::run(const Input& input, Findings& findings) {
    checkInfoPlistTable(input.app, findings);

    std::string path = input.messageBundle ? *input.messageBundle : Locations::current().messageBundle;
    Bundle bundle = Bundle::bundleWithPath(Value(path));
    if (bundle.isAbsent() && !input.messageBundle) {
        // A disc that is not mounted where the browser looks: its own bundle, beside the application.
        std::string onDisc = bundleBesideApp(input.app);
        if (Bundle beside = Bundle::bundleWithPath(Value(onDisc)); !beside.isAbsent()) {
            findings.note("message-bundle-beside-app", onDisc,
                          "no common message bundle at " + inQuotes(path) +
                              ", where the browser looks; checking the one on this disc instead");
            bundle = beside;
            path = onDisc;
        }
    }
    if (bundle.isAbsent()) {
        findings.error("message-bundle-missing", path,
                       "no common message bundle here; every caption, label and menu item shows its key "
                       "(give its place with --message-bundle PATH)");
        return;
    }
    std::vector<std::string> localizations = bundle.localizations();
    if (localizations.empty())
        findings.error("message-bundle-missing", path,
                       "the common message bundle has no localization folders (xx.lproj); every caption shows its key");
    for (const auto& localization : localizations)
        checkLocalization(bundle, localization, input, findings);
}

}
