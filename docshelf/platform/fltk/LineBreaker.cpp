#include "LineBreaker.h"

#include <linebreak.h>

#include <mutex>

namespace docshelf::fltk {

namespace {

bool isTrailingSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view line) {
    while (!line.empty() && isTrailingSpace(line.back()))
        line.remove_suffix(1);
    return line;
}

}

std::vector<std::string_view> LineBreaker::wrap(std::string_view text, float width, const Measure& measure) {
    static std::once_flag initialized;
    std::call_once(initialized, init_linebreak);

    std::vector<std::string_view> lines;
    if (text.empty())
        return lines;
    // breaks[i] says whether a line may end after byte i.
    std::vector<char> breaks(text.size());
    set_linebreaks_utf8(reinterpret_cast<const utf8_t*>(text.data()), text.size(), nullptr, breaks.data());
    auto fits = [&](std::size_t start, std::size_t end) {
        return measure(trimmed(text.substr(start, end - start))) <= width;
    };

    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = 0;
        for (std::size_t i = start; i < text.size(); ++i) {
            char rule = breaks[i];
            if (rule != LINEBREAK_ALLOWBREAK && rule != LINEBREAK_MUSTBREAK)
                continue;
            if (end != 0 && !fits(start, i + 1))
                break;
            end = i + 1;
            if (rule == LINEBREAK_MUSTBREAK)
                break;
        }
        if (end == 0) // a text cut inside a character has no final break
            end = text.size();
        // Even the first piece the rules allow is too wide: break it between
        // characters, at least one character to the line.
        if (!fits(start, end)) {
            std::size_t last = 0;
            for (std::size_t i = start; i < end; ++i) {
                if (breaks[i] == LINEBREAK_INSIDEACHAR)
                    continue;
                if (last != 0 && !fits(start, i + 1))
                    break;
                last = i + 1;
            }
            if (last != 0)
                end = last;
        }
        lines.push_back(trimmed(text.substr(start, end - start)));
        start = end;
    }
    return lines;
}

}
