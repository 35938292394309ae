#pragma once

#include <functional>
#include <string_view>
#include <vector>

namespace docshelf::fltk {

// Breaks a text into lines by the Unicode line-breaking rules (libunibreak), so
// that texts without spaces, such as Japanese and Chinese, wrap as well as
// English does. Greedy: each line takes as much as fits.
//
// With a width of 10 and every character 1 wide:
//   "The quick brown fox"  → "The quick", "brown fox"
//   "言語を選んで。開きます" at width 6 → "言語を選ん", "で。開きます"
//     ("。" never starts a line, so it takes the character before it along)
//   "abcdefghij" at width 4 → "abcd", "efgh", "ij" (nothing allowed fits: broken
//     between characters)
// A line break in the text always ends a line. Lines come without the spaces and
// line breaks that end them.
class LineBreaker {
public:
    // The width a piece of text takes when drawn on one line.
    using Measure = std::function<float(std::string_view)>;

    static std::vector<std::string_view> wrap(std::string_view text, float width, const Measure& measure);
};

}
