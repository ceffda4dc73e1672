#include "suggest.h"

#include <algorithm>
#include <cctype>

namespace pocketsim {

namespace {

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                              std::tolower(static_cast<unsigned char>(b[j - 1]));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::string didYouMean(const std::string& word, const std::vector<std::string>& candidates) {
    // A slip is a letter or two, or about a third of a long name.
    const std::size_t allowed = std::max<std::size_t>(2, word.size() / 3);
    std::size_t best = allowed + 1;
    std::vector<std::string> closest;
    for (const std::string& candidate : candidates) {
        // The word itself is no suggestion, nor is a name twice.
        if (candidate == word || std::find(closest.begin(), closest.end(), candidate) != closest.end()) continue;
        const std::size_t d = editDistance(word, candidate);
        if (d < best) {
            best = d;
            closest.clear();
        }
        if (d == best && closest.size() < 3) closest.push_back(candidate);
    }
    if (closest.empty()) return "";
    std::string out = " (did you mean ";
    for (std::size_t i = 0; i < closest.size(); ++i)
        out += (i == 0 ? "" : i + 1 == closest.size() ? " or " : ", ") + closest[i];
    return out + "?)";
}

}  // namespace pocketsim
