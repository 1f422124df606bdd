// Printing of values: the lines VarPrint appends for a value and the text of a tool tip.
#include "core/text.h"
#include "script/expression.h"

namespace zel {

namespace {

// Column separator of printed vectors and matrices (columns are right-aligned).
constexpr const char* kPrintDelimiter = "  ";
// Tool tips show at most this many lines of a vector or matrix.
constexpr int kToolTipLines = 10;

// The bounds of a range joined by ":".
std::string RangeText(const TValueRec& v) {
  std::string text;
  if (v.ExtRange()) {
    const TVec* b = v.ExtRangeValue();
    for (int k = 0; b && k < b->Length(); ++k)
      text += (k ? ":" : "") + (b->Complex() ? CplxToStr(b->CValues(k), 0, 15) : SampleToStr(b->Values(k)));
  } else {
    for (size_t k = 0; k < v.Range().size(); ++k) text += (k ? ":" : "") + std::to_string(v.Range()[k]);
  }
  return text;
}

// The number of bounds of a range (2 or 3 when well formed).
int RangeBounds(const TValueRec& v) {
  if (v.ExtRange()) return v.ExtRangeValue() ? v.ExtRangeValue()->Length() : 0;
  return static_cast<int>(v.Range().size());
}

// The text of a scalar value, or false for other types.
bool ScalarText(const TValueRec& v, std::string& text) {
  switch (v.ValueType()) {
    case vtDoubleValue:
      text = SampleToStr(v.DoubleValue());
      return true;
    case vtIntegerValue:
      text = std::to_string(v.IntegerValue());
      return true;
    case vtComplexValue:
      text = CplxToStr(v.ComplexValue(), 0, 15);
      return true;
    case vtBoolValue:
      text = v.BoolValue() ? "True" : "False";
      return true;
    default:
      return false;
  }
}

// The object behind a vector or matrix value, with its shape; null for other types.
const TNubra* Container(const TValueRec& v, int& rows, int& cols, bool& matrix) {
  matrix = false;
  switch (v.ValueType()) {
    case vtVectorValue:
      rows = 1, cols = v.VectorField()->Length();
      return v.VectorField();
    case vtIntVectorValue:
    case vtBoolVectorValue:
      rows = 1, cols = v.IntVectorField()->Length();
      return v.IntVectorField();
    case vtMatrixValue:
      matrix = true, rows = v.MatrixValue().Rows(), cols = v.MatrixValue().Cols();
      return v.MatrixField();
    case vtIntMatrixValue:
    case vtBoolMatrixValue:
      matrix = true, rows = v.IntMatrixValue().Rows(), cols = v.IntMatrixValue().Cols();
      return v.IntMatrixField();
    default:
      return nullptr;
  }
}

}  // namespace

void TZelExpression::VarPrint(const TValueRec& v, const std::string& name,
                              std::vector<std::string>& dst) const {
  const std::string type = ValTypeName(v.ValueType());
  std::string text;
  if (v.ValueType() == vtUndefined) {
    dst.push_back("result type is undefined.");
  } else if (ScalarText(v, text)) {
    dst.push_back(name + "(" + type + ") = " + text);
  } else if (v.ValueType() == vtString) {
    dst.push_back(name + "(" + type + ") = \"" + v.StringValue() + "\"");
  } else if (v.ValueType() == vtRangeValue) {
    const int bounds = RangeBounds(v);
    if (bounds == 2 || bounds == 3) dst.push_back(name + "(range) = " + RangeText(v));
  } else {
    int rows = 0, cols = 0;
    bool matrix = false;
    const TNubra* obj = Container(v, rows, cols, matrix);
    if (!obj) return;
    const bool headers = matrix ? rows > 8 || cols > 6 : cols > 8;
    dst.push_back(name + "(" + type + ", " + std::to_string(rows) + "x" + std::to_string(cols) + ") = ");
    dst.push_back("");
    std::vector<std::string> lines;
    obj->ValuesToStrings(lines, kPrintDelimiter, true, headers);
    dst.insert(dst.end(), lines.begin(), lines.end());
  }
}

std::string TZelExpression::VarToolTip(const std::string& name, const TValueRec& v) const {
  const std::string type = ValTypeName(v.ValueType());
  std::string text;
  if (v.ValueType() == vtUndefined) return "Variable type is undefined.";
  if (ScalarText(v, text)) return name + "(" + type + ") = " + text;
  if (v.ValueType() == vtString)
    return name + "(" + type + ", Length = " + std::to_string(CharCount(v.StringValue())) + ") = \"" +
           v.StringValue() + "\"";
  if (v.ValueType() == vtRangeValue) return name + "(range) = " + RangeText(v);
  int rows = 0, cols = 0;
  bool matrix = false;
  const TNubra* obj = Container(v, rows, cols, matrix);
  if (!obj) return "";
  std::vector<std::string> lines;
  obj->ValuesToStrings(lines, kPrintDelimiter, true, false);
  std::string tip;
  for (int k = 0; k < static_cast<int>(lines.size()) && k < kToolTipLines; ++k)
    tip += (k ? "\r\n" : "") + lines[k];
  if (static_cast<int>(lines.size()) > kToolTipLines) tip += "\r\n...";
  if (matrix)
    return Fmt("%s (%s, %d x %d) = %s%s", name.c_str(), type.c_str(), rows, cols, "\r\n", tip.c_str());
  return Fmt("%s (%s, 1 x %d)  = %s%s", name.c_str(), type.c_str(), cols, "\r\n", tip.c_str());
}

}  // namespace zel
