#include "NearMiss.h"

#include <algorithm>
#include <vector>

namespace docshelf::foundation {

namespace {

char lowered(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}

std::size_t NearMiss::editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            std::size_t change = lowered(a[i - 1]) == lowered(b[j - 1]) ? 0 : 1;
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + change});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool NearMiss::isSlipFor(std::string_view written, std::string_view meant) {
    std::size_t allowed = std::clamp<std::size_t>(std::max(written.size(), meant.size()) / 3, 1, 3);
    // Names far apart in length are never a slip; this also bounds the work.
    std::size_t gap = written.size() > meant.size() ? written.size() - meant.size() : meant.size() - written.size();
    return gap <= allowed && editDistance(written, meant) <= allowed;
}

}
