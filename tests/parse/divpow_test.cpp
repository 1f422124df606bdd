// "/", "/.", "div", "\", "mod"/"%", "^", "intpower" and "'": result types of every type pair against the
// dispatch rules, values, integer division and remainder rules, right and back division as
// least-squares solves, their messages, and allocation-free re-evaluation.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

constexpr TValueType U = vtUndefined, D = vtDoubleValue, S = vtString, C = vtComplexValue, V = vtVectorValue,
                     I = vtIntegerValue, IV = vtIntVectorValue, IM = vtIntMatrixValue, M = vtMatrixValue;

// Evaluates a node of `word` twice (dispatch, then the stored typed routine). An exception gives its
// message and type vtUndefined.
std::pair<TValueType, std::string> Evaluate(TExprWord* word, TValueRec* a, TValueRec* b) {
  std::vector<TValueRec*> args{a};
  if (b) args.push_back(b);
  NodeRunner run(word, args);
  try {
    TValueRec& r = run.EvalTwice();
    return {r.ValueType(), r.AsString()};
  } catch (const std::exception& e) {
    return {vtUndefined, e.what()};
  }
}

struct Case {
  const char* op;
  Val a, b;
  TValueType type;  // U: an error with the message `text`
  std::string text;
};

template <std::size_t N>
void Check(const Case (&cases)[N], TExprWord* word = nullptr) {
  for (std::size_t i = 0; i < N; ++i) {
    const Case& c = cases[i];
    const auto [type, text] = Evaluate(word ? word : Operators::Get().Word(c.op), c.a.get(), c.b.get());
    EXPECT_EQ(text, c.text) << "case " << i << ": " << c.op;
    EXPECT_EQ(type, c.type) << "case " << i << ": " << c.op;
  }
}

// ---- result types of every type pair -----------------------------------------------------------------

// Operand kinds of the sweep: the value types, and "Re" for an extended range.
const std::vector<std::string> kKinds = {"U",  "D",  "R", "Re", "S",  "C", "V", "I",
                                         "IV", "IM", "B", "BV", "BM", "M", "X"};
const std::map<std::string, TValueType> kTypeOf = {{"U", U},
                                                   {"D", D},
                                                   {"R", vtRangeValue},
                                                   {"Re", vtRangeValue},
                                                   {"S", S},
                                                   {"C", C},
                                                   {"V", V},
                                                   {"I", I},
                                                   {"IV", IV},
                                                   {"IM", IM},
                                                   {"B", vtBoolValue},
                                                   {"BV", vtBoolVectorValue},
                                                   {"BM", vtBoolMatrixValue},
                                                   {"M", M},
                                                   {"X", vtCustomValue}};

Val SampleOf(const std::string& kind) { return kind == "Re" ? ExtRange({1, 3}) : Sample(kTypeOf.at(kind)); }

// Accepted pairs per left kind, "right:result ..."; "!" marks pairs the dispatch accepts and the
// routine refuses with "Unsupported operand combination".
using Rules = std::map<std::string, std::string>;

const Rules kDivRules = {
    {"D", "D:D I:D R:V Re:V V:V C:C M:!"},  {"R", "D:V R:IV Re:V C:V V:V I:IV IV:IV IM:! M:V"},
    {"Re", "D:V R:V Re:V C:V V:V I:V M:V"}, {"C", "D:C I:C C:C R:V Re:V V:V M:!"},
    {"V", "D:V I:V R:V Re:V V:V C:V M:V"},  {"I", "D:D R:IV Re:V C:C V:V I:D IV:IV IM:! M:!"},
    {"IV", "R:IV I:IV IV:IV IM:!"},         {"IM", "R:! I:IM IV:! IM:!"},
    {"M", "D:M I:M R:M Re:M V:M C:M M:M"},
};
const Rules kDivElemRules = {
    {"D", "D:D I:D R:V Re:V V:V C:C M:M"},
    {"R", "D:V R:IV Re:V C:V V:V I:IV IV:IV IM:IM M:M"},
    {"Re", "D:V R:V Re:V C:V V:V I:V M:M"},
    {"S", "S:!"},
    {"C", "D:C I:C C:C R:V Re:V V:V M:M"},
    {"V", "D:V I:V R:V Re:V V:V C:V M:M"},
    {"I", "D:D R:IV Re:V C:C V:V I:I IV:IV IM:IM M:M"},
    {"IV", "R:IV I:IV IV:IV IM:IM"},
    {"IM", "R:IM I:IM IV:IM IM:IM"},
    {"M", "D:M I:M R:M Re:M V:M C:M M:M"},
};
const Rules kDivIntRules = {
    {"R", "R:IV I:IV IV:IV IM:IM"},
    {"I", "R:IV I:I IV:IV IM:IM"},
    {"IV", "R:IV I:IV IV:IV IM:IM"},
    {"IM", "R:IM I:IM IV:IM IM:IM"},
};
const Rules kBackRules = {{"M", "V:V M:M"}};
const Rules kRemRules = {
    {"D", "D:D I:D C:C V:V M:M"}, {"C", "D:C I:C C:C V:V M:M"},
    {"V", "D:V I:V C:V V:V M:M"}, {"I", "D:D C:C V:V I:I IV:IV IM:IM M:M"},
    {"IV", "I:IV IV:IV IM:IM"},   {"IM", "I:IM IV:IM IM:IM"},
    {"M", "D:M I:M C:M V:M M:M"},
};
const Rules kPowerRules = {
    {"D", "D:D I:D C:C V:V M:M"}, {"I", "D:D I:D C:C V:V M:M"}, {"C", "D:C I:C C:C V:V M:M"},
    {"V", "D:V I:V C:V V:V M:M"}, {"M", "D:M I:M C:M V:M M:M"},
};

// The expected outcome of left op right: a result type, "!" or "" (rejected by the dispatch).
std::string Expected(const Rules& rules, const std::string& left, const std::string& right) {
  const auto row = rules.find(left);
  if (row == rules.end()) return "";
  std::istringstream entries(row->second);
  for (std::string entry; entries >> entry;) {
    const auto colon = entry.find(':');
    if (entry.substr(0, colon) == right) return entry.substr(colon + 1);
  }
  return "";
}

void Sweep(const char* op, const Rules& rules,
           const std::function<Val(const std::string&)>& sample = SampleOf) {
  for (const std::string& l : kKinds)
    for (const std::string& r : kKinds) {
      Val a = sample(l), b = sample(r);
      const auto [type, text] = Evaluate(Operators::Get().Word(op), a.get(), b.get());
      const std::string expected = Expected(rules, l, r);
      const std::string pair = std::string(op) + " " + l + " " + r;
      if (expected.empty()) {
        const std::string message = l == "U" || r == "U"
                                        ? std::string(UnknownExprWord)
                                        : Fmt("Unsupported value types: %s ( %s, %s )", op,
                                              ValTypeName(kTypeOf.at(l)), ValTypeName(kTypeOf.at(r)));
        EXPECT_EQ(text, message) << pair;
      } else if (expected == "!") {
        EXPECT_EQ(text, Fmt("Unsupported operand combination: (%s) %s (%s)", ValTypeName(kTypeOf.at(l)), op,
                            ValTypeName(kTypeOf.at(r))))
            << pair;
      } else {
        EXPECT_EQ(type, kTypeOf.at(expected)) << pair << ": " << text;
      }
    }
}

TEST(DivPowSweep, EveryTypePairFollowsTheRules) {
  Sweep("/", kDivRules);
  Sweep("/.", kDivElemRules);
  Sweep("div", kDivIntRules);
  Sweep("mod", kRemRules);
  Sweep("%", kRemRules);
  Sweep("^", kPowerRules);
  // Back division needs a square system: a 3 x 3 matrix with the 3-element sample vector.
  Sweep("\\", kBackRules, [](const std::string& k) {
    return k == "M" ? Mat(3, 3, {2, 0, 0, 0, 2, 0, 0, 0, 2}) : SampleOf(k);
  });
}

TEST(DivPowSweep, TransposeTypes) {
  const std::map<std::string, std::string> accepted = {{"D", "D"}, {"C", "C"},   {"V", "M"},  {"M", "M"},
                                                       {"I", "I"}, {"IV", "IM"}, {"IM", "IM"}};
  for (const std::string& k : kKinds) {
    Val a = SampleOf(k);
    const auto [type, text] = Evaluate(Operators::Get().Word("'"), a.get(), nullptr);
    const auto it = accepted.find(k);
    if (it != accepted.end()) {
      EXPECT_EQ(type, kTypeOf.at(it->second)) << k << ": " << text;
    } else if (k == "U") {
      EXPECT_EQ(text, UnknownExprWord);
    } else {
      EXPECT_EQ(text, Fmt("Unsupported value types: ' ( %s )", ValTypeName(kTypeOf.at(k)))) << k;
    }
  }
}

// ---- values ----------------------------------------------------------------------------------------

constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

TEST(DivisionOperators, ScalarsAndElementwise) {
  const Case cases[] = {
      {"/", Int(7), Int(2), D, "3.5"},
      {"/.", Int(7), Int(2), I, "3"},
      {"div", Int(7), Int(2), I, "3"},
      {"/.", Int(-7), Int(2), I, "-3"},
      {"div", Int(-7), Int(-2), I, "3"},
      {"/", Int(1), Int(0), D, "INF"},
      {"div", Int(1), Int(0), U, "Division by zero"},
      {"/.", Int(kMin64), Int(-1), U, "Integer overflow"},
      {"/", Dbl(1), Cplx(0, 1), C, "0-1i"},
      {"/", Dbl(1), Vec({2, 4}), V, "0.5; 0.25"},
      {"/", Vec({2, 4}), Int(2), V, "1; 2"},
      {"/", Vec({2, 4}), Cplx(0, 2), V, "0-1i; 0-2i"},
      {"/", Cplx(0, 2), Vec({1, 2}), V, "0+2i; 0+1i"},
      {"/", Vec({6, 8}), Vec({2, 4}), V, "3; 2"},
      {"/", Range({2, 4}), Dbl(2), V, "1; 1.5; 2"},
      {"/", Range({2, 4}), ExtRange({1, 3}), V, "2; 1.5; 1.33333333333333"},
      {"/", ExtRange({2, 4}), Int(2), V, "1; 1.5; 2"},
      {"/", Mat(2, 2, {2, 4, 6, 8}), Dbl(2), M, "1,2; 3,4"},
      {"/", Vec({1, 2}), Vec({1, 2, 3}), U, "Divide: operand lengths differ (2 and 3)"},
      {"/.", Mat(2, 3, {2, 4, 6, 8, 10, 12}), Mat(3, 2, {1, 2, 3, 4, 5, 6}), M, "2,2,2; 2,2,2"},
      {"/.", Vec({2, 4}), Mat(1, 2, {1, 2}), M, "2,2"},
      {"/.", Dbl(12), Mat(1, 2, {3, 4}), M, "4,3"},
      {"/", Dbl(1), Mat(1, 1, {1}), U, "Unsupported operand combination: (double) / (matrix)"},
      {"/", Str("a"), Str("b"), U, "Unsupported value types: / ( string, string )"},
      {"/.", Str("a"), Str("b"), U, "Unsupported operand combination: (string) /. (string)"},
  };
  Check(cases);
}

TEST(DivisionOperators, IntegerKinds) {
  const Case cases[] = {
      {"/", Range({2, 4}), Range({1, 3}), IV, "2; 1; 1"},
      {"/", Int(12), Range({1, 3}), IV, "12; 6; 4"},
      {"/", Int(12), IntVec({5, -5}), IV, "2; -2"},
      {"/", IntVec({7, -7}, prInt16), Int(2), IV, "3; -3"},
      {"/", IntMat(1, 2, {6, 9}), Int(3), IM, "2,3"},
      {"/", Int(1), IntMat(1, 1, {1}), U, "Unsupported operand combination: (integer) / (integer matrix)"},
      {"/", IntMat(1, 1, {1}), IntMat(1, 1, {1}), U,
       "Unsupported operand combination: (integer matrix) / (integer matrix)"},
      {"/.", Range({1, 3}), IntMat(1, 3, {1, 1, 1}), IM, "1,2,3"},
      {"/.", IntVec({1, 2}), IntVec({1, 0}), U, "Division by zero"},
      {"div", Range({4, 6}), IntVec({2, 2, 2}, prInt16), IV, "2; 2; 3"},
      {"div", IntMat(1, 2, {9, -9}), IntVec({2, 4}), IM, "4,-2"},
      {"div", Int(5), Range({0, 2}), U, "Division by zero"},
  };
  Check(cases);
}

TEST(DivisionOperators, RangeExpandsInTheOtherOperandsPrecision) {
  Val r = Range({1, 3}), iv = IntVec({1, 1, 1}, prInt16);
  NodeRunner run("div", {r.get(), iv.get()});
  EXPECT_EQ(run.EvalTwice().IntVectorValue().IntPrecision(), prInt16);
  EXPECT_EQ(r->IntVectorValue().IntPrecision(), prInt16);
}

// Checks p·q ≈ y for row-major p (rows × inner) and q (inner × y.size() / rows).
void ExpectProduct(const std::vector<double>& p, const std::vector<double>& q, int rows, int inner,
                   const std::vector<double>& y) {
  ASSERT_EQ(p.size(), static_cast<size_t>(rows * inner));
  const int cols = static_cast<int>(y.size()) / rows;
  ASSERT_EQ(q.size(), static_cast<size_t>(inner * cols));
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) {
      double sum = 0;
      for (int k = 0; k < inner; ++k) sum += p[i * inner + k] * q[k * cols + j];
      EXPECT_NEAR(sum, y[i * cols + j], 1e-12) << "row " << i << ", column " << j;
    }
}

TEST(DivisionOperators, RightDivisionSolvesXTimesMatrix) {
  const std::vector<double> a = {2, 1, 0, 3};
  {  // vector / matrix: the row x with x·A = y
    Val y = Vec({4, 7}), m = Mat(2, 2, {2, 1, 0, 3});
    NodeRunner run1("/", {y.get(), m.get()});
    TValueRec& r = run1.EvalTwice();
    ASSERT_EQ(r.ValueType(), V);
    ExpectProduct(Values(r.VectorValue()), a, 1, 2, {4, 7});
  }
  {  // a range on the left makes the result a vector although the dispatch names a matrix
    Val y = Range({1, 2}), m = Mat(2, 2, {2, 1, 0, 3});
    NodeRunner run("/", {y.get(), m.get()});
    TValueRec& r = run.EvalTwice();
    ASSERT_EQ(r.ValueType(), V);
    ExpectProduct(Values(r.VectorValue()), a, 1, 2, {1, 2});
  }
  {  // matrix / matrix: X·A = Y
    Val y = Mat(2, 2, {1, 0, 0, 1}), m = Mat(2, 2, {2, 1, 0, 3});
    NodeRunner run2("/", {y.get(), m.get()});
    TValueRec& r = run2.EvalTwice();
    ASSERT_EQ(r.ValueType(), M);
    ExpectProduct(Values(r.MatrixValue()), a, 2, 2, {1, 0, 0, 1});
  }
  {  // matrix / row vector: the column x with x·v = Y; least squares over each row
    Val y = Mat(2, 2, {1, 2, 3, 6}), v = Vec({1, 2});
    NodeRunner run3("/", {y.get(), v.get()});
    TValueRec& r = run3.EvalTwice();
    ASSERT_EQ(r.ValueType(), M);
    EXPECT_EQ(r.MatrixValue().Rows(), 2);
    EXPECT_EQ(r.MatrixValue().Cols(), 1);
    ExpectProduct(Values(r.MatrixValue()), {1, 2}, 2, 1, {1, 2, 3, 6});
  }
  {  // overdetermined: the least-squares row x with x·[1 1 1] ≈ (1 2 3) is 2
    Val y = Vec({1, 2, 3}), m = Mat(1, 3, {1, 1, 1});
    NodeRunner run4("/", {y.get(), m.get()});
    TValueRec& r = run4.EvalTwice();
    ASSERT_EQ(r.VectorValue().Length(), 1);
    EXPECT_NEAR(r.VectorValue().Values(0), 2, 1e-12);
  }
}

TEST(DivisionOperators, BackDivisionSolvesMatrixTimesX) {
  Val a = Mat(2, 2, {2, 1, 0, 3}), b = Vec({3, 5}), bm = Mat(2, 2, {3, 1, 5, 0});
  NodeRunner run5("\\", {a.get(), b.get()});
  TValueRec& x = run5.EvalTwice();
  ASSERT_EQ(x.ValueType(), V);
  ExpectProduct({2, 1, 0, 3}, Values(x.VectorValue()), 2, 2, {3, 5});
  NodeRunner run6("\\", {a.get(), bm.get()});
  TValueRec& xm = run6.EvalTwice();
  ASSERT_EQ(xm.ValueType(), M);
  ExpectProduct({2, 1, 0, 3}, Values(xm.MatrixValue()), 2, 2, {3, 1, 5, 0});
  // Complex right-hand side: A·x = (2+2i, 4i) with A = diag(2, 4).
  Val d = Mat(2, 2, {2, 0, 0, 4}), z = CVec({{2, 2}, {0, 4}});
  const std::vector<TCplx> sol = CValues(NodeRunner("\\", {d.get(), z.get()}).EvalTwice().VectorValue());
  ASSERT_EQ(sol.size(), 2u);
  EXPECT_NEAR(std::abs(sol[0] - TCplx(1, 1)), 0, 1e-12);
  EXPECT_NEAR(std::abs(sol[1] - TCplx(0, 1)), 0, 1e-12);
  Val c = Vec({1, 2, 3});
  EXPECT_EQ(Evaluate(Operators::Get().Word("\\"), a.get(), c.get()).second,
            "LQRSolve: the right-hand side has 3 rows but the system needs 2");
}

TEST(RemainderOperators, Values) {
  const Case cases[] = {
      {"mod", Int(7), Int(3), I, "1"},
      {"%", Int(-7), Int(3), I, "-1"},
      {"%", Int(7), Int(-3), I, "1"},
      {"%", Int(kMin64), Int(-1), I, "0"},
      {"%", Int(7), Int(0), U, "Division by zero"},
      {"mod", Dbl(7.5), Int(2), D, "1.5"},
      {"%", Int(7), Dbl(0), D, "NAN"},
      {"%", Cplx(5, 3), Int(2), C, "1+1i"},
      {"%", Vec({7, -8}), Int(3), V, "1; -2"},
      {"%", Int(10), Vec({3, 4}), V, "1; 2"},
      {"%", Vec({5}), Cplx(2, 0), V, "1+0i"},
      {"%", Mat(1, 2, {7, 8}), Vec({4, 5}), M, "3,3"},
      {"%", Vec({1, 2}), Vec({1, 2, 3}), U, "Rem: Arguments have differ length"},
      {"%", IntVec({7, -7}), Int(3), IV, "1; -1"},
      {"%", Int(7), IntMat(1, 2, {4, 5}), IM, "3,2"},
      {"%", IntVec({1, 2}), IntVec({1, 2, 3}), U, "Rem: Arguments have differ length"},
      {"%", IntVec({1}), IntVec({0}), U, "Division by zero"},
  };
  Check(cases);
}

TEST(PowerOperators, Values) {
  const Case cases[] = {
      {"^", Int(2), Int(3), D, "8"},
      {"^", Int(2), Int(-1), D, "0.5"},
      {"^", Dbl(-8), Dbl(1.0 / 3), D, "NAN"},
      {"^", Dbl(-2), Int(3), D, "-8"},
      {"^", Dbl(4), Dbl(0.5), D, "2"},
      {"^", Cplx(0, 1), Int(2), C, "-1+0i"},
      {"^", Cplx(1, 1), Dbl(2), C, "0+2i"},
      {"^", Dbl(2), Cplx(2, 0), C, "4+0i"},
      {"^", Vec({1, 2, 3}), Int(2), V, "1; 4; 9"},
      {"^", Vec({-1, 4}), Dbl(0.5), V, "NAN; 2"},
      {"^", Mat(1, 2, {2, 3}), Int(2), M, "4,9"},
      {"^", Dbl(2), Vec({1, 2}), V, "2; 4"},
      {"^", Int(2), Mat(1, 2, {1, 2}), M, "2,4"},
      {"^", Cplx(1, 1), Vec({2}), V, "0+2i"},
      {"^", Vec({2, 3}), Vec({2, 2}), V, "4; 9"},
      {"^", Vec({1, 2}), Mat(1, 2, {2, 2}), M, "1,4"},
      {"^", Vec({2}), Cplx(0, 0), V, "1+0i"},
      {"^", Vec({1, 2}), Vec({1}), U, "Power: operand lengths differ (2 and 1)"},
  };
  Check(cases);
}

TEST(PowerOperators, IntPowerThroughAFunctionWord) {
  TExprFunction word("intpower", _IntPower, 2, 1, "intpower(x, n): x to the integer power n");
  const Case cases[] = {
      {"intpower", Int(2), Int(10), D, "1024"},
      {"intpower", Dbl(-2), Int(-3), D, "-0.125"},
      {"intpower", Cplx(0, 1), Int(3), C, "0-1i"},
      {"intpower", Vec({1, 2}), Int(-1), V, "1; 0.5"},
      {"intpower", Mat(1, 2, {2, 3}), Int(3), M, "8,27"},
      {"intpower", Dbl(2), Dbl(2), U, "Unsupported value types: intpower ( double, double )"},
  };
  Check(cases, &word);
}

TEST(TransposeOperator, Values) {
  const Case cases[] = {
      {"'", Dbl(2.5), nullptr, D, "2.5"},
      {"'", Int(3), nullptr, I, "3"},
      {"'", Cplx(1, 2), nullptr, C, "1-2i"},
      {"'", Vec({1, 2, 3}), nullptr, M, "1; 2; 3"},
      {"'", CVec({{1, 1}, {2, -1}}), nullptr, M, "1-1i; 2+1i"},
      {"'", Mat(2, 3, {1, 2, 3, 4, 5, 6}), nullptr, M, "1,4; 2,5; 3,6"},
      {"'", CMat(1, 2, {{1, 1}, {0, -2}}), nullptr, M, "1-1i; 0+2i"},
      {"'", IntVec({1, 2}), nullptr, IM, "1; 2"},
      {"'", IntMat(2, 1, {1, 2}), nullptr, IM, "1,2"},
  };
  Check(cases);
  Val v = IntVec({5, 6}, prUInt8);
  EXPECT_EQ(NodeRunner("'", {v.get()}).EvalTwice().IntMatrixValue().IntPrecision(), prUInt8);
}

// ---- hot path --------------------------------------------------------------------------------------

TEST(DivPowHotPath, SecondEvaluationAllocatesNothing) {
  const struct {
    const char* op;
    Val a, b;
  } cases[] = {
      {"/", Vec({1, 2}), Dbl(2)},
      {"/", Range({1, 3}), Vec({1, 2, 3})},
      {"/", Vec({1, 2}), Mat(2, 2, {2, 1, 1, 3})},
      {"/", Range({1, 2}), Mat(2, 2, {2, 1, 1, 3})},
      {"/", Mat(2, 2, {1, 2, 3, 4}), Vec({1, 2})},
      {"/", Mat(2, 2, {1, 2, 3, 4}), CMat(2, 2, {{1, 1}, 0, 0, 2})},
      {"/.", Mat(1, 2, {1, 2}), Vec({1, 2})},
      {"/.", IntVec({4, 6}), Range({1, 2})},
      {"div", Int(6), IntMat(1, 2, {1, 2})},
      {"\\", Mat(2, 2, {2, 1, 1, 3}), Vec({1, 2})},
      {"\\", CMat(2, 2, {2, 1, 1, 3}), Mat(2, 2, {1, 2, 3, 4})},
      {"mod", Vec({7, 8}), Vec({3, 3})},
      {"%", IntVec({7, 8}, prInt16), Int(3)},
      {"^", Mat(2, 2, {1, 2, 3, 4}), Int(3)},
      {"^", Vec({1, 2}), Cplx(0, 1)},
      {"^", Dbl(2), Vec({1, 2})},
      {"'", Vec({1, 2}), nullptr},
      {"'", CMat(2, 3, {1, 2, 3, 4, 5, {6, 1}}), nullptr},
      {"'", IntMat(2, 3, {1, 2, 3, 4, 5, 6}), nullptr},
  };
  for (const auto& c : cases) {
    std::vector<TValueRec*> args{c.a.get()};
    if (c.b) args.push_back(c.b.get());
    NodeRunner run(c.op, args);
    run.Eval();
    const std::string first = run.Node().Res->AsString();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << c.op << " " << first;
    EXPECT_EQ(run.Node().Res->AsString(), first) << c.op;
  }
}

}  // namespace
}  // namespace zel::test
