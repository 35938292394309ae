#include "window/session/JsonExport.h"

#include <cmath>
#include <ctime>

namespace docshelf {

using foundation::Value;

namespace {

// Property-list dates count seconds from 2001-01-01T00:00:00Z.
constexpr double referenceDateInUnixTime = 978307200.0;

std::string isoDate(double seconds) {
    double unix = seconds + referenceDateInUnixTime;
    if (!std::isfinite(unix) || std::fabs(unix) > 1e15)
        return "invalid date";
    auto whole = static_cast<std::time_t>(std::floor(unix));
    std::tm parts{};
    gmtime_r(&whole, &parts);
    char buffer[40];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return buffer;
}

std::string base64(std::span<const std::uint8_t> bytes) {
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t chunk = static_cast<std::uint32_t>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            chunk |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            chunk |= bytes[i + 2];
        out += alphabet[(chunk >> 18) & 63];
        out += alphabet[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[chunk & 63] : '=';
    }
    return out;
}

}

nlohmann::ordered_json toJson(const Value& value) {
    switch (value.kind()) {
    case Value::Kind::Absent:
        return nullptr;
    case Value::Kind::String:
        return std::string(value.text());
    case Value::Kind::Integer:
        return value.integerValue();
    case Value::Kind::Real:
        return std::isfinite(value.realValue()) ? nlohmann::ordered_json(value.realValue()) : nullptr;
    case Value::Kind::Boolean:
        return value.boolValue();
    case Value::Kind::Date:
        return isoDate(value.dateValue());
    case Value::Kind::Data:
        return base64(value.bytes());
    case Value::Kind::Array: {
        auto array = nlohmann::ordered_json::array();
        for (const Value& element : value.elements())
            array.push_back(toJson(element));
        return array;
    }
    case Value::Kind::Dictionary: {
        auto object = nlohmann::ordered_json::object();
        for (const auto& [key, element] : value.entries())
            object[key] = toJson(element);
        return object;
    }
    }
    return nullptr;
}

std::string render(const nlohmann::ordered_json& json) {
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}
