// Text form of vectors and matrices: ValuesToStrings writes one line per element (vectors) or per row
// (matrices), StringsToValues reads such lines back. docs/numbers.md shows the layouts.

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/nubra.h"
#include "core/strutil.h"
#include "core/text.h"

namespace zel {

using detail::IsBlank;
using detail::Quoted;
using detail::Trim;

namespace {

// Splits a line into its values. A delimiter of one blank or one tab (or none) splits at every run of
// blanks and tabs, so aligned text reads back; any other delimiter splits at each occurrence.
void SplitFields(std::string_view line, const std::string& delimiter, std::vector<std::string_view>& fields) {
  fields.clear();
  if (delimiter.empty() || delimiter == " " || delimiter == "\t") {
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (true) {
      while (i < n && IsBlank(line[i])) ++i;
      if (i == n) break;
      const std::size_t start = i;
      while (i < n && !IsBlank(line[i])) ++i;
      fields.push_back(line.substr(start, i - start));
    }
    return;
  }
  std::size_t start = 0;
  while (true) {
    const std::size_t at = line.find(delimiter, start);
    if (at == std::string_view::npos) break;
    fields.push_back(line.substr(start, at - start));
    start = at + delimiter.size();
  }
  fields.push_back(line.substr(start));
}

// Reads the values of every non-blank line with `parse`. For a matrix every line must hold as many
// values as the first one; rows and cols report the shape. Errors name the line (counted from 1).
template <class T, class Parse>
void ReadLines(const std::vector<std::string>& src, const std::string& delimiter, bool matrix,
               std::vector<T>& values, int& rows, int& cols, Parse parse) {
  rows = 0;
  cols = 0;
  std::size_t firstLine = 0;
  std::vector<std::string_view> fields;
  for (std::size_t line = 0; line < src.size(); ++line) {
    if (Trim(src[line]).empty()) continue;
    SplitFields(src[line], delimiter, fields);
    if (matrix) {
      if (rows == 0) {
        cols = static_cast<int>(fields.size());
        firstLine = line;
      } else if (static_cast<int>(fields.size()) != cols) {
        ERaise(Fmt(
            "Line %zu holds %zu value%s where line %zu holds %d: every row of a matrix needs the same number",
            line + 1, fields.size(), fields.size() == 1 ? "" : "s", firstLine + 1, cols));
      }
    }
    ++rows;
    for (const std::string_view f : fields) {
      try {
        values.push_back(parse(f));
      } catch (const ENubraException& e) {
        ERaise(Fmt("Line %zu: %s", line + 1, e.what()));
      }
    }
  }
  if (!matrix) cols = 1;
}

// A real or complex value and whether its text has an imaginary part ("1+0i" has one).
struct ParsedValue {
  TCplx z;
  bool imaginary;
};

ParsedValue ParseValue(std::string_view f) {
  const std::string_view t = Trim(f);
  // No real number ends in "i", so the last character tells complex text apart.
  return {StrToCplx(std::string(t)), !t.empty() && t.back() == 'i'};
}

// A strict decimal 32-bit integer with an optional sign.
std::int32_t ParseInt32(std::string_view f) {
  const std::string_view t = Trim(f);
  std::string_view digits = t;
  if (!digits.empty() && digits[0] == '+') digits.remove_prefix(1);
  std::int32_t v = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  const bool whole = end == digits.data() + digits.size() && !digits.empty() && digits[0] != '+';
  const bool doubleSign = digits.size() < t.size() && !digits.empty() && digits[0] == '-';
  if (whole && !doubleSign && ec == std::errc::result_out_of_range)
    ERaise(Quoted(t) + " is out of the range of a 32-bit integer");
  if (!whole || doubleSign || ec != std::errc()) ERaise(Quoted(t) + " is not a valid integer");
  return v;
}

// Lays out rows × cols cell texts as lines: columns joined by the delimiter, right-aligned to the widest
// entry when `align`, and with "[i]" index labels when `headers` (a label line for matrix columns).
void LayoutCells(const std::vector<std::string>& cells, int rows, int cols, bool matrix,
                 const std::string& delimiter, bool align, bool headers, std::vector<std::string>& dst) {
  dst.clear();
  if (rows <= 0 || cols <= 0) return;
  auto label = [](int i) { return "[" + std::to_string(i) + "]"; };
  const bool columnLabels = headers && matrix;
  std::vector<std::size_t> width(static_cast<std::size_t>(cols), 0);
  std::size_t labelWidth = 0;
  if (align) {
    for (int c = 0; c < cols; ++c) {
      std::size_t w = columnLabels ? label(c).size() : 0;
      for (int r = 0; r < rows; ++r) w = std::max(w, cells[static_cast<std::size_t>(r * cols + c)].size());
      width[static_cast<std::size_t>(c)] = w;
    }
    if (headers) labelWidth = label(rows - 1).size();
  }
  auto append = [](std::string& line, const std::string& text, std::size_t w) {
    if (text.size() < w) line.append(w - text.size(), ' ');
    line += text;
  };
  dst.reserve(static_cast<std::size_t>(rows) + (columnLabels ? 1 : 0));
  if (columnLabels) {
    std::string line(labelWidth, ' ');
    for (int c = 0; c < cols; ++c) {
      line += delimiter;
      append(line, label(c), width[static_cast<std::size_t>(c)]);
    }
    dst.push_back(std::move(line));
  }
  for (int r = 0; r < rows; ++r) {
    std::string line;
    if (headers) {
      append(line, label(r), labelWidth);
      line += delimiter;
    }
    for (int c = 0; c < cols; ++c) {
      if (c > 0) line += delimiter;
      append(line, cells[static_cast<std::size_t>(r * cols + c)], width[static_cast<std::size_t>(c)]);
    }
    dst.push_back(std::move(line));
  }
}

}  // namespace

void TNubraVec::ValuesToStrings(std::vector<std::string>& dst, const std::string& delimiter, bool align,
                                bool headers) const {
  const int rows = fMatrix ? fRows : fLength;  // a vector prints one element per line
  const int cols = fMatrix ? fCols : 1;
  std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int k = static_cast<int>(i);
    cells[i] = fComplex ? CplxToStr(CValues(k)) : SampleToStr(Values(k));
  }
  LayoutCells(cells, rows, cols, fMatrix, delimiter, align, headers, dst);
}

// One reader for vectors and matrices: a matrix takes the shape of the lines, a vector every value.
void TNubraVec::StringsToValues(const std::vector<std::string>& src, const std::string& delimiter) {
  std::vector<ParsedValue> values;
  int rows = 0;
  int cols = 0;
  ReadLines(src, delimiter, fMatrix, values, rows, cols, ParseValue);
  const bool complex =
      std::any_of(values.begin(), values.end(), [](const ParsedValue& v) { return v.imaginary; });
  if (fMatrix) {
    SizeShape(rows, cols, complex);
  } else {
    SizeElements(static_cast<int>(values.size()), complex, false);
  }
  for (std::size_t i = 0; i < values.size(); ++i) {
    const int k = static_cast<int>(i);
    if (complex)
      CValues(k) = values[i].z;
    else
      Values(k) = values[i].z.real();
  }
}

void TNubraInt::ValuesToStrings(std::vector<std::string>& dst, const std::string& delimiter, bool align,
                                bool headers) const {
  const int rows = fMatrix ? fRows : fLength;  // a vector prints one element per line
  const int cols = fMatrix ? fCols : 1;
  std::vector<std::string> cells(static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols));
  for (std::size_t i = 0; i < cells.size(); ++i) cells[i] = std::to_string(Get(static_cast<int>(i)));
  LayoutCells(cells, rows, cols, fMatrix, delimiter, align, headers, dst);
}

void TNubraInt::StringsToValues(const std::vector<std::string>& src, const std::string& delimiter) {
  std::vector<std::int32_t> values;
  int rows = 0;
  int cols = 0;
  ReadLines(src, delimiter, fMatrix, values, rows, cols, ParseInt32);
  if (fMatrix) {
    SizeShape(rows, cols, fPrecision);
  } else {
    SizeElements(static_cast<int>(values.size()), fPrecision, false);
  }
  for (std::size_t i = 0; i < values.size(); ++i) Set(static_cast<int>(i), values[i]);
}

}  // namespace zel
