#include "inspect/check/DiscCheck.h"

#include "disc/Disc.h"
#include "disc/LanguageFolders.h"
#include "disc/LauncherLimits.h"
#include "inspect/check/AppBundleCheck.h"
#include "inspect/check/HtmlLinkCheck.h"
#include "inspect/check/LanguageListCheck.h"
#include "inspect/check/LauncherMachineCheck.h"
#include "inspect/check/MessageCheck.h"
#include "inspect/check/MessageTextCheck.h"
#include "inspect/check/ModelNameCheck.h"
#include "inspect/check/OnlineAddressCheck.h"
#include "inspect/check/PictureCheck.h"
#include "inspect/check/WindowsFolderCheck.h"
#include "inspect/check/VolumeNameCheck.h"
#include "inspect/check/XmlErrorLine.h"
#include "inspect/common/Wording.h"
#include "window/session/WindowSession.h"

#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVCDDocumentation.h"
#include "catalogue/ZVModelDocumentation.h"

#include "platform/foundation/NearMiss.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/CaseInsensitive.h"
#include "platform/foundation/FileManager.h"
#include "platform/foundation/RegularFile.h"
#include "platform/foundation/VolumeMap.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

namespace docshelf::inspect {

using foundation::caseInsensitiveCompare;
using foundation::Dictionary;
using foundation::FileManager;
using foundation::NearMiss;
using foundation::Value;
using foundation::VolumeMap;

namespace {

const char* kindName(Value::Kind kind) {
    switch (kind) {
    case Value::Kind::Absent:
        return "nothing";
    case Value::Kind::String:
        return "a string";
    case Value::Kind::Integer:
        return "an integer";
    case Value::Kind::Real:
        return "a real number";
    case Value::Kind::Boolean:
        return "a boolean";
    case Value::Kind::Date:
        return "a date";
    case Value::Kind::Data:
        return "data";
    case Value::Kind::Array:
        return "an array";
    case Value::Kind::Dictionary:
        return "a dictionary";
    }
    return "something else";
}

std::string fileName(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether a value put into the online address as it is holds characters that
// an address must carry percent-encoded: anything but letters, digits and "-._~".
bool needsPercentEncoding(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return !((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
                 c == '_' || c == '~');
    });
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The name without the spaces and tabs around it.
std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// A documentation directory and the settings that name it.
struct DocumentationDirectory {
    Place location;                  // where "Path" stands
    std::vector<std::string> models; // the models that use it
};

class Checker {
public:
    Checker(const CheckOptions& options, Findings& findings) : options_(options), findings_(findings) {}

    void run() {
        lists_ = disc::Disc::read();
        if (options_.disc)
            AppBundleCheck::run(*options_.disc, options_.app, findings_);
        checkChain();
        VolumeNameCheck::run({lists_, options_.disc}, findings_);
        checkFolderInformation();
        LanguageListCheck::run(lists_.documentation, findings_);
        checkModels();
        ModelNameCheck::run(models_, Findings::keyPath(lists_.cdInfo.path, {std::string(keys::containedModel)}),
                            findings_);
        checkSettings();
        OnlineAddressCheck::run(lists_, models_, findings_);
        checkDirectories();
        HtmlLinkCheck::run(HtmlLinkCheck::startDocuments(lists_, models_), findings_);
        MessageCheck::run({options_.app, options_.messageBundle, codes()}, findings_);
        MessageTextCheck::run(options_.app, options_.messageBundle, findings_);
        PictureCheck::run(options_.app, findings_);
        if (options_.windows)
            WindowsFolderCheck::run(*options_.windows, models_, findings_);
        if (options_.windows)
            LauncherMachineCheck::run(*options_.windows, findings_);
        checkWindowDescription();
    }

private:
    // --- the window description ------------------------------------------

    // Loads the window as the browser does; a description that does not load
    // (too deep, a font size or frame out of bounds, no regular file) leaves the
    // browser without a window. Last, since the session takes the main bundle.
    void checkWindowDescription() {
        Value name = lists_.info.dictionary.objectForKey("NSMainNibFile");
        Place location = lists_.info.path;
        if (name.isNonEmptyString())
            location = resources() + "/" + std::string(name.text()) + (name.hasSuffix(".plist") ? "" : ".plist");
        if (lists_.info.dictionary.isAbsent())
            return; // reported with Info.plist
        std::string error;
        auto session = WindowSession::start({options_.app, options_.messageBundle, std::nullopt, nullptr}, error);
        if (!session)
            findings_.error("window-description-broken", location,
                            "the window description does not load (" + error + "); the browser shows no window");
        session.reset();
        foundation::Bundle::setMainBundlePath(options_.app);
    }

    // The application's resource folder, where the bundle says it is.
    std::string resources() const {
        return std::string(foundation::Bundle::bundleWithPath(Value(options_.app)).resourcePath().text());
    }

    // --- property lists -------------------------------------------------

    // Reports a file that a key names but that cannot be read as a dictionary.
    // Returns whether it can.
    bool checkFile(const disc::PropertyListFile& file, const Place& namedAt, const std::string& consequence) {
        if (!file.exists) {
            findings_.error("plist-missing", namedAt,
                            inQuotes(file.path) + " does not exist; " + consequence + unmountedHint(file.path));
            return false;
        }
        if (!file.root.ok()) {
            // The XML parser's place means nothing in a list that is not XML.
            auto xml = file.form.empty() || file.form.starts_with("XML")
                           ? XmlErrorLine::find(VolumeMap::whereToRead(file.path))
                           : std::nullopt;
            findings_.error("plist-unreadable",
                            xml ? Place::atLine(file.path, xml->position.line, xml->position.column) : Place(file.path),
                            "cannot be read as a property list (" +
                                (file.root.problem().message.empty() ? std::string("unknown reason")
                                                                     : file.root.problem().message) +
                                (xml ? ": " + xml->message : std::string()) + "); " + consequence);
            return false;
        }
        if (!file.root.value().isDictionary()) {
            findings_.error("plist-root-not-dictionary", file.path,
                            std::string("holds ") + kindName(file.root.value().kind()) +
                                " at its root, not a dictionary; " + consequence);
            return false;
        }
        if (!file.form.empty())
            findings_.note("plist-form", file.path,
                           "written as " + file.form + "; the browser reads it as a Mac does, with the same values");
        if (file.replacedCharacters > 0)
            findings_.warning("plist-character-replaced", file.path,
                              counted(file.replacedCharacters, "character") + " in this binary list's strings " +
                                  (file.replacedCharacters == 1 ? "is" : "are") +
                                  " half of a UTF-16 pair without its other half; the browser shows the "
                                  "replacement mark U+FFFD instead");
        return true;
    }

    // Discs name their files where the mounted disc has them; a file missing
    // under a volume usually means the volume lies elsewhere than mapped.
    std::string unmountedHint(const std::string& path) const {
        std::string volume = VolumeMap::volumeOf(path);
        if (volume.empty())
            return {};
        std::string where = VolumeMap::whereToRead(volume);
        return where == volume ? " (the volume " + inQuotes(volume) + " is not mapped: give its folder with --volume " +
                                     volume + "=DIR)"
                               : " (the volume " + inQuotes(volume) + " is read from " + inQuotes(where) +
                                     "; another folder is given with --volume " + volume + "=DIR)";
    }

    // A value that the browser reads as `kind`; absent values are someone else's concern.
    bool typed(const Value& value, Value::Kind kind, const Place& location, const std::string& key) {
        if (value.isAbsent() || value.kind() == kind)
            return true;
        findings_.error("wrong-type", location,
                        inQuotes(key) + " is " + kindName(value.kind()) + ", but the browser expects " +
                            kindName(kind) + " here");
        return false;
    }

    // A path that the browser uses exactly as stored, without resolving it.
    void absolute(const Value& path, const Place& location, const std::string& key) {
        if (path.isString() && !path.text().starts_with('/'))
            findings_.error(
                "path-not-absolute", location,
                inQuotes(key) + " " + inQuotes(path.text()) +
                    " is not a full path; the browser uses it as stored, relative to wherever it was started");
    }

    // A path key of a list that leads to the next list: present, a string, a full path.
    bool pathKey(const disc::PropertyListFile& file, std::string_view key, const std::string& consequence) {
        Value value = file.dictionary.objectForKey(key);
        Place location = Findings::keyPath(file.path, {std::string(key)});
        if (value.isAbsent()) {
            findings_.error(key == keys::commonResourcePath ? CodeName("common-resource-path-missing")
                                                            : CodeName("key-missing"),
                            file.path, inQuotes(key) + " is missing; " + consequence);
            return false;
        }
        if (!typed(value, Value::Kind::String, location, std::string(key)))
            return false;
        absolute(value, location, std::string(key));
        return true;
    }

    void checkChain() {
        const std::string noModels = "the window lists no models";
        if (!checkFile(lists_.info, options_.app, noModels))
            return;
        if (!pathKey(lists_.info, keys::commonResourcePath, noModels))
            return;
        Place commonAt = Findings::keyPath(lists_.info.path, {std::string(keys::commonResourcePath)});
        if (!checkFile(lists_.common, commonAt, noModels))
            return;
        if (pathKey(lists_.common, keys::cdInfo, noModels))
            checkFile(lists_.cdInfo, Findings::keyPath(lists_.common.path, {std::string(keys::cdInfo)}), noModels);
        const std::string noIdentifiers = "every model's online documentation page opens without the model";
        if (pathKey(lists_.common, keys::modelInfo, noIdentifiers))
            checkFile(lists_.modelInfo, Findings::keyPath(lists_.common.path, {std::string(keys::modelInfo)}),
                      noIdentifiers);
    }

    // --- Documentation.plist ---------------------------------------------

    void checkFolderInformation() {
        const std::string noDocumentation = "no model gets any documentation, on the disc or online";
        std::string resources = this->resources();
        if (!lists_.documentation.exists) {
            findings_.error("plist-missing", lists_.documentation.path.empty() ? resources : lists_.documentation.path,
                            "the application bundle has no Documentation.plist; " + noDocumentation);
            return;
        }
        if (!checkFile(lists_.documentation, lists_.documentation.path, noDocumentation))
            return;
        const std::string& file = lists_.documentation.path;
        Value members = lists_.documentation.dictionary.objectForKey(keys::folderInfoArray);
        Place location = Findings::keyPath(file, {std::string(keys::folderInfoArray)});
        if (members.isAbsent()) {
            findings_.error("key-missing", file, inQuotes(keys::folderInfoArray) + " is missing; " + noDocumentation);
            return;
        }
        if (!typed(members, Value::Kind::Array, location, std::string(keys::folderInfoArray)))
            return;
        if (members.count() == 0)
            findings_.error("key-missing", location, inQuotes(keys::folderInfoArray) + " is empty; " + noDocumentation);

        std::map<std::string, std::size_t> firstIndex;
        for (std::size_t i = 0; i < members.count(); ++i) {
            Value member = members.objectAtIndex(i);
            Place at = Findings::keyPath(file, {std::string(keys::folderInfoArray), std::to_string(i)});
            if (!typed(member, Value::Kind::Dictionary, at, "member " + std::to_string(i)))
                continue;
            Value folder = member.objectForKey(keys::folderName);
            Value display = member.objectForKey(keys::displayName);
            Value code = member.objectForKey(keys::kpsCode);
            typed(folder, Value::Kind::String, Findings::keyPath(at, {std::string(keys::folderName)}),
                  std::string(keys::folderName));
            typed(display, Value::Kind::String, Findings::keyPath(at, {std::string(keys::displayName)}),
                  std::string(keys::displayName));
            typed(code, Value::Kind::String, Findings::keyPath(at, {std::string(keys::kpsCode)}),
                  std::string(keys::kpsCode));
            std::string which =
                folder.isString() ? "language " + inQuotes(folder.text()) : "member " + std::to_string(i);
            if (folder.isAbsent())
                findings_.warning("member-without-folder-name", at,
                                  which + " has no " + inQuotes(keys::folderName) +
                                      "; it matches no folder and no language");
            if (display.isAbsent())
                findings_.error("member-without-display-name", at,
                                which + " has no " + inQuotes(keys::displayName) +
                                    "; its entries hold nothing and show as untitled languages");
            if (code.isAbsent())
                findings_.error(
                    "member-without-kps-code", at,
                    which + " has no " + inQuotes(keys::kpsCode) +
                        "; the automatic language choice never picks it and its online entries have no address");
            if (!folder.isString())
                continue;
            std::string name(folder.text());
            if (name != trimmed(name))
                findings_.warning("folder-name-space", Findings::keyPath(at, {std::string(keys::folderName)}),
                                  inQuotes(keys::folderName) + " " + inQuotes(name) +
                                      " is matched exactly: only a language folder and \"Language\" entries "
                                      "written with the same spaces find it");
            if (auto [it, inserted] = firstIndex.emplace(name, i); !inserted)
                findings_.warning("folder-name-duplicate", at,
                                  inQuotes(keys::folderName) + " " + inQuotes(name) + " is listed already at member " +
                                      std::to_string(it->second) + "; the language is offered twice");
            else
                folderNames_.push_back(name);
            if (code.isString())
                codes_.insert(std::string(code.text()));
            if (code.isString() && needsPercentEncoding(code.text()))
                addressWarning(Findings::keyPath(at, {std::string(keys::kpsCode)}), keys::kpsCode, code.text(), "LNG");
        }
        members_ = members;
    }

    // The browser puts the value into the online address unencoded.
    void addressWarning(const Place& at, std::string_view key, std::string_view value, const char* query) {
        findings_.warning("address-needs-encoding", at,
                          inQuotes(key) + " " + inQuotes(value) +
                              " holds characters that an address carries percent-encoded; the browser puts it into "
                              "the online address as it is (" +
                              query + "=" + std::string(value) + "), which the support site may read otherwise");
    }

    // The exact "Folder Name" that the name differs from only in letter case, or empty.
    std::string caseVariant(std::string_view name) const {
        for (const auto& folder : folderNames_)
            if (folder != name && caseInsensitiveCompare(folder, name) == 0)
                return folder;
        return {};
    }

    // A hint for a folder that no "Folder Name" names: the display name it was
    // taken for, or the folder name it is a misspelling of. "Deutsch" gives
    // "; "Deutsch" is the "Display Name" of the folder "German""; "Germna" gives
    // "; did you mean "German"?".
    std::string suggestion(const std::string& folder) const {
        std::string closest;
        std::size_t best = std::string::npos;
        for (const Value& member : members_.elements()) {
            Value name = member.objectForKey(keys::folderName);
            Value display = member.objectForKey(keys::displayName);
            if (!name.isString())
                continue;
            if (display.isString() && caseInsensitiveCompare(display.text(), folder) == 0)
                return "; " + inQuotes(display.text()) + " is the " + inQuotes(keys::displayName) + " of the folder " +
                       inQuotes(name.text());
            for (const Value& candidate : {name, display})
                if (auto distance = NearMiss::editDistance(candidate.text(), folder);
                    candidate.isString() && NearMiss::isSlipFor(folder, candidate.text()) && distance < best) {
                    best = distance;
                    closest = std::string(name.text());
                }
        }
        return closest.empty() ? std::string() : "; did you mean " + inQuotes(closest) + "?";
    }

    bool known(std::string_view name) const {
        return std::find(folderNames_.begin(), folderNames_.end(), name) != folderNames_.end();
    }

    std::vector<std::string> codes() const { return {codes_.begin(), codes_.end()}; }

    // --- models ------------------------------------------------------------

    void checkModels() {
        const disc::PropertyListFile& cd = lists_.cdInfo;
        if (cd.dictionary.isAbsent())
            return;
        Value contained = cd.dictionary.objectForKey(keys::containedModel);
        Place containedAt = Findings::keyPath(cd.path, {std::string(keys::containedModel)});
        if (contained.isAbsent()) {
            findings_.error("key-missing", cd.path,
                            inQuotes(keys::containedModel) + " is missing; the window lists no models");
            return;
        }
        if (!typed(contained, Value::Kind::Dictionary, containedAt, std::string(keys::containedModel)))
            return;
        if (contained.count() == 0)
            findings_.error("key-missing", containedAt,
                            inQuotes(keys::containedModel) + " is empty; the window lists no models");

        // The same list, in the same order, as the window's model pop-up.
        Value names = ZVCDDocumentation::initWithCDInfoPlist(cd.dictionary).objectForKey(keys::containedModels);
        for (const Value& name : names.elements())
            models_.emplace_back(name.text());
        for (std::size_t i = 1; i < models_.size(); ++i)
            if (caseInsensitiveCompare(models_[i - 1], models_[i]) == 0)
                findings_.warning("model-names-differ-in-case", containedAt,
                                  "models " + inQuotes(models_[i - 1]) + " and " + inQuotes(models_[i]) +
                                      " differ only in letter case; their order in the model list is not defined");

        Value modelRecords = lists_.modelInfo.dictionary.objectForKey(keys::model);
        Place modelAt = Findings::keyPath(lists_.modelInfo.path, {std::string(keys::model)});
        if (!lists_.modelInfo.dictionary.isAbsent() && modelRecords.isAbsent())
            findings_.error("key-missing", lists_.modelInfo.path,
                            inQuotes(keys::model) +
                                " is missing; every model's online documentation page opens without the model");
        typed(modelRecords, Value::Kind::Dictionary, modelAt, std::string(keys::model));

        for (const auto& model : models_)
            checkModel(lists_.model(model), modelRecords);
    }

    void checkModel(const disc::ModelRecord& read, const Value& modelRecords) {
        const std::string& model = read.name;
        Place recordAt = read.recordAt;
        typed(read.record, Value::Kind::Dictionary, recordAt, model);

        Dictionary dictionary = ZVModelDocumentation::initWithName(
            Value(model), lists_.cdInfo.dictionary, lists_.modelInfo.dictionary, lists_.common.dictionary);
        Value list = dictionary.objectForKey(keys::documentationList);
        bool online = false;
        for (const Value& entry : list.elements())
            online = online || entry.objectForKey(keys::documentationURL).isNonEmptyString();

        Place identificationAt = read.identificationAt;
        const Value& identification = read.identification;
        // Without a readable "Model" the fault is reported once, with the file.
        if (identification.isAbsent() && modelRecords.isDictionary()) {
            std::string message = "model " + inQuotes(model) + " has no record in " + fileName(lists_.modelInfo.path) +
                                  "; its online documentation page opens without the model";
            for (const auto& [key, value] : modelRecords.entries())
                if (caseInsensitiveCompare(key, model) == 0)
                    message += "; a record is named " + inQuotes(key) + ", which differs in letter case";
            if (online)
                findings_.error("model-without-modelinfo", identificationAt, message);
            else
                findings_.warning("model-without-modelinfo", identificationAt, message);
        } else if (!identification.isAbsent() &&
                   typed(identification, Value::Kind::Dictionary, identificationAt, model)) {
            Value id = identification.objectForKey(keys::kpsID);
            if (id.isAbsent())
                findings_.error("model-without-kpsid", identificationAt,
                                "the record of " + inQuotes(model) + " has no " + inQuotes(keys::kpsID) +
                                    "; the model loses its whole documentation list");
            else if (typed(id, Value::Kind::String, Findings::keyPath(identificationAt, {std::string(keys::kpsID)}),
                           std::string(keys::kpsID)) &&
                     needsPercentEncoding(id.text()))
                addressWarning(Findings::keyPath(identificationAt, {std::string(keys::kpsID)}), keys::kpsID, id.text(),
                               "MDL");
        }

        // Which settings the model uses, as the catalogue chooses them.
        const Value& settings = read.settings.settings;
        Place settingsAt = read.settingsAt;

        // Without languages in Documentation.plist every list is empty; that is reported once, with the file.
        if (!list.isAbsent() && list.count() == 0 && members_.count() > 0)
            findings_.error("model-without-documentation", recordAt,
                            "model " + inQuotes(model) + " has no documentation, on the disc or online (" +
                                whyNoDocumentation(settings, !read.settings.own) +
                                "): its language list is empty and the documentation button opens nothing");
        Value path = settings.objectForKey(keys::path);
        if (path.isString()) {
            auto& directory = directories_[std::string(path.text())];
            directory.location = Findings::keyPath(settingsAt, {std::string(keys::path)});
            directory.models.push_back(model);
        }
    }

    // Why the catalogue found no entry with these settings.
    static std::string whyNoDocumentation(const Value& settings, bool discWide) {
        if (settings.isAbsent())
            return "neither its record nor the disc has \"Documentation\" settings";
        std::string whose = discWide ? "the disc-wide settings have " : "its own settings have ";
        bool path = settings.objectForKey(keys::path).isString();
        bool url = settings.objectForKey(keys::url).isString();
        if (!path && !url)
            return whose + "neither \"Path\" nor \"URL\"";
        if (!url)
            return "its \"Path\" holds no language folder that Documentation.plist names, and there is no \"URL\"";
        return "no language of its \"Language\" list is a \"Folder Name\" in Documentation.plist";
    }

    // --- documentation settings ---------------------------------------------

    void checkSettings() {
        Value discWide = lists_.cdInfo.dictionary.objectForKey(keys::documentation);
        checkSettings(discWide, Findings::keyPath(lists_.cdInfo.path, {std::string(keys::documentation)}));
        Value contained = lists_.cdInfo.dictionary.objectForKey(keys::containedModel);
        for (const auto& model : models_) {
            Place at = Findings::keyPath(lists_.cdInfo.path,
                                         {std::string(keys::containedModel), model, std::string(keys::documentation)});
            checkSettings(contained.objectForKey(model).objectForKey(keys::documentation), at);
        }
    }

    void checkSettings(const Value& settings, const Place& at) {
        if (!typed(settings, Value::Kind::Dictionary, at, std::string(keys::documentation)) || settings.isAbsent())
            return;
        Value path = settings.objectForKey(keys::path);
        Value url = settings.objectForKey(keys::url);
        Value languages = settings.objectForKey(keys::language);
        typed(path, Value::Kind::String, Findings::keyPath(at, {std::string(keys::path)}), std::string(keys::path));
        absolute(path, Findings::keyPath(at, {std::string(keys::path)}), std::string(keys::path));
        if (typed(url, Value::Kind::String, Findings::keyPath(at, {std::string(keys::url)}), std::string(keys::url)) &&
            url.isString() && !url.text().ends_with('?') && !url.text().ends_with('&'))
            findings_.error("url-without-separator", Findings::keyPath(at, {std::string(keys::url)}),
                            inQuotes(keys::url) + " " + inQuotes(url.text()) +
                                " does not end in \"?\" or \"&\"; the query is appended directly, giving " +
                                inQuotes(std::string(url.text()) + "MDL=...&LNG=...&SRC=DOC"));
        if (!typed(languages, Value::Kind::Array, Findings::keyPath(at, {std::string(keys::language)}),
                   std::string(keys::language)) ||
            members_.count() == 0)
            return;
        for (std::size_t i = 0; i < languages.count(); ++i) {
            Value language = languages.objectAtIndex(i);
            Place languageAt = Findings::keyPath(at, {std::string(keys::language), std::to_string(i)});
            if (!typed(language, Value::Kind::String, languageAt, std::string(keys::language)) ||
                known(language.text()))
                continue;
            std::string message = "online language " + inQuotes(language.text()) + " is not a " +
                                  inQuotes(keys::folderName) + " in Documentation.plist; it is never offered";
            if (auto variant = caseVariant(language.text()); !variant.empty())
                message += " (" + inQuotes(variant) + " differs only in letter case)";
            findings_.warning("online-language-unknown", languageAt, message);
        }
    }

    // --- language folders ----------------------------------------------------

    void checkDirectories() {
        for (const auto& [path, directory] : directories_)
            checkDirectory(path, directory);
    }

    // "models "QX-1", "QX-2"" or "model "QX-1"".
    static std::string usersOf(const DocumentationDirectory& directory) {
        std::string users;
        for (const auto& model : directory.models)
            users += (users.empty() ? "" : ", ") + inQuotes(model);
        return (directory.models.size() == 1 ? "model " : "models ") + users;
    }

    void checkDirectory(const std::string& path, const DocumentationDirectory& directory) {
        Value listing = FileManager::contentsOfDirectoryAtPath(Value(path));
        if (listing.isAbsent()) {
            findings_.error("documentation-folder-missing", directory.location,
                            inQuotes(path) + " is not a folder that can be read; " + usersOf(directory) +
                                " get no documentation from the disc");
            return;
        }
        // The folders as the browser finds them; reported in name order.
        std::vector<Value> scanned = disc::LanguageFolders::scan(Value(path));
        std::vector<std::string> folders;
        for (const Value& name : scanned)
            folders.emplace_back(name.text());
        std::sort(folders.begin(), folders.end());
        for (const auto& folder : folders) {
            if (members_.count() == 0 || known(folder))
                continue;
            if (auto variant = caseVariant(folder); !variant.empty())
                findings_.error("language-folder-case", path + "/" + folder,
                                "language folder " + inQuotes(folder) + " differs from the " +
                                    inQuotes(keys::folderName) + " " + inQuotes(variant) +
                                    " only in letter case; the browser ignores it");
            else
                findings_.warning("language-folder-unnamed", path + "/" + folder,
                                  "language folder " + inQuotes(folder) + " is not named by any " +
                                      inQuotes(keys::folderName) + " in Documentation.plist; the browser ignores it" +
                                      suggestion(folder));
        }

        // The catalogue's own entries for this folder: one per pairing of a
        // member with a folder, in the member order, made by the same matching.
        std::vector<std::string> named;
        for (const auto& match : disc::LanguageFolders::match(members_, scanned))
            named.emplace_back(match.name.text());
        Value entries = ZVModelDocumentation::languagePropertyList(Value(path));
        if (entries.count() == 0 && members_.count() > 0) {
            findings_.warning("documentation-folder-empty", directory.location,
                              inQuotes(path) + " holds no language folder that Documentation.plist names; " +
                                  usersOf(directory) + " get online documentation or none");
            return;
        }
        std::vector<std::string> withoutReadMe;
        bool someReadMe = false;
        std::set<std::string> seen;
        for (std::size_t i = 0; i < named.size(); ++i) {
            if (!seen.insert(named[i]).second)
                continue;
            Value entry = entries.objectAtIndex(i);
            if (entry.objectForKey(keys::documentationDisplayName).isAbsent())
                continue; // an entry without keys, reported with its member
            std::string folderPath = path + "/" + named[i];
            Value start = entry.objectForKey(keys::documentationPath);
            if (!start.isNonEmptyString()) {
                std::string other = nameIgnoringCase(folderPath, {"top.pdf", "top.html"});
                if (!other.empty())
                    findings_.warning("start-document-case", folderPath + "/" + other,
                                      "language folder " + inQuotes(named[i]) + " holds " + inQuotes(other) +
                                          ", not \"top.pdf\" or \"top.html\": a Mac reading the disc's "
                                          "case-insensitive volume opens it, a case-sensitive volume opens nothing");
                else
                    findings_.error("start-document-missing", folderPath,
                                    "language folder " + inQuotes(named[i]) +
                                        " holds neither \"top.pdf\" nor \"top.html\"; the documentation button "
                                        "opens nothing for this language" +
                                        didYouMean(folderPath, {"top.pdf", "top.html"}));
            } else
                checkDocument(std::string(start.text()), start.hasSuffix(".pdf") ? "%PDF-" : "<", "start document");
            Value readMe = entry.objectForKey(keys::documentationReadmePath);
            if (readMe.isNonEmptyString()) {
                someReadMe = true;
                checkDocument(std::string(readMe.text()), "{\\rtf", "read-me");
            } else {
                withoutReadMe.push_back(named[i]);
            }
        }
        if (!someReadMe) {
            // No folder has one: a read-me under a near name is still worth a word.
            for (const auto& folder : withoutReadMe)
                if (auto hint = didYouMean(path + "/" + folder, {"MacOS_X_readme.rtf"}); !hint.empty())
                    findings_.warning("readme-missing", path + "/" + folder,
                                      "language folder " + inQuotes(folder) +
                                          " has no \"MacOS_X_readme.rtf\"; the read-me button stays hidden" + hint);
            return;
        }
        for (const auto& folder : withoutReadMe)
            findings_.warning("readme-missing", path + "/" + folder,
                              "language folder " + inQuotes(folder) +
                                  " has no \"MacOS_X_readme.rtf\" while other language folders here have one; "
                                  "the read-me button does nothing for this language" +
                                  didYouMean(path + "/" + folder, {"MacOS_X_readme.rtf"}));
    }

    // The entry of a folder whose name is one of `names` but for letter case; empty when none.
    static std::string nameIgnoringCase(const std::string& folder, const std::vector<std::string>& names) {
        Value entries = FileManager::contentsOfDirectoryAtPath(Value(folder));
        for (const Value& entry : entries.elements())
            for (const auto& name : names)
                if (entry.isString() && caseInsensitiveCompare(entry.text(), name) == 0)
                    return std::string(entry.text());
        return {};
    }

    // '; did you mean "ReadMe.rtf"?' for a file of the folder near one of `names`:
    // the same extension and a name a few letters off, or one that says "readme".
    static std::string didYouMean(const std::string& folder, const std::vector<std::string>& names) {
        Value entries = FileManager::contentsOfDirectoryAtPath(Value(folder));
        for (const Value& entry : entries.elements()) {
            if (!entry.isString())
                continue;
            std::string lowerEntry = lowered(entry.text());
            for (const auto& name : names) {
                std::string lowerName = lowered(name);
                auto dot = lowerName.rfind('.');
                if (!lowerEntry.ends_with(lowerName.substr(dot)))
                    continue;
                bool readMe = lowerName.find("readme") != std::string::npos &&
                              lowerEntry.find("read") != std::string::npos &&
                              lowerEntry.find("me") != std::string::npos;
                if (readMe || NearMiss::isSlipFor(lowerEntry, lowerName))
                    return "; did you mean " + inQuotes(entry.text()) + "?";
            }
        }
        return {};
    }

    // A start document or read-me that exists: not empty, and what its name says.
    void checkDocument(const std::string& path, std::string_view signature, const std::string& role) {
        std::error_code error;
        auto status = std::filesystem::status(foundation::VolumeMap::whereToRead(path), error);
        if (std::filesystem::is_directory(status)) {
            findings_.error("document-not-a-file", path, "the " + role + " is a folder, not a file");
            return;
        }
        if (!error && !std::filesystem::is_regular_file(status)) {
            findings_.error("document-not-a-file", path,
                            "the " + role + " is not a regular file (a named pipe, a device or a socket)");
            return;
        }
        // The first bytes tell what it is; the document itself is never read whole.
        auto head = foundation::RegularFile::readPart(path, 0, 512);
        if (error || !head.bytes) {
            findings_.error("document-unreadable", path, "the " + role + " cannot be read");
            return;
        }
        if (head.bytes->empty()) {
            findings_.error("document-empty", path, "the " + role + " is empty");
            return;
        }
        std::string bytes(head.bytes->begin(), head.bytes->end());
        if (signature == "<") {
            // HTML may open with a byte-order mark and white space.
            std::string_view text(bytes);
            if (text.starts_with("\xEF\xBB\xBF"))
                text.remove_prefix(3);
            while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
                text.remove_prefix(1);
            if (!text.starts_with('<'))
                findings_.warning("document-not-html", path, "the " + role + " does not look like HTML");
        } else if (!bytes.starts_with(signature)) {
            bool pdf = signature == "%PDF-";
            findings_.error(pdf ? CodeName("document-not-pdf") : CodeName("readme-not-rtf"), path,
                            "the " + role + " does not begin with " + inQuotes(signature) + ", so it is not " +
                                (pdf ? "a PDF document" : "an RTF document"));
        }
    }

    const CheckOptions& options_;
    Findings& findings_;
    disc::Disc lists_;
    Value members_;
    std::vector<std::string> folderNames_;
    std::set<std::string> codes_;
    std::vector<std::string> models_;
    std::map<std::string, DocumentationDirectory> directories_;
};

}

Findings DiscCheck::run(const CheckOptions& options) {
    Findings findings;
    // "ZORVANE/Docshelf.app/" names the same bundle as "ZORVANE/Docshelf.app", on the same disc.
    CheckOptions normalized = options;
    while (normalized.app.size() > 1 && normalized.app.back() == '/')
        normalized.app.pop_back();
    Checker(normalized, findings).run();
    return findings;
}

}
