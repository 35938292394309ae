#include "inspect/check/ModelNameCheck.h"

#include "inspect/common/Wording.h"

namespace docshelf::inspect {

namespace {

bool blank(char c) {
    return static_cast<unsigned char>(c) <= ' ' || c == '\x7F';
}

}

void ModelNameCheck::run(const std::vector<std::string>& models, const Place& containedAt, Findings& findings) {
    for (const auto& model : models) {
        Place at = Findings::keyPath(containedAt, {model});
        if (model.find_first_not_of(" \t\r\n") == std::string::npos)
            findings.warning("model-name-blank", at,
                             "a model is named " + inQuotes(model) +
                                 ", which shows as an item without a title in the model pop-up");
        else if (blank(model.front()) || blank(model.back()))
            findings.warning("model-name-blank", at,
                             "model " + inQuotes(model) +
                                 " begins or ends with a space or control character; the model pop-up shows it so, "
                                 "and ModelInfo and the supplies launcher's file name must spell it so too");
    }
}

}
