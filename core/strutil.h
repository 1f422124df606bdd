// Small text helpers shared by the core's text routines. Not part of the public interface.
#pragma once

#include <string>
#include <string_view>

namespace zel::detail {

constexpr bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The text without leading and trailing blanks (spaces, tabs, line breaks).
std::string_view Trim(std::string_view s);

// The text in double quotes for an error message; long texts are cut so a message stays readable.
std::string Quoted(std::string_view s);

}  // namespace zel::detail
