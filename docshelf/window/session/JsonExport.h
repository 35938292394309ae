#pragma once

#include "platform/foundation/Value.h"

#include <nlohmann/json.hpp>

#include <string>

namespace docshelf {

// Dictionaries become objects whose members keep the dictionary's order;
// arrays, strings, numbers and booleans map directly; dates become ISO 8601
// text, data base64 text, and absent null.
nlohmann::ordered_json toJson(const foundation::Value& value);

// Indented UTF-8 text ending with a newline; bytes that are not UTF-8 are replaced.
std::string render(const nlohmann::ordered_json& json);

}
