// "Did you mean ...?" for a word that names nothing known.
#pragma once

#include <string>
#include <vector>

namespace pocketsim {

// " (did you mean GetMessageW?)" with the closest candidates (letter case aside), or "" when
// none is close enough to be a likely slip.
std::string didYouMean(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace pocketsim
