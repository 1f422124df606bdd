// Number text formats: how reals, complex numbers and integer precisions look as text, number pictures,
// and the strict parsers that turn text back into numbers. docs/numbers.md describes every format.
//
// Everything here uses std::to_chars / std::from_chars, so the decimal point is always "." whatever the
// process locale is.

#include "core/text.h"

#include "core/strutil.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/errors.h"

namespace zel {

using detail::IsBlank;
using detail::Quoted;
using detail::Trim;

namespace {

// Characters a text may carry around a number.
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsWithNoCase(std::string_view s, std::size_t pos, std::string_view word) {
  if (s.size() - pos < word.size()) return false;
  for (std::size_t k = 0; k < word.size(); ++k) {
    char c = s[pos + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != word[k]) return false;
  }
  return true;
}

enum class Scan { ok, invalid, outOfRange };

// True, with value = DBL_MAX, when a number too large for a double is no larger than DBL_MAX shown with 15
// digits (1.79769313486232e+308): that is how SampleToStr prints DBL_MAX, and it must read back.
template <class T>
bool FitsMax(std::string_view number, T& value) {
  if constexpr (std::is_same_v<T, double>) {
    long double wide = 0;
    const auto res = std::from_chars(number.data(), number.data() + number.size(), wide);
    if (res.ec == std::errc() && wide <= 1.79769313486232e308L) {
      value = std::numeric_limits<double>::max();
      return true;
    }
  }
  return false;
}

// Reads an unsigned real at s[pos]: decimal digits with an optional point and exponent, or NAN / INF in
// any case. On success pos moves past it. A value too small for T becomes 0; one too large is
// outOfRange. Nothing is consumed when the text there is not a number.
template <class T>
Scan ScanUnsigned(std::string_view s, std::size_t& pos, T& value) {
  if (StartsWithNoCase(s, pos, "nan")) {
    value = std::numeric_limits<T>::quiet_NaN();
    pos += 3;
    return Scan::ok;
  }
  if (StartsWithNoCase(s, pos, "inf")) {
    value = std::numeric_limits<T>::infinity();
    pos += 3;
    return Scan::ok;
  }
  const std::size_t n = s.size();
  std::size_t p = pos;
  // Order of magnitude of the first significant digit, used only to tell overflow from underflow.
  long order = 0;
  bool seenNonZero = false;
  int mantissaDigits = 0;
  for (; p < n && IsDigit(s[p]); ++p, ++mantissaDigits) {
    if (s[p] != '0') seenNonZero = true;
    if (seenNonZero) ++order;
  }
  if (p < n && s[p] == '.') {
    for (++p; p < n && IsDigit(s[p]); ++p, ++mantissaDigits) {
      if (seenNonZero) continue;
      if (s[p] != '0')
        seenNonZero = true;
      else
        --order;
    }
  }
  if (mantissaDigits == 0) return Scan::invalid;
  // The exponent belongs to the number only when complete: "2e" and "2e+" stop before the "e".
  if (p < n && (s[p] == 'e' || s[p] == 'E')) {
    std::size_t q = p + 1;
    bool negative = false;
    if (q < n && (s[q] == '+' || s[q] == '-')) negative = s[q++] == '-';
    if (q < n && IsDigit(s[q])) {
      long e = 0;
      for (; q < n && IsDigit(s[q]); ++q) e = std::min(e * 10 + (s[q] - '0'), 1000000L);
      order += negative ? -e : e;
      p = q;
    }
  }
  const auto [end, ec] = std::from_chars(s.data() + pos, s.data() + p, value);
  if (ec == std::errc::result_out_of_range) {
    if (order <= 0) {
      value = 0;  // too small: underflows to zero
    } else if (!FitsMax(s.substr(pos, p - pos), value)) {
      return Scan::outOfRange;
    }
  } else if (ec != std::errc() || end != s.data() + p) {
    return Scan::invalid;
  }
  pos = p;
  return Scan::ok;
}

// Parses a whole text as a signed real.
template <class T>
Scan ParseReal(std::string_view text, T& value) {
  const std::string_view s = Trim(text);
  std::size_t pos = 0;
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) negative = s[pos++] == '-';
  const Scan r = ScanUnsigned(s, pos, value);
  if (r != Scan::ok) return r;
  if (pos != s.size()) return Scan::invalid;
  if (negative) value = -value;
  return Scan::ok;
}

// Reads one term of a complex number at s[pos]: a real, or an imaginary "<real>i" / "i". The term's own
// sign has been read by the caller.
Scan ScanTerm(std::string_view s, std::size_t& pos, double& value, bool& imaginary) {
  const Scan r = ScanUnsigned(s, pos, value);
  if (r == Scan::outOfRange) return r;
  if (r == Scan::invalid) {
    if (pos >= s.size() || s[pos] != 'i') return r;
    value = 1;  // a bare "i"
  } else {
    imaginary = pos < s.size() && s[pos] == 'i';
    if (!imaginary) return Scan::ok;
  }
  imaginary = true;
  ++pos;
  return Scan::ok;
}

// Parses a whole text as a complex number: a real, an imaginary, or real ± imaginary.
Scan ParseCplx(std::string_view text, TCplx& z) {
  const std::string_view s = Trim(text);
  const std::size_t n = s.size();
  std::size_t pos = 0;
  // The leading sign belongs to the number and is written without blanks, as in StrToSample.
  bool negative = false;
  if (pos < n && (s[pos] == '+' || s[pos] == '-')) negative = s[pos++] == '-';
  double a = 0;
  bool aImaginary = false;
  Scan r = ScanTerm(s, pos, a, aImaginary);
  if (r != Scan::ok) return r;
  if (negative) a = -a;
  while (pos < n && IsBlank(s[pos])) ++pos;
  if (pos == n) {
    z = aImaginary ? TCplx(0, a) : TCplx(a, 0);
    return Scan::ok;
  }
  // A second term must be an imaginary part joined to a real part by its sign; blanks may surround it.
  if (aImaginary || (s[pos] != '+' && s[pos] != '-')) return Scan::invalid;
  negative = s[pos++] == '-';
  while (pos < n && IsBlank(s[pos])) ++pos;
  double b = 0;
  bool bImaginary = false;
  r = ScanTerm(s, pos, b, bImaginary);
  if (r != Scan::ok) return r;
  if (!bImaginary || pos != n) return Scan::invalid;
  z = TCplx(a, negative ? -b : b);
  return Scan::ok;
}

template <class T>
T StrToReal(const std::string& s, const char* typeName) {
  T value = 0;
  switch (ParseReal(s, value)) {
    case Scan::ok:
      return value;
    case Scan::outOfRange:
      ERaise(Quoted(s) + " is out of the range of a " + typeName);
    default:
      ERaise(Quoted(s) + " is not a valid number");
  }
}

// ---- Number pictures -------------------------------------------------------------------------------

// A decimal value d[0].d[1]d[2]... × 10^exp with no trailing zeros; zero has no digits.
struct Decimal {
  std::string digits;
  int exp = 0;
};

// The 15 significant digits SampleToStr shows, correctly rounded from the binary value. Pictures round
// from these, so 1.005 with two decimals gives 1.01 as the reader of the number expects.
Decimal Decompose(double ax) {
  Decimal d;
  if (ax == 0) return d;
  std::array<char, 40> buf;
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), ax, std::chars_format::scientific, 14);
  const std::string_view s(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
  const std::size_t e = s.find('e');
  d.digits += s[0];
  d.digits.append(s.substr(2, e - 2));
  const char* expBegin = s.data() + e + 1;
  if (*expBegin == '+') ++expBegin;
  std::from_chars(expBegin, s.data() + s.size(), d.exp);
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
  return d;
}

// Keeps the first `keep` significant digits, rounding half away from zero. May carry into a new leading
// digit (raising exp) or leave zero.
void RoundDecimal(Decimal& d, int keep) {
  if (keep >= static_cast<int>(d.digits.size())) return;
  if (keep < 0) {
    d.digits.clear();
    return;
  }
  const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
  d.digits.resize(static_cast<std::size_t>(keep));
  if (up) {
    int k = keep - 1;
    while (k >= 0 && d.digits[static_cast<std::size_t>(k)] == '9')
      d.digits[static_cast<std::size_t>(k--)] = '0';
    if (k >= 0) {
      ++d.digits[static_cast<std::size_t>(k)];
    } else {
      d.digits.insert(d.digits.begin(), '1');
      ++d.exp;
    }
  }
  while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

// Digit at decimal position `pos` (0 units, 1 tens, -1 tenths) of d.
char DigitAt(const Decimal& d, int pos) {
  const long k = static_cast<long>(d.exp) - pos;
  return k >= 0 && k < static_cast<long>(d.digits.size()) ? d.digits[static_cast<std::size_t>(k)] : '0';
}

struct PicToken {
  enum TKind { literal, intDigit, fracDigit, point, exponent, grouping } kind;
  std::string text;      // literal text; the source text of an exponent
  int expDigits = 0;     // exponent: minimum digit count
  bool expPlus = false;  // exponent: "E+" shows the sign of positive exponents
};

// One section of a picture, parsed.
struct Picture {
  std::vector<PicToken> tokens;
  int nInt = 0;     // integer placeholders
  int minInt = 0;   // integer digits always shown: placeholders from the first "0" on
  int nFrac = 0;    // fraction placeholders
  int minFrac = 0;  // fraction digits always shown: placeholders up to the last "0"
  bool thousands = false;
  bool hasExp = false;
};

void AddLiteral(Picture& pic, std::string_view text) {
  if (!pic.tokens.empty() && pic.tokens.back().kind == PicToken::literal)
    pic.tokens.back().text.append(text);
  else
    pic.tokens.push_back({PicToken::literal, std::string(text)});
}

Picture ParsePicture(std::string_view f) {
  Picture pic;
  bool seenPoint = false;
  int firstIntZero = -1;
  const std::size_t n = f.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char c = f[i];
    if (c == '\'' || c == '"') {
      std::size_t close = f.find(c, i + 1);
      if (close == std::string_view::npos) close = n;
      AddLiteral(pic, f.substr(i + 1, close - i - 1));
      i = close;
    } else if ((c == '0' || c == '#') && !pic.hasExp) {
      if (seenPoint) {
        pic.tokens.push_back({PicToken::fracDigit, {}});
        ++pic.nFrac;
        if (c == '0') pic.minFrac = pic.nFrac;
      } else {
        pic.tokens.push_back({PicToken::intDigit, {}});
        if (c == '0' && firstIntZero < 0) firstIntZero = pic.nInt;
        ++pic.nInt;
      }
    } else if (c == '.' && !seenPoint && !pic.hasExp) {
      pic.tokens.push_back({PicToken::point, {}});
      seenPoint = true;
    } else if (c == ',' && !seenPoint && !pic.hasExp) {
      pic.tokens.push_back({PicToken::grouping, ","});
    } else if ((c == 'E' || c == 'e') && !pic.hasExp && i + 2 < n && (f[i + 1] == '+' || f[i + 1] == '-') &&
               f[i + 2] == '0') {
      std::size_t k = i + 2;
      while (k < n && f[k] == '0') ++k;
      PicToken t{PicToken::exponent, std::string(f.substr(i, k - i))};
      t.expDigits = static_cast<int>(k - i - 2);
      t.expPlus = f[i + 1] == '+';
      pic.tokens.push_back(std::move(t));
      pic.hasExp = true;
      i = k - 1;
    } else {
      AddLiteral(pic, f.substr(i, 1));
    }
  }
  pic.minInt = firstIntZero < 0 ? 0 : pic.nInt - firstIntZero;
  // A "," groups thousands when it stands among the integer placeholders (or between them and the
  // point); anywhere else it is printed as it is.
  int intSeen = 0;
  for (std::size_t t = 0; t < pic.tokens.size(); ++t) {
    PicToken& tok = pic.tokens[t];
    if (tok.kind == PicToken::intDigit) ++intSeen;
    if (tok.kind != PicToken::grouping) continue;
    const bool inside = intSeen > 0 && intSeen < pic.nInt + (seenPoint ? 1 : 0);
    if (inside)
      pic.thousands = true;
    else
      tok.kind = PicToken::literal;
  }
  return pic;
}

// Formats ax >= 0 (finite) by one parsed section. `isZero` tells whether the shown value is zero.
std::string FormatBy(const Picture& pic, double ax, bool& isZero) {
  std::string out;
  if (pic.nInt + pic.nFrac == 0) {
    // No placeholders: the section is text only (an exponent in it is text as well).
    isZero = ax == 0;
    for (const PicToken& t : pic.tokens)
      if (t.kind == PicToken::literal || t.kind == PicToken::exponent) out += t.text;
    return out;
  }
  Decimal d = Decompose(ax);
  int exp10 = 0;
  int mantissaInt = 0;  // integer digits of the mantissa when there is an exponent
  if (pic.hasExp) {
    mantissaInt = pic.nInt == 0 ? 0 : std::max(1, pic.minInt);
    if (!d.digits.empty()) {
      RoundDecimal(d, mantissaInt + pic.nFrac);
      exp10 = d.exp - mantissaInt + 1;
      d.exp = mantissaInt - 1;  // the mantissa's digits
    }
  } else {
    RoundDecimal(d, d.exp + 1 + pic.nFrac);
  }
  isZero = d.digits.empty();
  if (isZero) d.exp = 0;

  // Integer digits (no leading zeros), widened to the digits always shown.
  const int intDigits = std::max(isZero ? 0 : d.exp + 1, pic.minInt);
  // Fraction digits shown: up to the last non-zero one, at least minFrac.
  int fracShown = pic.minFrac;
  for (int q = pic.nFrac; q > pic.minFrac; --q) {
    if (DigitAt(d, -q) != '0') {
      fracShown = q;
      break;
    }
  }

  auto emitInt = [&](int pos) {
    out += DigitAt(d, pos);
    if (pic.thousands && pos > 0 && pos % 3 == 0) out += ',';
  };
  int intIndex = 0;
  int fracIndex = 0;
  for (const PicToken& t : pic.tokens) {
    switch (t.kind) {
      case PicToken::literal:
        out += t.text;
        break;
      case PicToken::grouping:
        break;
      case PicToken::intDigit: {
        const int pos = pic.nInt - 1 - intIndex;
        if (intIndex++ == 0) {
          // The first placeholder takes every digit the picture has no room for.
          for (int p = intDigits - 1; p >= pos; --p) emitInt(p);
        } else if (pos < intDigits) {
          emitInt(pos);
        }
        break;
      }
      case PicToken::point:
        if (pic.nInt == 0)
          for (int p = intDigits - 1; p >= 0; --p) emitInt(p);
        if (fracShown > 0) out += '.';
        break;
      case PicToken::fracDigit:
        if (fracIndex < fracShown) out += DigitAt(d, -1 - fracIndex);
        ++fracIndex;
        break;
      case PicToken::exponent: {
        out += t.text[0];
        if (exp10 < 0)
          out += '-';
        else if (t.expPlus)
          out += '+';
        const std::string digits = std::to_string(std::abs(exp10));
        if (static_cast<int>(digits.size()) < t.expDigits)
          out.append(static_cast<std::size_t>(t.expDigits) - digits.size(), '0');
        out += digits;
        break;
      }
    }
  }
  return out;
}

// Splits a picture into its sections at ";" outside quoted text.
std::vector<std::string_view> SplitSections(std::string_view f) {
  std::vector<std::string_view> sections;
  std::size_t start = 0;
  char quote = 0;
  for (std::size_t i = 0; i < f.size(); ++i) {
    const char c = f[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      sections.push_back(f.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(f.substr(start));
  return sections;
}

std::string NonFiniteToStr(double x) {
  if (std::isnan(x)) return "NAN";
  return x > 0 ? "INF" : "-INF";
}

// FormatSample: x by the section its sign and shown value choose.
std::string FormatPicture(double x, const std::string& format) {
  if (!std::isfinite(x)) return NonFiniteToStr(x);
  if (format.empty()) return SampleToStr(x);
  const std::vector<std::string_view> sections = SplitSections(format);
  const bool negative = x < 0;
  const double ax = std::fabs(x);
  // An empty negative or zero section falls back to the positive one; an empty positive section formats
  // like an empty picture.
  const bool ownNegative = negative && sections.size() >= 2 && !sections[1].empty();
  const std::string_view section = sections[ownNegative ? 1 : 0];
  if (section.empty()) return SampleToStr(x);
  const Picture pic = ParsePicture(section);
  bool isZero = false;
  std::string out = FormatBy(pic, ax, isZero);
  if (isZero) {
    // A value that shows as zero is formatted as zero: by the zero section, else by the positive one.
    if (sections.size() >= 3 && !sections[2].empty()) return FormatBy(ParsePicture(sections[2]), 0, isZero);
    if (ownNegative) return sections[0].empty() ? "0" : FormatBy(ParsePicture(sections[0]), 0, isZero);
    return out;
  }
  // Only the positive section shows a sign, and only when it shows digits.
  if (negative && !ownNegative && pic.nInt + pic.nFrac > 0) out.insert(out.begin(), '-');
  return out;
}

}  // namespace

std::string SampleToStr(double x, int precision) {
  if (!std::isfinite(x)) return NonFiniteToStr(x);
  if (x == 0) return "0";  // also for -0
  precision = std::clamp(precision, 1, 60);
  std::array<char, 96> buf;
  const auto res =
      std::to_chars(buf.data(), buf.data() + buf.size(), x, std::chars_format::general, precision);
  return std::string(buf.data(), res.ptr);
}

std::string CplxToStr(TCplx z, int width, int precision) {
  const double im = z.imag();
  std::string s = SampleToStr(z.real(), precision);
  s += im < 0 ? '-' : '+';
  s += SampleToStr(std::fabs(im), precision);
  s += 'i';
  if (width > static_cast<int>(s.size())) s.insert(0, static_cast<std::size_t>(width) - s.size(), ' ');
  return s;
}

std::string FormatSample(double x, const std::string& format) { return FormatPicture(x, format); }

std::string FormatCplx(TCplx z, const std::string& reFormat, const std::string& imFormat) {
  std::string s = FormatSample(z.real(), reFormat);
  const double im = z.imag();
  if (imFormat.empty() || !std::isfinite(im)) {
    // No picture (or none that applies): the imaginary part as CplxToStr writes it.
    s += im < 0 ? '-' : '+';
    s += SampleToStr(std::fabs(im));
    s += 'i';
  } else {
    // The picture writes the sign (by its sections) and the "i" itself.
    s += FormatSample(im, imFormat);
  }
  return s;
}

double StrToSample(const std::string& s) { return StrToReal<double>(s, "double"); }

double StrToDouble(const std::string& s) { return StrToReal<double>(s, "double"); }

float StrToSingle(const std::string& s) { return StrToReal<float>(s, "single"); }

TCplx StrToCplx(const std::string& s) {
  TCplx z;
  switch (ParseCplx(s, z)) {
    case Scan::ok:
      return z;
    case Scan::outOfRange:
      ERaise(Quoted(s) + " is out of the range of a double");
    default:
      ERaise(Quoted(s) + " is not a valid complex number");
  }
}

std::string IntPrecisionToStr(TIntPrecision p) {
  switch (p) {
    case prInt32:
      return "prInt32";
    case prInt16:
      return "prInt16";
    case prUInt8:
      return "prUInt8";
  }
  return Fmt("TIntPrecision(%d)", static_cast<int>(p));
}

namespace detail {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string Quoted(std::string_view s) {
  constexpr std::size_t kMax = 40;
  return "\"" + std::string(s.substr(0, kMax)) + (s.size() > kMax ? "...\"" : "\"");
}

}  // namespace detail

namespace {
// True for a UTF-8 continuation byte (10xxxxxx), which never starts a character.
bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }
}  // namespace

int CharCount(std::string_view utf8) {
  int n = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) n += i == 0 || !IsContinuation(utf8[i]) ? 1 : 0;
  return n;
}

std::ptrdiff_t CharOffset(std::string_view utf8, int index) {
  if (index < 0) return -1;
  int seen = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (i > 0 && IsContinuation(utf8[i])) continue;
    if (seen++ == index) return static_cast<std::ptrdiff_t>(i);
  }
  return seen == index ? static_cast<std::ptrdiff_t>(utf8.size()) : -1;
}

}  // namespace zel
