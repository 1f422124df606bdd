// Letter case, comparison and search of UTF-8 text, for the string functions of scripts. Results do not
// depend on the process locale.
//
// Case mapping is one letter for one letter, by the Unicode case mappings of the characters of Basic
// Latin, Latin-1, Latin Extended-A (U+0000-U+017F), the Greek letters (U+0386-U+03CE) and Cyrillic
// U+0400-U+045F; every other character (and any byte that is not valid UTF-8) is kept as it is. A letter
// whose partner is more than one letter ("ß" → "SS", "ŉ") or has another UTF-8 length ("ı" → "I", "İ",
// "ſ") stays unchanged, so byte offsets in a mapped text are those of the original. Positions count
// characters (code points), as CharCount and CharOffset in core/text.h do.
#pragma once

#include <string>
#include <string_view>

namespace zel {

// "héllo wörld" → "HÉLLO WÖRLD".
std::string UpperCase(std::string_view utf8);
// "ÀÉÎ ΣΑΣ" → "àéî σασ".
std::string LowerCase(std::string_view utf8);

// The order of a and b by code points (the order of their UTF-8 bytes): -1, 0 or 1.
int CompareStr(std::string_view a, std::string_view b);
// CompareStr of the texts with their letters folded to one case (lower case of upper case, so that "ς",
// "σ" and "Σ" are one letter).
int CompareText(std::string_view a, std::string_view b);

// Every occurrence of `from` (searched from the start, without overlaps) replaced by `to`; an empty `from`
// leaves the text unchanged. With `ignoreCase` the letters are compared folded as CompareText does.
std::string ReplaceAll(std::string_view utf8, std::string_view from, std::string_view to, bool ignoreCase);

// The character position (from 0) of the first occurrence of `sub` in `utf8` that starts at character
// `start` (from 0) or later; -1 when there is none, when `sub` is empty, or when `start` is negative or
// not the position of a character of `utf8`.
int FindChars(std::string_view utf8, std::string_view sub, int start = 0);

}  // namespace zel
