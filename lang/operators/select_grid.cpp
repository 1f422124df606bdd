// Reads of grid variables (host tables of text cells behind OnGetValue): a(row, col) through _Select2 and
// the typed read select(a, row, col, type) through _Select3. Row and column go to the host as given.
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/text.h"
#include "lang/operators/select.h"

namespace zel {

namespace select {

TExprGridVariable& GridOf(const TValueRec& v) {
  TObject* obj = v.CustomValue();
  if (!obj) throw EZelParseError("TExprGridVariable custom object value is nil");
  auto* grid = dynamic_cast<TExprGridVariable*>(obj);
  if (!grid) throw EZelParseError("Unsupported custom object type: " + obj->ClassName());
  if (!grid->OnSetValue()) throw EZelParseError("TExprGridVariable.OnSetValue = nil");
  if (!grid->OnGetValue()) throw EZelParseError("TExprGridVariable.OnGetValue = nil");
  return *grid;
}

GridAxis ReadGridAxis(const TValueRec& index, const char* autoExpandText) {
  if (index.ValueType() == vtIntegerValue) return GridAxis{IndexOf(index), 1};
  if (!IsIntegerRange(index)) throw EZelParseError("Matrix range parameter must be an integer range!");
  std::int32_t b[3];
  const int entries = RangeBounds(index, b);
  if ((entries == 2 || entries == 3) && b[entries - 1] == RangeEndOfArray)
    throw EZelParseError(autoExpandText);
  if (entries == 3) throw EZelParseError("colon: range x:y:z not supported on matrices");
  if (entries != 2) throw EZelParseError("Invalid range parameter length!");
  const TIndexRange r = ResolveRange(b, 2, 0);  // the stop is explicit: the length plays no part
  return GridAxis{r.Lower, r.Count};
}

std::int32_t StrToInt32(const std::string& s) {
  std::size_t a = 0, e = s.size();
  while (a < e && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (e > a && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  std::size_t digits = a + (a < e && (s[a] == '+' || s[a] == '-'));
  bool ok = digits < e;
  for (std::size_t i = digits; i < e; ++i) ok = ok && s[i] >= '0' && s[i] <= '9';
  long long v = 0;
  if (ok) {
    errno = 0;
    v = std::strtoll(s.c_str() + a, nullptr, 10);
    ok = errno == 0 && v >= INT32_MIN && v <= INT32_MAX;
  }
  if (!ok) ERaise(Fmt("\"%s\" is not a valid integer value", s.c_str()));
  return static_cast<std::int32_t>(v);
}

}  // namespace select

namespace {

using namespace dispatch;
using namespace select;

// The text of one cell.
const std::string& CellText(TExprGridVariable& grid, std::string& text, int row, int col) {
  text.clear();
  grid.OnGetValue()(grid, text, row, col);
  return text;
}

// Fills a rows.count x cols.count matrix cell by cell; put(k, text) stores flat element k.
template <class Put>
void ReadBlock(TExprGridVariable& grid, const GridAxis& rows, const GridAxis& cols, Put put) {
  std::string text;
  for (int i = 0; i < rows.count; ++i)
    for (int j = 0; j < cols.count; ++j)
      put(i * cols.count + j, CellText(grid, text, rows.first + i, cols.first + j));
}

// A stop of -1 (a bare ":") on a grid: the host table has no length to expand to. _Select2 names its
// column ranges with a capital R.
constexpr const char* kAutoExpandText =
    "Automatic range expansion from colon (:) not support for grid variable!";
constexpr const char* kColAutoExpandText =
    "Automatic Range expansion from colon (:) not support for grid variable!";

// Target types of a typed grid read.
enum class CellType { Double, Boolean, Integer, Complex, String };

CellType ParseCellType(const std::string& name, bool block) {
  if (name == "double") return CellType::Double;
  if (name == "boolean") return CellType::Boolean;
  if (name == "integer") return CellType::Integer;
  if (name == "complex") return CellType::Complex;
  if (name == "string" && !block) return CellType::String;
  throw EZelParseError("Unrecognized parameter \"" + name + "\"");
}

void StoreCell(TValueRec& res, CellType type, const std::string& text) {
  switch (type) {
    case CellType::Double:
      EnsureType(res, vtDoubleValue);
      res.SetDoubleValue(StrToSample(text));
      break;
    case CellType::Boolean:
      EnsureType(res, vtBoolValue);
      res.SetBoolValue(StrToInt32(text) != 0);
      break;
    case CellType::Integer:
      EnsureType(res, vtIntegerValue);
      res.SetIntegerValue(StrToInt32(text));
      break;
    case CellType::Complex:
      EnsureType(res, vtComplexValue);
      res.SetComplexValue(StrToCplx(text));
      break;
    case CellType::String:
      EnsureType(res, vtString);
      res.SetStringValue(text);
      break;
  }
}

void StoreBlock(TValueRec& res, CellType type, TExprGridVariable& grid, const GridAxis& rows,
                const GridAxis& cols) {
  switch (type) {
    case CellType::Double:
    case CellType::Complex: {
      EnsureType(res, vtMatrixValue);
      TZel& m = res.MatrixValue();
      const bool complex = type == CellType::Complex;
      m.Size(rows.count, cols.count, complex);
      ReadBlock(grid, rows, cols, [&](int k, const std::string& t) {
        if (complex) {
          m.CValues(k) = StrToCplx(t);
        } else {
          m.Values(k) = StrToSample(t);
        }
      });
      break;
    }
    case CellType::Integer:
    case CellType::Boolean: {
      const bool boolean = type == CellType::Boolean;
      EnsureType(res, boolean ? vtBoolMatrixValue : vtIntMatrixValue);
      TZelInt& m = boolean ? res.BoolMatrixValue() : res.IntMatrixValue();
      m.Size(rows.count, cols.count, prInt32);
      ReadBlock(grid, rows, cols, [&](int k, const std::string& t) {
        const std::int32_t v = StrToInt32(t);
        m.Set(k, boolean ? v != 0 : v);
      });
      break;
    }
    case CellType::String:
      break;  // refused by ParseCellType
  }
}

bool IsCell(const TExprRec& expr) { return KindOf(*expr.Args[1]) == I && KindOf(*expr.Args[2]) == I; }

// The typed routine of _Select3: the type name is read on every evaluation.
void GridSelect3(TExprRec& expr) {
  TExprGridVariable& grid = GridOf(*expr.Args[0]);
  const bool block = !IsCell(expr);
  const CellType type = ParseCellType(expr.Args[3]->StringValue(), block);
  const GridAxis rows = ReadGridAxis(*expr.Args[1], kAutoExpandText);
  const GridAxis cols = ReadGridAxis(*expr.Args[2], kAutoExpandText);
  if (block) {
    StoreBlock(*expr.Res, type, grid, rows, cols);
  } else {
    std::string text;
    StoreCell(*expr.Res, type, CellText(grid, text, rows.first, cols.first));
  }
}

// Row kind x column kind of a typed read (the source must be a custom value, the type a string); the
// routine defines its result from the type name.
constexpr BinaryCells kSelect3 = [] {
  BinaryCells t{};
  Set(t, {I, R, Re}, {I, R, Re}, None, GridSelect3);
  return t;
}();

}  // namespace

namespace select {

void GridSelect2Cell(TExprRec& expr) {
  TExprGridVariable& grid = GridOf(*expr.Args[0]);
  std::string text;
  expr.Res->SetDoubleValue(StrToSample(CellText(grid, text, IndexOf(*expr.Args[1]), IndexOf(*expr.Args[2]))));
}

void GridSelect2Block(TExprRec& expr) {
  TExprGridVariable& grid = GridOf(*expr.Args[0]);
  const GridAxis rows = ReadGridAxis(*expr.Args[1], kAutoExpandText);
  const GridAxis cols = ReadGridAxis(*expr.Args[2], kColAutoExpandText);
  StoreBlock(*expr.Res, CellType::Double, grid, rows, cols);
}

}  // namespace select

void _Select3(TExprRec& expr) {
  const auto type = [&](std::size_t i) {
    return i < expr.Args.size() && expr.Args[i] ? expr.Args[i]->ValueType() : vtUndefined;
  };
  const auto kind = [&](std::size_t i) {
    return i < expr.Args.size() && expr.Args[i] ? KindOf(*expr.Args[i]) : U;
  };
  const Cell& cell = kSelect3.cells[kind(1)][kind(2)];
  if (kind(0) != X || kind(3) != S || !cell.routine)
    UnsupportedValueTypesError(expr, type(0), type(1), type(2), type(3));
  Run(expr, cell);
}

}  // namespace zel
