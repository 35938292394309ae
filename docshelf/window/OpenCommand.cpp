#include "OpenCommand.h"

#include "platform/foundation/StringFormat.h"

namespace docshelf {

using foundation::stringWithFormat;
using foundation::Value;

std::string OpenCommand::quoted(std::string_view value) {
    std::string result;
    result.reserve(value.size());
    for (char c : value) {
        if (c == '"' || c == '$' || c == '`' || c == '\\')
            result += '\\';
        result += c;
    }
    return result;
}

std::string OpenCommand::document(std::string_view target, std::string_view opener) {
    std::string command = std::string(stringWithFormat("open \"%@\"", {Value(quoted(target))}).text());
    if (opener != "open")
        command.replace(0, 4, opener);
    return command;
}

std::string OpenCommand::documentWithApplication(std::string_view target, std::string_view application) {
    return std::string(
        stringWithFormat("open \"%@\" -a \"%@\"", {Value(quoted(target)), Value(quoted(application))}).text());
}

}
