// "/", "/.", "div", "\", "mod"/"%", "^", "intpower" and "'": result types of every type pair against the
// dispatch rules, values and messages, and right and back division as least-squares solves.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/oper_helper.h"

namespace zel::test {
namespace {

constexpr TValueType U = vtUndefined, D = vtDoubleValue, R = vtRangeValue, S = vtString, C = vtComplexValue,
                     V = vtVectorValue, I = vtIntegerValue, IV = vtIntVectorValue, IM = vtIntMatrixValue,
                     B = vtBoolValue, BV = vtBoolVectorValue, BM = vtBoolMatrixValue, M = vtMatrixValue,
                     X = vtCustomValue;

// Evaluates a node of `word` twice (dispatch, then the stored typed routine); an exception gives its
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

// ---- result types of every type pair ---------------------------------------------------------------

// The operand kinds: the value types, with "Re" for an extended range.
const std::map<std::string, TValueType> kKinds = {{"U", U}, {"D", D},   {"R", R},   {"Re", R},  {"S", S},
                                                  {"C", C}, {"V", V},   {"I", I},   {"IV", IV}, {"IM", IM},
                                                  {"B", B}, {"BV", BV}, {"BM", BM}, {"M", M},   {"X", X}};

Val SampleOf(const std::string& kind) { return kind == "Re" ? ExtRange({1, 3}) : Sample(kKinds.at(kind)); }

// Accepted pairs per left kind as "right:result"; "!" marks pairs the dispatch accepts and the routine
// refuses with "Unsupported operand combination".
using Rules = std::map<std::string, std::string>;
const std::map<std::string, Rules> kRules = {
    {"/",
     {{"D", "D:D I:D R:V Re:V V:V C:C M:!"},
      {"R", "D:V R:IV Re:V C:V V:V I:IV IV:IV IM:! M:V"},
      {"Re", "D:V R:V Re:V C:V V:V I:V M:V"},
      {"C", "D:C I:C C:C R:V Re:V V:V M:!"},
      {"V", "D:V I:V R:V Re:V V:V C:V M:V"},
      {"I", "D:D R:IV Re:V C:C V:V I:D IV:IV IM:! M:!"},
      {"IV", "R:IV I:IV IV:IV IM:!"},
      {"IM", "R:! I:IM IV:! IM:!"},
      {"M", "D:M I:M R:M Re:M V:M C:M M:M"}}},
    {"/.",
     {{"D", "D:D I:D R:V Re:V V:V C:C M:M"},
      {"R", "D:V R:IV Re:V C:V V:V I:IV IV:IV IM:IM M:M"},
      {"Re", "D:V R:V Re:V C:V V:V I:V M:M"},
      {"S", "S:!"},
      {"C", "D:C I:C C:C R:V Re:V V:V M:M"},
      {"V", "D:V I:V R:V Re:V V:V C:V M:M"},
      {"I", "D:D R:IV Re:V C:C V:V I:I IV:IV IM:IM M:M"},
      {"IV", "R:IV I:IV IV:IV IM:IM"},
      {"IM", "R:IM I:IM IV:IM IM:IM"},
      {"M", "D:M I:M R:M Re:M V:M C:M M:M"}}},
    {"div",
     {{"R", "R:IV I:IV IV:IV IM:IM"},
      {"I", "R:IV I:I IV:IV IM:IM"},
      {"IV", "R:IV I:IV IV:IV IM:IM"},
      {"IM", "R:IM I:IM IV:IM IM:IM"}}},
    {"\\", {{"M", "V:V M:M"}}},
    {"%",
     {{"D", "D:D I:D C:C V:V M:M"},
      {"C", "D:C I:C C:C V:V M:M"},
      {"V", "D:V I:V C:V V:V M:M"},
      {"I", "D:D C:C V:V I:I IV:IV IM:IM M:M"},
      {"IV", "I:IV IV:IV IM:IM"},
      {"IM", "I:IM IV:IM IM:IM"},
      {"M", "D:M I:M C:M V:M M:M"}}},
    {"^",
     {{"D", "D:D I:D C:C V:V M:M"},
      {"I", "D:D I:D C:C V:V M:M"},
      {"C", "D:C I:C C:C V:V M:M"},
      {"V", "D:V I:V C:V V:V M:M"},
      {"M", "D:M I:M C:M V:M M:M"}}},
};

// The expected outcome of left op right: a result kind, "!", or "" when the dispatch rejects the pair.
std::string Expected(const Rules& rules, const std::string& left, const std::string& right) {
  const auto row = rules.find(left);
  std::istringstream entries(row == rules.end() ? "" : row->second);
  for (std::string entry; entries >> entry;)
    if (entry.substr(0, entry.find(':')) == right) return entry.substr(entry.find(':') + 1);
  return "";
}

TEST(DivPowSweep, EveryTypePairFollowsTheRules) {
  for (const auto& [op, rules] : kRules)
    for (const auto& [l, lt] : kKinds)
      for (const auto& [r, rt] : kKinds) {
        // Back division needs square systems: 3 x 3 matrices with the 3-element sample vector.
        const auto sample = [&op](const std::string& k) {
          return op == "\\" && k == "M" ? Mat(3, 3, {2, 0, 0, 0, 2, 0, 0, 0, 2}) : SampleOf(k);
        };
        Val a = sample(l), b = sample(r);
        const auto [type, text] = Evaluate(Operators::Get().Word(op), a.get(), b.get());
        const std::string expected = Expected(rules, l, r);
        const std::string pair = op + " " + l + " " + r;
        if (expected.empty()) {
          EXPECT_EQ(text, l == "U" || r == "U" ? std::string(UnknownExprWord)
                                               : Fmt("Unsupported value types: %s ( %s, %s )", op.c_str(),
                                                     ValTypeName(lt), ValTypeName(rt)))
              << pair;
        } else if (expected == "!") {
          EXPECT_EQ(text, Fmt("Unsupported operand combination: (%s) %s (%s)", ValTypeName(lt), op.c_str(),
                              ValTypeName(rt)))
              << pair;
        } else {
          EXPECT_EQ(type, kKinds.at(expected)) << pair << ": " << text;
        }
      }
  const Rules transpose = {{"D", "D"}, {"C", "C"},   {"V", "M"},  {"M", "M"},
                           {"I", "I"}, {"IV", "IM"}, {"IM", "IM"}};
  for (const auto& [k, t] : kKinds) {
    Val a = SampleOf(k);
    const auto [type, text] = Evaluate(Operators::Get().Word("'"), a.get(), nullptr);
    if (transpose.count(k)) {
      EXPECT_EQ(type, kKinds.at(transpose.at(k))) << k << ": " << text;
    } else {
      EXPECT_EQ(text, k == "U" ? UnknownExprWord : Fmt("Unsupported value types: ' ( %s )", ValTypeName(t)));
    }
  }
}

// ---- values ----------------------------------------------------------------------------------------

TEST(DivPowOperators, Values) {
  CheckCases({
      {"/", {"7", "2"}, "double 3.5"},
      {"/.", {"-7", "2"}, "integer -3"},
      {"div", {"7", "2"}, "integer 3"},
      {"div", {"1", "0"}, "Division by zero"},
      {"/.", {"-9223372036854775808", "-1"}, "Integer overflow"},
      {"/", {"1.0", "[2,4]"}, "vector 0.5; 0.25"},
      {"/", {"[2,4]", "0+2i"}, "vector 0-1i; 0-2i"},
      {"/", {"2:4", "~1:3"}, "vector 2; 1.5; 1.33333333333333"},
      {"/", {"[1,2]", "[1,2,3]"}, "Divide: operand lengths differ (2 and 3)"},
      {"/.", {"[2,4,6;8,10,12]", "[1,2;3,4;5,6]"}, "matrix 2,2,2; 2,2,2"},
      {"/", {"2:4", "1:3"}, "integer vector 2; 1; 1"},
      {"/", {"12", "i[5,-5]"}, "integer vector 2; -2"},
      {"/.", {"1:3", "i[1,1,1;]"}, "integer matrix 1,2,3"},
      {"div", {"i[9,-9;]", "i[2,4]"}, "integer matrix 4,-2"},
      {"div", {"5", "0:2"}, "Division by zero"},
      {"%", {"-7", "3"}, "integer -1"},
      {"%", {"7", "0"}, "Division by zero"},
      {"%", {"[7,8;]", "[4,5]"}, "matrix 3,3"},
      {"%", {"[1,2]", "[1,2,3]"}, "Rem: Arguments have differ length"},
      {"%", {"i[1,2]", "i[1,2,3]"}, "Rem: Arguments have differ length"},
      {"%", {"7", "i[4,5;]"}, "integer matrix 3,2"},
      {"^", {"2", "3"}, "double 8"},
      {"^", {"1+1i", "2.0"}, "complex 0+2i"},
      {"^", {"[-1,4]", "0.5"}, "vector NAN; 2"},
      {"^", {"[2,3;]", "-1"}, "matrix 0.5,0.333333333333333"},
      {"^", {"[1,2]", "[2,2;]"}, "matrix 1,4"},
      {"'", {"1+2i"}, "complex 1-2i"},
      {"'", {"[1+1i,2-1i]"}, "matrix 1-1i; 2+1i"},
      {"'", {"[1+1i,0-2i;]"}, "matrix 1-1i; 0+2i"},
  });
  TExprFunction intpower("intpower", _IntPower, 2, 1, "intpower(x, n): x to the integer power n");
  CheckCases({{"intpower", {"-2.0", "-3"}, "double -0.125"},
              {"intpower", {"0+1i", "2"}, "complex -1+0i"},
              {"intpower", {"2.0", "2.0"}, "Unsupported value types: intpower ( double, double )"}},
             &intpower);
  // A range meeting an integer array is expanded in that array's precision.
  Val r = Range({1, 3}), iv = IntVec({1, 1, 1}, prInt16);
  NodeRunner run("div", {r.get(), iv.get()});
  EXPECT_EQ(run.EvalTwice().IntVectorValue().IntPrecision(), prInt16);
}

// ---- solves ----------------------------------------------------------------------------------------

// Expects p·q ≈ y for row-major p (rows × inner) and q (inner × y.size() / rows).
void ExpectProduct(const std::vector<double>& p, const std::vector<double>& q, int rows,
                   const std::vector<double>& y) {
  const int inner = static_cast<int>(p.size()) / rows, cols = static_cast<int>(y.size()) / rows;
  ASSERT_EQ(q.size(), static_cast<size_t>(inner * cols));
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < cols; ++j) {
      double sum = 0;
      for (int k = 0; k < inner; ++k) sum += p[i * inner + k] * q[k * cols + j];
      EXPECT_NEAR(sum, y[i * cols + j], 1e-12) << "row " << i << ", column " << j;
    }
}

TEST(DivisionOperators, RightAndBackDivisionSolve) {
  const std::vector<double> a = {2, 1, 0, 3};  // not symmetric: a transposed solve would show
  const auto solve = [](const char* op, Val x, Val y, TValueType type) {
    NodeRunner run(op, {x.get(), y.get()});
    TValueRec& r = run.EvalTwice();
    EXPECT_EQ(r.ValueType(), type) << op;
    return Values(type == V ? static_cast<TNubraVec&>(r.VectorValue()) : r.MatrixValue());
  };
  ExpectProduct(solve("/", Vec({4, 7}), Mat(2, 2, {2, 1, 0, 3}), V), a, 1, {4, 7});  // x·A = y
  // A range on the left gives a vector although the dispatch names a matrix.
  ExpectProduct(solve("/", Range({1, 2}), Mat(2, 2, {2, 1, 0, 3}), V), a, 1, {1, 2});
  ExpectProduct(solve("/", Mat(2, 2, {1, 0, 0, 1}), Mat(2, 2, {2, 1, 0, 3}), M), a, 2, {1, 0, 0, 1});
  // Matrix / row vector: the column x with x·v = Y.
  ExpectProduct(solve("/", Mat(2, 2, {1, 2, 3, 6}), Vec({1, 2}), M), {1, 2}, 2, {1, 2, 3, 6});
  // Overdetermined: the least-squares x with x·[1 1 1] ≈ (1 2 3) is 2.
  EXPECT_NEAR(solve("/", Vec({1, 2, 3}), Mat(1, 3, {1, 1, 1}), V).at(0), 2, 1e-12);
  ExpectProduct(a, solve("\\", Mat(2, 2, {2, 1, 0, 3}), Vec({3, 5}), V), 2, {3, 5});  // A·x = b
  ExpectProduct(a, solve("\\", Mat(2, 2, {2, 1, 0, 3}), Mat(2, 2, {3, 1, 5, 0}), M), 2, {3, 1, 5, 0});
  Val m = Mat(2, 2, {2, 1, 0, 3}), b = Vec({1, 2, 3});
  EXPECT_EQ(Evaluate(Operators::Get().Word("\\"), m.get(), b.get()).second,
            "LQRSolve: the right-hand side has 3 rows but the system needs 2");
}

}  // namespace
}  // namespace zel::test
