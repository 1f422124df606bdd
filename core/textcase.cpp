// Letter case, comparison and search of UTF-8 text (see textcase.h). The case tables list the letters
// of the Latin, Greek and Cyrillic alphabets that have a one-letter partner in the other case; every
// partner is encoded with as many UTF-8 bytes as its letter (ASCII with ASCII, two bytes with two
// bytes), so mapping works in place and keeps byte offsets.
#include "core/textcase.h"

#include <cstddef>
#include <cstdint>

#include "core/text.h"

namespace zel {

namespace {

// The code points first..last (every one, or only the even or the odd ones) map to code point + delta.
struct CaseRun {
  char32_t first, last;
  std::int32_t delta;
  enum Parity : std::uint8_t { every, even, odd } parity = every;
};

// Lower case → upper case.
constexpr CaseRun kToUpper[] = {
    {0x61, 0x7A, -32},                  // a-z
    {0xB5, 0xB5, 0x39C - 0xB5},         // micro sign µ → Greek Μ
    {0xE0, 0xF6, -32},                  // à-ö
    {0xF8, 0xFE, -32},                  // ø-þ
    {0xFF, 0xFF, 0x178 - 0xFF},         // ÿ → Ÿ
    {0x101, 0x12F, -1, CaseRun::odd},   // ā-į
    {0x133, 0x137, -1, CaseRun::odd},   // ĳ-ķ
    {0x13A, 0x148, -1, CaseRun::even},  // ĺ-ň
    {0x14B, 0x177, -1, CaseRun::odd},   // ŋ-ŷ
    {0x17A, 0x17E, -1, CaseRun::even},  // ź-ž
    {0x3AC, 0x3AC, 0x386 - 0x3AC},      // ά
    {0x3AD, 0x3AF, 0x388 - 0x3AD},      // έ-ί
    {0x3B1, 0x3C1, -32},                // α-ρ
    {0x3C2, 0x3C2, 0x3A3 - 0x3C2},      // final ς → Σ
    {0x3C3, 0x3CB, -32},                // σ-ϋ
    {0x3CC, 0x3CC, 0x38C - 0x3CC},      // ό
    {0x3CD, 0x3CE, 0x38E - 0x3CD},      // ύ-ώ
    {0x430, 0x44F, -32},                // а-я
    {0x450, 0x45F, 0x400 - 0x450},      // ѐ-џ
};

// Upper case → lower case.
constexpr CaseRun kToLower[] = {
    {0x41, 0x5A, 32},                  // A-Z
    {0xC0, 0xD6, 32},                  // À-Ö
    {0xD8, 0xDE, 32},                  // Ø-Þ
    {0x178, 0x178, 0xFF - 0x178},      // Ÿ → ÿ
    {0x100, 0x12E, 1, CaseRun::even},  // Ā-Į
    {0x132, 0x136, 1, CaseRun::even},  // Ĳ-Ķ
    {0x139, 0x147, 1, CaseRun::odd},   // Ĺ-Ň
    {0x14A, 0x176, 1, CaseRun::even},  // Ŋ-Ŷ
    {0x179, 0x17D, 1, CaseRun::odd},   // Ź-Ž
    {0x386, 0x386, 0x3AC - 0x386},     // Ά
    {0x388, 0x38A, 0x3AD - 0x388},     // Έ-Ί
    {0x38C, 0x38C, 0x3CC - 0x38C},     // Ό
    {0x38E, 0x38F, 0x3CD - 0x38E},     // Ύ-Ώ
    {0x391, 0x3A1, 32},                // Α-Ρ
    {0x3A3, 0x3AB, 32},                // Σ-Ϋ
    {0x400, 0x40F, 0x450 - 0x400},     // Ѐ-Џ
    {0x410, 0x42F, 32},                // А-Я
};

// The partner of c by the first run that covers it; c itself when none does.
template <std::size_t N>
char32_t MapBy(const CaseRun (&runs)[N], char32_t c) {
  for (const CaseRun& r : runs) {
    if (c < r.first || c > r.last) continue;
    if (r.parity == CaseRun::even && c % 2 != 0) return c;
    if (r.parity == CaseRun::odd && c % 2 == 0) return c;
    return static_cast<char32_t>(static_cast<std::int32_t>(c) + r.delta);
  }
  return c;
}

// One character to upper case, to lower case, and folded for comparisons (lower case of upper case).
char32_t ToUpper(char32_t c) { return MapBy(kToUpper, c); }
char32_t ToLower(char32_t c) { return MapBy(kToLower, c); }
char32_t Fold(char32_t c) { return ToLower(ToUpper(c)); }

// True for a UTF-8 continuation byte (10xxxxxx).
bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The text with f applied to each ASCII character and each two-byte character; longer characters and
// invalid bytes are copied.
std::string MapLetters(std::string_view utf8, char32_t (*f)(char32_t)) {
  std::string out(utf8);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (b < 0x80) {
      out[i] = static_cast<char>(f(b));
    } else if ((b & 0xE0) == 0xC0 && i + 1 < out.size() &&
               IsContinuation(static_cast<unsigned char>(out[i + 1]))) {
      const char32_t c =
          static_cast<char32_t>((b & 0x1F) << 6 | (static_cast<unsigned char>(out[i + 1]) & 0x3F));
      if (c >= 0x80) {  // not an over-long ASCII letter
        const char32_t m = f(c);
        out[i] = static_cast<char>(0xC0 | (m >> 6));
        out[i + 1] = static_cast<char>(0x80 | (m & 0x3F));
      }
      ++i;
    }
  }
  return out;
}

// -1, 0 or 1.
int Sign(int x) { return (x > 0) - (x < 0); }

}  // namespace

std::string UpperCase(std::string_view utf8) { return MapLetters(utf8, ToUpper); }

std::string LowerCase(std::string_view utf8) { return MapLetters(utf8, ToLower); }

int CompareStr(std::string_view a, std::string_view b) { return Sign(a.compare(b)); }

int CompareText(std::string_view a, std::string_view b) {
  return CompareStr(MapLetters(a, Fold), MapLetters(b, Fold));
}

std::string ReplaceAll(std::string_view utf8, std::string_view from, std::string_view to, bool ignoreCase) {
  if (from.empty()) return std::string(utf8);
  // Folding keeps byte offsets, so matches found in the folded text are the places in the original.
  const std::string foldedText = ignoreCase ? MapLetters(utf8, Fold) : std::string();
  const std::string foldedFrom = ignoreCase ? MapLetters(from, Fold) : std::string();
  const std::string_view text = ignoreCase ? std::string_view(foldedText) : utf8;
  const std::string_view pattern = ignoreCase ? std::string_view(foldedFrom) : from;
  std::string out;
  std::size_t done = 0;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, done)) {
    out.append(utf8.substr(done, at - done));
    out.append(to);
    done = at + pattern.size();
  }
  out.append(utf8.substr(done));
  return out;
}

int FindChars(std::string_view utf8, std::string_view sub, int start) {
  const std::ptrdiff_t from = CharOffset(utf8, start);
  if (sub.empty() || from < 0) return -1;
  const std::size_t at = utf8.find(sub, static_cast<std::size_t>(from));
  return at == std::string_view::npos ? -1 : CharCount(utf8.substr(0, at));
}

}  // namespace zel
