// The self-test operations: compile one expression, evaluate it and compare with an expected value;
// and the selection/assignment battery built on them.
#include <cmath>
#include <stdexcept>

#include "core/text.h"
#include "script/expression.h"

namespace zel {

namespace {

constexpr double kTolerance = 1e-10;

// Neither NaN nor infinite.
bool Finite(double x) { return std::isfinite(x); }
bool Finite(TCplx z) { return std::isfinite(z.real()) && std::isfinite(z.imag()); }

// Equal within the self-test tolerance.
bool Near(double a, double b) { return a == b || std::fabs(a - b) <= kTolerance; }
bool Near(TCplx a, TCplx b) { return Near(a.real(), b.real()) && Near(a.imag(), b.imag()); }

// Raises on a NaN or infinite expected value unless the test allows them.
void CheckFinite(bool finite, bool allowNanInf, const std::string& expr) {
  if (!finite && !allowNanInf) ERaise("TZelExpression.Test(" + expr + ") tested for NAN or INF!");
}

// Equal length and every element within the tolerance (NaN equals NaN).
bool SameValues(const TNubraVec& a, const TNubraVec& b) {
  if (a.Length() != b.Length() || a.Complex() != b.Complex()) return false;
  for (int k = 0; k < a.ScalarCount(); ++k) {
    const double x = a.PValues()[k], y = b.PValues()[k];
    if (!(Near(x, y) || (std::isnan(x) && std::isnan(y)))) return false;
  }
  return true;
}

// Equal length and equal elements.
bool SameValues(const TNubraInt& a, const std::vector<int>& b) {
  if (a.Length() != static_cast<int>(b.size())) return false;
  for (int k = 0; k < a.Length(); ++k)
    if (a.Get(k) != b[static_cast<size_t>(k)]) return false;
  return true;
}

// CheckFinite for every element.
void CheckFinite(const TNubraVec& v, bool allowNanInf, const std::string& expr) {
  for (int k = 0; k < v.ScalarCount(); ++k) CheckFinite(Finite(v.PValues()[k]), allowNanInf, expr);
}

// A real vector of the values.
void VectorOf(const std::vector<double>& values, TVec& v) {
  v.Size(static_cast<int>(values.size()), false);
  for (size_t k = 0; k < values.size(); ++k) v.Values(static_cast<int>(k)) = values[k];
}

}  // namespace

void TZelExpression::Test(const std::string& expr, double expected, bool allowNanInf) {
  CheckFinite(Finite(expected), allowNanInf, expr);
  ClearExpressions();
  AddExpr(expr);
  const double got = EvaluateDouble();
  if (!(Near(got, expected) || (std::isnan(got) && std::isnan(expected))))
    ERaise("TZelExpression.Test: " + SampleToStr(expected) + " <> " + expr);
}

void TZelExpression::Test(const std::string& expr, bool expected) {
  ClearExpressions();
  AddExpr(expr);
  if (EvaluateBool() != expected)
    ERaise(std::string("TZelExpression.Test: ") + (expected ? "-1" : "0") + " <> " + expr);
}

void TZelExpression::Test(const std::string& expr, TCplx expected, bool allowNanInf) {
  CheckFinite(Finite(expected), allowNanInf, expr);
  ClearExpressions();
  AddExpr(expr);
  if (!Near(EvaluateComplex(), expected))
    ERaise("TZelExpression.Test: " + CplxToStr(expected, 0, 15) + " <> " + expr);
}

void TZelExpression::TestVec(const std::string& expr, const TVec& expected, bool allowNanInf) {
  CheckFinite(expected, allowNanInf, expr);
  ClearExpressions();
  AddExpr(expr);
  if (!SameValues(EvaluateVector(), expected)) {
    std::vector<std::string> lines;
    expected.ValuesToStrings(lines, ", ");
    std::string text;
    for (const std::string& l : lines) text += (text.empty() ? "" : ", ") + l;
    ERaise("TZelExpression.Test: " + text + " <> " + expr);
  }
}

void TZelExpression::TestVec(const std::string& expr, const std::vector<double>& expected, bool allowNanInf) {
  TVec v;
  VectorOf(expected, v);
  CheckFinite(v, allowNanInf, expr);
  ClearExpressions();
  AddExpr(expr);
  if (!SameValues(EvaluateVector(), v)) ERaise("result <> " + expr);
}

void TZelExpression::TestVecInt(const std::string& expr, const std::vector<int>& expected) {
  ClearExpressions();
  AddExpr(expr);
  const TVecInt& got = EvaluateVectorInt();
  if (got.IntPrecision() != FTestIntPrecision || !SameValues(got, expected)) ERaise("result <> " + expr);
}

void TZelExpression::TestZel(const std::string& expr, const TZel& expected, bool allowNanInf) {
  CheckFinite(expected, allowNanInf, expr);
  ClearExpressions();
  AddExpr(expr);
  const TZel& got = EvaluateMatrix();
  if (got.Rows() != expected.Rows() || got.Cols() != expected.Cols() || !SameValues(got, expected))
    ERaise("result <> " + expr);
}

void TZelExpression::TestZel(const std::string& expr, const std::vector<double>& expected, bool allowNanInf) {
  TVec v;
  VectorOf(expected, v);
  CheckFinite(v, allowNanInf, expr);
  ClearExpressions();
  AddExpr(expr);
  const TZel& got = EvaluateMatrix();
  TVec flat;
  flat.Copy(got);
  if (!SameValues(flat, v)) ERaise("result <> " + expr);
}

void TZelExpression::TestZelInt(const std::string& expr, const std::vector<int>& expected) {
  ClearExpressions();
  AddExpr(expr);
  const TZelInt& got = EvaluateMatrixInt();
  if (got.IntPrecision() != FTestIntPrecision || !SameValues(got, expected)) ERaise("result <> " + expr);
}

void TZelExpression::NegativeTest(const std::string& expr) {
  bool failed = false;
  try {
    ClearExpressions();
    AddExpr(expr);
    Evaluate();
  } catch (const std::exception&) {
    failed = true;
  }
  if (!failed) throw std::runtime_error("Negative test failed for: " + expr);
}

void TZelExpression::SelfTest() {
  TestSelectAssign();
  if (TWordList::OnTestProbabilities()) TWordList::OnTestProbabilities()(this);
  ClearAll();
}

}  // namespace zel
