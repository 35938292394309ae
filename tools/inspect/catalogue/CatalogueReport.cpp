#include "inspect/catalogue/CatalogueReport.h"

#include "inspect/catalogue/LanguageMatrix.h"

#include "disc/Disc.h"
#include "window/session/JsonExport.h"

#include "catalogue/DocumentationKeys.h"
#include "catalogue/ZVCDDocumentation.h"
#include "catalogue/ZVModelDocumentation.h"
#include "catalogue/ZVModelDocumentationLookups.h"

namespace docshelf::inspect {

using foundation::Value;

nlohmann::ordered_json CatalogueReport::catalogue() {
    // Each list is read once, not once per model as the browser reads them.
    auto lists = disc::Disc::read();
    auto info = ZVCDDocumentation::initWithCDInfoPlist(lists.cdInfo.dictionary);
    auto models = nlohmann::ordered_json::array();
    for (const Value& name : info.objectForKey(keys::containedModels).elements())
        models.push_back(toJson(ZVModelDocumentation::initWithName(
            name, lists.cdInfo.dictionary, lists.modelInfo.dictionary, lists.common.dictionary)));
    nlohmann::ordered_json report;
    report["cd information"] = toJson(info);
    report["models"] = std::move(models);
    report["matrix"] = LanguageMatrix::from(report, LanguageMatrix::knownLanguages()).json();
    return report;
}

nlohmann::ordered_json CatalogueReport::model(const std::string& name) {
    return toJson(ZVModelDocumentation::initWithName(Value(name)));
}

nlohmann::ordered_json CatalogueReport::lookup(const std::string& model, const std::string& language) {
    auto dictionary = ZVModelDocumentation::initWithName(Value(model));
    Value displayName(language);
    nlohmann::ordered_json report;
    report[std::string(keys::documentationPath)] =
        toJson(documentationPathWithDisplayLanguageName(dictionary, displayName));
    report[std::string(keys::documentationReadmePath)] =
        toJson(documentationReadMePathWithDisplayLanguageName(dictionary, displayName));
    report[std::string(keys::documentationURL)] =
        toJson(documentationURLWithDisplayLanguageName(dictionary, displayName));
    return report;
}

}
