#include "inspect/check/MessageTextCheck.h"

#include "inspect/check/MessageCheck.h"
#include "inspect/common/Wording.h"

#include "window/Locations.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/StringsTable.h"

#include <algorithm>

namespace docshelf::inspect {

using foundation::Bundle;
using foundation::Value;

void MessageTextCheck::run(const std::string& app, const std::optional<std::string>& messageBundle,
                           Findings& findings) {
    // The same bundle as MessageCheck: given, else where the browser looks, else the disc's own.
    std::string path = messageBundle ? *messageBundle : Locations::current().messageBundle;
    Bundle bundle = Bundle::bundleWithPath(Value(path));
    if (bundle.isAbsent() && !messageBundle)
        bundle = Bundle::bundleWithPath(Value(MessageCheck::bundleBesideApp(app)));
    if (bundle.isAbsent())
        return; // reported by MessageCheck
    auto keys = MessageCheck::keys();
    for (const auto& localization : bundle.localizations()) {
        std::string table =
            std::string(bundle.resourcePath().text()) + "/" + localization + ".lproj/Localizable.strings";
        auto read = foundation::StringsTable::readFile(table);
        if (!read.ok)
            continue; // reported by MessageCheck
        for (const auto& [key, text] : read.entries) {
            // An empty language code is reported as a code that no language has.
            if (key == "KPS_CGI_Language" || std::find(keys.begin(), keys.end(), key) == keys.end() ||
                text.find_first_not_of(" \t\r\n") != std::string::npos)
                continue;
            findings.warning("message-text-empty", Findings::keyPath(table, {key}),
                             "the text of " + inQuotes(key) + " in localization " + inQuotes(localization) +
                                 " is empty; the window shows nothing where it goes");
        }
    }
}

}
