// Delimited text of vectors and matrices: a one-pass reader over the whole buffer (fields located with
// memchr/find, numbers parsed in place with std::from_chars) and a writer that builds the text in one
// string. The rules are in core/csv.h.
#include "core/csv.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/errors.h"
#include "core/strutil.h"
#include "core/text.h"

namespace zel {

using detail::IsBlank;
using detail::Quoted;

namespace {

// Walks the lines and fields of a text, keeping the line and field numbers for messages.
class Reader {
 public:
  Reader(std::string_view text, const std::string& delimiter)
      : fText(text),
        fDelimiter(delimiter.empty() ? "," : delimiter),
        fBlankSplit(fDelimiter == " " || fDelimiter == "\t") {}

  // Calls onField(text, quoted) for every field of every non-blank line; checks that the lines are even.
  template <class OnField>
  void Run(OnField&& onField) {
    std::size_t pos = fText.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (pos < fText.size()) {
      const void* nl = std::memchr(fText.data() + pos, '\n', fText.size() - pos);
      const std::size_t eol =
          nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - fText.data()) : fText.size();
      std::string_view line = fText.substr(pos, eol - pos);
      pos = eol + 1;
      ++fLine;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (IsBlankLine(line)) continue;
      const int count = fBlankSplit ? SplitBlanks(line, onField) : SplitDelimited(line, onField);
      if (rows == 0) {
        cols = count;
        fFirstLine = fLine;
      } else if (count != cols) {
        ERaise(Fmt(
            "Line %d holds %d field%s where line %d holds %d: every row of a matrix needs the same number",
            fLine, count, count == 1 ? "" : "s", fFirstLine, cols));
      }
      ++rows;
    }
  }

  // Raises with the position of the current field.
  [[noreturn]] void Fail(const std::string& what) const {
    ERaise(Fmt("Line %d, field %d: %s", fLine, fField, what.c_str()));
  }

  int rows = 0;
  int cols = 0;

 private:
  static bool IsBlankLine(std::string_view line) {
    for (char c : line)
      if (!IsBlank(c)) return false;
    return true;
  }
  std::size_t SkipBlanks(std::string_view line, std::size_t i) const {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return i;
  }
  static std::string_view TrimRight(std::string_view f) {
    while (!f.empty() && (f.back() == ' ' || f.back() == '\t')) f.remove_suffix(1);
    return f;
  }

  // Reads the quoted field starting at line[i] (the opening quote) into fScratch; returns the index after
  // the closing quote.
  std::size_t ReadQuoted(std::string_view line, std::size_t i) {
    fScratch.clear();
    std::size_t j = i + 1;
    while (true) {
      const std::size_t q = line.find('"', j);
      if (q == std::string_view::npos) Fail("the quoted field is not closed on its line");
      fScratch.append(line.substr(j, q - j));
      if (q + 1 < line.size() && line[q + 1] == '"') {
        fScratch += '"';
        j = q + 2;
        continue;
      }
      return q + 1;
    }
  }

  // Fields separated by each occurrence of the delimiter.
  template <class OnField>
  int SplitDelimited(std::string_view line, OnField& onField) {
    const std::string& d = fDelimiter;
    std::size_t i = 0;
    for (fField = 1;; ++fField) {
      i = SkipBlanks(line, i);
      std::size_t at;
      if (i < line.size() && line[i] == '"') {
        i = SkipBlanks(line, ReadQuoted(line, i));
        if (i < line.size() && line.compare(i, d.size(), d) != 0) Fail("text follows the closing quote");
        onField(detail::Trim(fScratch), true);
        at = i < line.size() ? i : std::string_view::npos;
      } else {
        if (d.size() == 1) {
          const void* p = std::memchr(line.data() + i, d[0], line.size() - i);
          at = p ? static_cast<std::size_t>(static_cast<const char*>(p) - line.data())
                 : std::string_view::npos;
        } else {
          at = line.find(d, i);
        }
        onField(TrimRight(line.substr(i, at == std::string_view::npos ? line.size() - i : at - i)), false);
      }
      if (at == std::string_view::npos) return fField;
      i = at + d.size();
    }
  }

  // Fields separated by runs of blanks and tabs.
  template <class OnField>
  int SplitBlanks(std::string_view line, OnField& onField) {
    std::size_t i = SkipBlanks(line, 0);
    for (fField = 1;; ++fField) {
      if (line[i] == '"') {
        i = ReadQuoted(line, i);
        if (i < line.size() && line[i] != ' ' && line[i] != '\t') Fail("text follows the closing quote");
        onField(detail::Trim(fScratch), true);
      } else {
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        onField(line.substr(start, i - start), false);
      }
      i = SkipBlanks(line, i);
      if (i >= line.size()) return fField;
    }
  }

  std::string_view fText;
  std::string fDelimiter;
  bool fBlankSplit;
  std::string fScratch;
  int fLine = 0;
  int fField = 0;
  int fFirstLine = 0;
};

// The field without one leading "+" (from_chars takes none); empty when the sign is followed by another.
std::string_view WithoutPlus(std::string_view f) {
  if (f.empty() || f[0] != '+') return f;
  f.remove_prefix(1);
  return !f.empty() && (f[0] == '+' || f[0] == '-') ? std::string_view() : f;
}

// A real number spanning the whole field; false when the field is not one.
bool ParseDouble(std::string_view f, double& x) {
  const std::string_view t = WithoutPlus(f);
  if (t.empty()) return false;
  const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), x);
  if (end != t.data() + t.size()) return false;
  if (ec == std::errc()) return true;
  if (ec != std::errc::result_out_of_range) return false;
  x = std::strtod(std::string(t).c_str(), nullptr);  // overflow to infinity, underflow to zero, as strtod
  return true;
}

// Estimated number of values, to size the buffers once.
std::size_t EstimateValues(std::string_view text) {
  const void* nl = std::memchr(text.data(), '\n', text.size());
  const std::size_t firstLine =
      nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - text.data()) + 1 : text.size();
  return text.size() / std::max<std::size_t>(firstLine, 1) * 8;
}

void Append(std::string& out, double x) {
  if (!std::isfinite(x)) {
    out += SampleToStr(x);
    return;
  }
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  out.append(buf, r.ptr);
}

void Append(std::string& out, TCplx z) {
  if (!std::isfinite(z.real()) || !std::isfinite(z.imag())) {
    out += CplxToStr(z);
    return;
  }
  Append(out, z.real());
  if (!std::signbit(z.imag())) out += '+';
  Append(out, z.imag());
  out += 'i';
}

void Append(std::string& out, std::int32_t v) {
  char buf[16];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

// Lays out count values as rows × cols lines.
template <class Put>
std::string Layout(int rows, int cols, const std::string& delimiter, Put put) {
  std::string out;
  out.reserve(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols) * 12);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      if (c > 0) out += delimiter;
      put(out, r * cols + c);
    }
    out += '\n';
  }
  return out;
}

}  // namespace

void CsvParseReal(std::string_view text, const std::string& delimiter, TZel& dst) {
  Reader reader(text, delimiter);
  std::vector<double> re;
  std::vector<double> im;  // filled once the first complex value appears
  re.reserve(EstimateValues(text));
  reader.Run([&](std::string_view f, bool) {
    double x = std::nan("");
    if (!f.empty() && !ParseDouble(f, x)) {
      const char last = f.back();
      if (last != 'i' && last != 'j') reader.Fail(Quoted(f) + " is not a number");
      TCplx z;
      try {
        z = StrToCplx(std::string(f));
      } catch (const ENubraException&) {
        reader.Fail(Quoted(f) + " is not a number");
      }
      if (im.empty()) im.assign(re.size(), 0.0);
      re.push_back(z.real());
      im.push_back(z.imag());
      return;
    }
    re.push_back(x);
    if (!im.empty()) im.push_back(0.0);
  });
  const bool complex = !im.empty();
  dst.Size(reader.rows, reader.cols, complex);
  if (complex) {
    for (std::size_t k = 0; k < re.size(); ++k) dst.CValues(static_cast<int>(k)) = TCplx(re[k], im[k]);
  } else if (!re.empty()) {
    std::memcpy(dst.PValues(), re.data(), re.size() * sizeof(double));
  }
}

void CsvParseInt(std::string_view text, const std::string& delimiter, TCsvIntKind kind, TIntPrecision p,
                 TZelInt& dst) {
  struct Bounds {
    std::int64_t lo, hi;
    const char* name;
  };
  static constexpr Bounds kBounds[] = {{-128, 127, "an 8-bit integer"},
                                       {-32768, 32767, "a 16-bit integer"},
                                       {INT32_MIN, INT32_MAX, "a 32-bit integer"},
                                       {0, 255, "an unsigned 8-bit integer"},
                                       {0, 65535, "an unsigned 16-bit integer"},
                                       {INT64_MIN, INT64_MAX, ""}};
  const Bounds& b = kBounds[static_cast<int>(kind)];
  const bool boolean = kind == TCsvIntKind::Bool;
  Reader reader(text, delimiter);
  std::vector<std::int32_t> values;
  values.reserve(EstimateValues(text));
  reader.Run([&](std::string_view f, bool) {
    if (f.empty()) reader.Fail("the field is empty");
    if (boolean && (f.size() == 4 || f.size() == 5)) {
      std::string lower(f);
      for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (lower == "true" || lower == "false") {
        values.push_back(lower == "true" ? 1 : 0);
        return;
      }
    }
    const std::string_view t = WithoutPlus(f);
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (t.empty() || end != t.data() + t.size() ||
        (ec != std::errc() && ec != std::errc::result_out_of_range))
      reader.Fail(Quoted(f) + " is not " + (boolean ? "a boolean" : "an integer"));
    if (boolean) {
      values.push_back(ec == std::errc() && v == 0 ? 0 : 1);
      return;
    }
    if (ec != std::errc() || v < b.lo || v > b.hi)
      reader.Fail(Quoted(f) + " is out of the range of " + b.name);
    values.push_back(static_cast<std::int32_t>(v));
  });
  dst.Size(reader.rows, reader.cols, p);
  for (std::size_t k = 0; k < values.size(); ++k) dst.Set(static_cast<int>(k), values[k]);
}

std::string CsvFormat(const TNubraVec& values, const std::string& delimiter) {
  const int rows = values.IsMatrix() ? values.Rows() : values.Length();
  const int cols = values.IsMatrix() ? values.Cols() : 1;
  if (values.Complex())
    return Layout(rows, cols, delimiter, [&](std::string& out, int k) { Append(out, values.CValues(k)); });
  return Layout(rows, cols, delimiter, [&](std::string& out, int k) { Append(out, values.Values(k)); });
}

std::string CsvFormat(const TNubraInt& values, const std::string& delimiter) {
  const int rows = values.IsMatrix() ? values.Rows() : values.Length();
  const int cols = values.IsMatrix() ? values.Cols() : 1;
  return Layout(rows, cols, delimiter, [&](std::string& out, int k) { Append(out, values.Get(k)); });
}

}  // namespace zel
