// Splits one script line into words, as a shell would for the simple cases a script needs.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pocketsim {

// A line the tokenizer cannot split (an unclosed quote, a bad escape).
struct SyntaxError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Words are separated by blanks. Double quotes keep blanks (and '#') in a word; inside them
// \" and \\ stand for a quote and a backslash, \n, \r and \t for a line feed, a carriage
// return and a tab (message box texts have line feeds). A '#' that begins a word starts a
// comment, so "cmd#1" stays one word. "" gives an empty word (the default registry value, for instance).
std::vector<std::string> tokenize(std::string_view line);

// Whether a line is well-formed UTF-8 without NUL bytes. A script saved in another encoding
// (Shift_JIS, say) would otherwise compare Japanese text that can never match.
bool isValidUtf8(std::string_view line);

}  // namespace pocketsim
