#include "inspect/check/OnlineAddressCheck.h"

#include "inspect/common/Wording.h"

#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVModelDocumentation.h"

#include "platform/foundation/CaseInsensitive.h"

#include <map>
#include <set>

namespace docshelf::inspect {

using foundation::Value;

namespace {

std::string key(std::string_view k) {
    return std::string(k);
}

void checkSettings(const Value& settings, const Place& at, Findings& findings) {
    Value url = settings.objectForKey(keys::url);
    if (url.isString() && !OnlineAddressCheck::isWebAddress(url.text()))
        findings.error("url-not-web-address", Findings::keyPath(at, {key(keys::url)}),
                       inQuotes(keys::url) + " " + inQuotes(url.text()) +
                           " is no web address (it must begin with \"http://\" or \"https://\" and hold no space, "
                           "quote or control character, nor a \"#\", after which the query would be a fragment the "
                           "site never sees); \"open\" takes it for a file, or the page opens without its model");
    Value languages = settings.objectForKey(keys::language);
    std::set<std::string> seen;
    for (std::size_t i = 0; i < languages.count(); ++i) {
        Value language = languages.objectAtIndex(i);
        if (language.isString() && !seen.insert(std::string(language.text())).second)
            findings.warning("online-language-duplicate",
                             Findings::keyPath(at, {key(keys::language), std::to_string(i)}),
                             "online language " + inQuotes(language.text()) +
                                 " is listed twice; the language pop-up offers it twice");
    }
}

}

bool OnlineAddressCheck::isWebAddress(std::string_view url) {
    auto begins = [&](std::string_view scheme) {
        return url.size() > scheme.size() &&
               foundation::caseInsensitiveCompare(url.substr(0, scheme.size()), scheme) == 0;
    };
    if (!begins("http://") && !begins("https://"))
        return false;
    // What ends or splits an address, and the "#" that turns the query into a fragment.
    constexpr std::string_view refused = "\"<>\\`{}|^#";
    for (char signedC : url)
        if (auto c = static_cast<unsigned char>(signedC);
            c <= ' ' || c == 0x7F || refused.find(signedC) != std::string_view::npos)
            return false;
    return true;
}

void OnlineAddressCheck::run(const disc::Disc& lists, const std::vector<std::string>& models, Findings& findings) {
    const auto& cdInfo = lists.cdInfo;
    checkSettings(cdInfo.dictionary.objectForKey(keys::documentation),
                  Findings::keyPath(cdInfo.path, {key(keys::documentation)}), findings);
    Value contained = cdInfo.dictionary.objectForKey(keys::containedModel);
    for (const auto& model : models)
        checkSettings(contained.objectForKey(model).objectForKey(keys::documentation),
                      Findings::keyPath(cdInfo.path, {key(keys::containedModel), model, key(keys::documentation)}),
                      findings);

    // The identifiers of the models that open online pages, as the catalogue builds them.
    Value records = lists.modelInfo.dictionary.objectForKey(keys::model);
    std::map<std::string, std::string> firstModel;
    for (const auto& model : models) {
        auto documentation = ZVModelDocumentation::initWithName(Value(model), cdInfo.dictionary,
                                                                lists.modelInfo.dictionary, lists.common.dictionary);
        bool online = false;
        for (const Value& entry : documentation.objectForKey(keys::documentationList).elements())
            online = online || entry.objectForKey(keys::documentationURL).isNonEmptyString();
        Value id = records.objectForKey(model).objectForKey(keys::kpsID);
        if (!online || !id.isString())
            continue; // a model without a record or "KPSID" is reported with ModelInfo
        Place at = Findings::keyPath(lists.modelInfo.path, {key(keys::model), model, key(keys::kpsID)});
        if (id.text().empty()) {
            findings.warning("kpsid-empty", at,
                             "model " + inQuotes(model) + " has an empty " + inQuotes(keys::kpsID) +
                                 "; its online pages open with \"MDL=\" and no model");
            continue;
        }
        if (auto [it, inserted] = firstModel.emplace(std::string(id.text()), model); !inserted)
            findings.warning("kpsid-shared", at,
                             "model " + inQuotes(model) + " has the " + inQuotes(keys::kpsID) + " " +
                                 inQuotes(id.text()) + " of model " + inQuotes(it->second) +
                                 "; both open the same online pages");
    }
}

}
