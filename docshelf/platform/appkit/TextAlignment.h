#pragma once

#include <optional>
#include <string_view>

namespace docshelf::appkit {

enum class TextAlignment { Left, Right, Center, Justified, Natural };

// "left", "right", "center", "justified" or "natural", as window descriptions write it.
inline std::optional<TextAlignment> textAlignmentNamed(std::string_view name) {
    if (name == "left")
        return TextAlignment::Left;
    if (name == "right")
        return TextAlignment::Right;
    if (name == "center")
        return TextAlignment::Center;
    if (name == "justified")
        return TextAlignment::Justified;
    if (name == "natural")
        return TextAlignment::Natural;
    return std::nullopt;
}

}
