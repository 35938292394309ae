#include "StringFormat.h"

namespace docshelf::foundation {

Value stringWithFormat(std::string_view format, std::initializer_list<Value> arguments) {
    std::string result;
    result.reserve(format.size());
    auto next = arguments.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '@') {
                if (next != arguments.end())
                    result += (next++)->description();
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                result += '%';
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return Value(std::move(result));
}

}
