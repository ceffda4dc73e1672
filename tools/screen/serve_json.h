#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

namespace screen {

struct JsonError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The requests' bodies are flat objects: member name to a string, a number or a boolean.
using JsonValue = std::variant<std::string, double, bool>;
using JsonObject = std::map<std::string, JsonValue, std::less<>>;

JsonObject parseJsonObject(std::string_view text);  // throws JsonError, saying what is wrong where

std::string jsonString(std::string_view text);  // quoted and escaped; what is not UTF-8 becomes U+FFFD

bool isUtf8(std::string_view text);  // well-formed: no overlong forms, surrogates or values past U+10FFFF

}  // namespace screen
