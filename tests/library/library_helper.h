// Test support for the function library: symbol tables filled by RegisterBuiltins (one per concatenation
// variant) and a flat snapshot of a result value for table-driven comparisons.
#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "library/functions.h"
#include "support/oper_helper.h"

namespace zel::test {

// The sorted words of RegisterBuiltins.
class Functions {
 public:
  static const Functions& Get(bool concatsAlwaysReal = true) {
    static const Functions real(true), keepInt(false);
    return concatsAlwaysReal ? real : keepInt;
  }
  TExprWord* Word(const std::string& name) const {
    int index = 0;
    if (!fWords.Find(name, index)) throw std::logic_error("no function word " + name);
    return fWords[index];
  }
  const TWordList& Words() const { return fWords; }
  const TBuiltinWords& Refs() const { return fRefs; }

 private:
  explicit Functions(bool concatsAlwaysReal) {
    fRefs = RegisterBuiltins(fWords, {.concatsAlwaysReal = concatsAlwaysReal});
    fWords.Sort();
  }
  TWordList fWords;
  TBuiltinWords fRefs;
};

// Everything a comparison needs from a value: type, shape (vectors are 1 × n, scalars 1 × 1),
// complexity, integer precision, the stored numbers (complex as re, im pairs) and string text.
struct Snapshot {
  TValueType type = vtUndefined;
  int rows = 0, cols = 0;
  bool complex = false;
  TIntPrecision precision = prInt32;
  std::vector<double> values;
  std::string text;

  bool operator==(const Snapshot&) const = default;
};

inline Snapshot Snap(TValueRec& v) {
  Snapshot s;
  s.type = v.ValueType();
  s.rows = s.cols = 1;
  const auto real = [&](const TNubraVec& x, int rows, int cols) {
    s.rows = rows;
    s.cols = cols;
    s.complex = x.Complex();
    s.values = Values(x);
  };
  const auto integer = [&](const TNubraInt& x, int rows, int cols) {
    s.rows = rows;
    s.cols = cols;
    s.precision = x.IntPrecision();
    for (int i : Values(x)) s.values.push_back(i);
  };
  switch (v.ValueType()) {
    case vtDoubleValue:
      s.values = {v.DoubleValue()};
      break;
    case vtIntegerValue:
      s.values = {static_cast<double>(v.IntegerValue())};
      break;
    case vtComplexValue:
      s.complex = true;
      s.values = {v.ComplexValue().real(), v.ComplexValue().imag()};
      break;
    case vtString:
      s.text = v.StringValue();
      break;
    case vtVectorValue:
      real(v.VectorValue(), 1, v.VectorValue().Length());
      break;
    case vtMatrixValue:
      real(v.MatrixValue(), v.MatrixValue().Rows(), v.MatrixValue().Cols());
      break;
    case vtIntVectorValue:
      integer(v.IntVectorValue(), 1, v.IntVectorValue().Length());
      break;
    case vtIntMatrixValue:
      integer(v.IntMatrixValue(), v.IntMatrixValue().Rows(), v.IntMatrixValue().Cols());
      break;
    default:
      break;
  }
  return s;
}

inline std::ostream& operator<<(std::ostream& os, const Snapshot& s) {
  os << ValTypeName(s.type) << " " << s.rows << "x" << s.cols << (s.complex ? " complex" : "") << " prec "
     << static_cast<int>(s.precision) << " [";
  for (double x : s.values) os << x << " ";
  return os << "] \"" << s.text << "\"";
}

}  // namespace zel::test
