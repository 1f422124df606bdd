// gcd, lcm, remdiv, thresholds, the random functions, undefine, IsEqual and ifthen: values at the
// reference points of reference/binary_functions.inc (NumPy), messages, script forms, seeded runs, and
// evaluation without allocation.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "binary_refs.h"
#include "core/random.h"
#include "library_helper.h"

namespace zel::test {
namespace {

using namespace refs;

TEST(IntegerFunctions, ReferenceValues) {
  for (const DivisorRef& c : kDivisorRefs)
    EXPECT_EQ(Fn(c.name, {std::to_string(c.x), std::to_string(c.y)}), "integer " + std::to_string(c.expected))
        << c.name << "(" << c.x << ", " << c.y << ")";
  for (const RemDivRef& c : kRemDivRefs) {
    const std::string q = "integer " + std::to_string(c.quotient);
    EXPECT_EQ(Fn("remdiv", {std::to_string(c.x), std::to_string(c.y), "?", "?"}),
              q + " | " + q + " | integer " + std::to_string(c.remainder));
  }
  for (const ThresholdRef& c : kThresholdRefs) {
    Val x = c.xKind == 'c' ? Cplx(c.x.real(), c.x.imag()) : Dbl(c.x.real()), level = Dbl(c.level);
    NodeRunner run(Functions::Get().Word(c.name), {x.get(), level.get()});
    TValueRec& r = run.EvalTwice();
    const TCplx got = r.ValueType() == vtComplexValue ? r.ComplexValue() : TCplx(r.DoubleValue());
    EXPECT_LE(std::abs(got - c.expected), 1e-14 * std::max(1.0, std::abs(c.expected))) << c.name << c.x;
  }
}

// Arrays (outputs of the larger shape, saturating precisions), thresholds of arrays and integers,
// IsEqual (dimensions and precisions are not compared, integers exactly), ifthen, and the messages.
TEST(IntegerFunctions, Cases) {
  const std::string differ = "If: The second and the third argument have different value types";
  CheckFunctions({
      {"gcd", {"-9223372036854775808", "0"}, "Integer overflow"},  // 2^63
      {"lcm", {"1099511627776", "1099511627775"}, "Integer overflow"},
      {"remdiv", {"1099511627776", "0", "?", "?"}, "Division by zero"},
      {"gcd", {"i[12,-4,0,7]", "i[18,6,0,13]"}, "integer vector 6; 2; 0; 1"},
      {"gcd", {"6", "i[12,-4,0,7]"}, "integer vector 6; 2; 6; 1"},
      {"lcm", {"i[12,-4,0,7]", "6"}, "integer vector 12; 12; 0; 42"},
      {"lcm", {"i[12,-4,0,7]", "i[18,6;0,13]"}, "integer matrix 36,12; 0,91"},
      {"lcm", {"u8[200,100]", "u8[3,7]"}, "integer vector 255; 255 (8-bit)"},  // 600 and 700 saturate
      {"remdiv",
       {"i[7,-7,9]", "i[2,2,-4;]", "?", "?"},
       "integer matrix 3,-3,-2 | integer matrix 3,-3,-2 | integer matrix 1,-1,1"},
      {"gcd",
       {"i[1,2,3]", "i[1,2]"},
       "Gcd: Source arguments have differ dimensions: Src1.Length = 3, Src2.Length = 2"},
      {"gcd",
       {"i[1,2,3;4,5,6]", "i[1,2;3,4;5,6]"},
       "Gcd: Source arguments have differ dimensions: Src1.Rows = 2, Src2.Rows = 3, Src1.Cols = 3, Src2.Cols "
       "= 2"},
      {"gcd",
       {"i[1,2,3]", "i16[1,2,3]"},
       "Gcd: Source arguments have differ integer precision: Src1.IntPrecision = prInt32, Src2.IntPrecision "
       "= "
       "prInt16"},
      {"lcm",
       {"i[1,2,3;4,5,6]", "i[1,2]"},
       "Lcm: Source arguments have differ dimensions: Src1.Length = 6, Src2.Length = 2"},
      {"threshbottom", {"[1,-2,nan]", "0"}, "vector 1; 0; NAN"},
      {"threshtop", {"[3+4i,0+0i;]", "2.0"}, "matrix 1.2+1.6i,0+0i"},  // 3+4i at modulus 2
      {"threshbottom", {"-3", "0"}, "integer 0"},
      {"threshtop", {"u8[-5,5,200]", "10"}, "integer vector 10; 5; 10 (8-bit)"},  // the 8-bit -5 is 251
      {"threshbottom", {"u8[-5,5,200]", "300"}, "integer vector 255; 255; 255 (8-bit)"},
      {"threshbottom", {"3", "0.5"}, "Unsupported value types: threshbottom ( integer, double )"},
      {"IsEqual", {"[1,2;3,4]", "[1,2,3,4]"}, "bool True"},
      {"IsEqual", {"[1,2]", "[1,2,3]"}, "bool False"},
      {"IsEqual", {"2", "[2,2]"}, "bool True"},
      {"IsEqual", {"1+0i", "1"}, "bool True"},
      {"IsEqual", {"nan", "nan"}, "bool False"},
      {"IsEqual", {"1:3", "1:3"}, "bool True"},
      {"IsEqual", {"~0:0.5:1", "~0:0.5:1"}, "bool True"},
      {"IsEqual", {"9007199254740993", "9007199254740992"}, "bool False"},
      {"IsEqual", {"b[1,1]", "true"}, "bool True"},
      {"IsEqual", {"i16[7,7]", "i[7;7]"}, "bool True"},
      {"IsEqual", {"i16[7,7]", "7"}, "bool True"},
      {"IsEqual", {"i[7,8]", "i[7;7]"}, "bool False"},
      {"ifthen", {"true", "1", "1"}, "double 1"},
      {"ifthen", {"0", "[1]", "[2,3]"}, "vector 2; 3"},
      {"ifthen", {"true", "1", "0.5"}, differ},
      {"ifthen", {"[1]", "1", "0.5"}, differ},
      {"ifthen", {"[1]", "1", "1"}, "If: The first argument can not be vector or matrix"},
  });
  // The outputs may be the operands themselves.
  Val u = IntVec({7, -7}), w = IntVec({2, 3});
  NodeRunner(Functions::Get().Word("remdiv"), {u.get(), w.get(), u.get(), w.get()}).Eval();
  EXPECT_EQ(Show(*u) + " | " + Show(*w), "integer vector 3; -2 | integer vector 1; -1");
}

TEST(Random, RangesAndMoments) {
  SetRandomSeed(20240611);
  NodeRunner uniform(Functions::Get().Word("random"), {}), gauss(Functions::Get().Word("randomg"), {});
  constexpr int n = 20000;
  double sumU = 0, sumG = 0, sumG2 = 0, lo = 1, hi = -1;
  for (int k = 0; k < n; ++k) {
    const double u = uniform.Eval().DoubleValue(), g = gauss.Eval().DoubleValue();
    lo = std::min(lo, u);
    hi = std::max(hi, u);
    sumU += u;
    sumG += g;
    sumG2 += g * g;
  }
  EXPECT_TRUE(lo >= -1 && lo < -0.99 && hi > 0.99 && hi < 1) << lo << " " << hi;
  EXPECT_NEAR(sumU / n, 0, 0.02);   // standard error 0.004
  EXPECT_NEAR(sumG / n, 0, 0.03);   // 0.007
  EXPECT_NEAR(sumG2 / n, 1, 0.05);  // 0.01
}

// The generator is std::mt19937_64: seeded with the standard's default 5489, its first output is
// 14514284786278117030, whose top 53 bits make random's first value.
TEST(Random, SeededRunsRepeat) {
  SetRandomSeed(5489);
  NodeRunner uniform(Functions::Get().Word("Random"), {});
  EXPECT_EQ(uniform.Eval().DoubleValue(),
            std::ldexp(static_cast<double>(14514284786278117030ull >> 11), -53) * 2 - 1);
  TZelExpression x;
  x.SetExpressions("a = random\r\nb = randg(1, 2)\r\nc = RandomG + a");
  const auto run = [&] {
    SetRandomSeed(7);
    x.EvaluateCompiled();
    return std::tuple(x.VarByName("a")->DoubleValue(), x.VarByName("b")->DoubleValue(),
                      x.VarByName("c")->DoubleValue());
  };
  const auto first = run();
  EXPECT_EQ(run(), first);
  EXPECT_NE(std::get<1>(first), std::get<2>(first) - std::get<0>(first));  // two draws, nothing folded
  EXPECT_EQ(Script("randg"), "No \"randg\" overload accepts 0 arguments!  ");
}

// undefine frees its variables for a new type; (s, c) = sincos(v) makes vectors, the line's value being s's.
TEST(Misc, ScriptForms) {
  TZelExpression x;
  x.Run("a = 1.5");
  x.Run("b = [1, 2]");
  EXPECT_EQ(Show(*x.Run("undefine(a, b)")), "bool True");
  EXPECT_EQ(x.VarByName("a")->ValueType(), vtUndefined);
  EXPECT_EQ(Show(*x.Run("b = 3")), "integer 3");
  x.Run("v = [0, 1, 2]");
  TValueRec* line = x.Run("(s, c) = sincos(v)");
  EXPECT_EQ(x.VarByName("c")->ValueType(), vtVectorValue);
  EXPECT_EQ(&line->VectorValue(), &x.VarByName("s")->VectorValue());
}

TEST(BinaryFunctions, SecondEvaluationDoesNotAllocate) {
  const std::pair<const char*, std::vector<std::string>> nodes[] = {
      {"logN", {"2.0", "[1,2,3]"}},      {"arctan2", {"[1,2,3]", "[4,5,6;]"}},
      {"pythag", {"[1,2,3]", "2.0"}},    {"polartocart", {"[4,5,6;]", "[1,2,3]"}},
      {"threshtop", {"[1,2,3]", "2.0"}}, {"gcd", {"i[4,6,8]", "i[6,9,2;]"}},
      {"lcm", {"1", "i[4,6,8]"}},        {"remdiv", {"i[4,6,8]", "i[6,9,2;]", "?", "?"}},
      {"sincos", {"[1,2,3]", "?", "?"}}, {"IsEqual", {"[1,2,3]", "[4,5,6;]"}},
      {"root", {"[1,2,3]", "1", "3"}},   {"random", {}},
  };
  for (const auto& [name, args] : nodes) EXPECT_EQ(SecondRunAllocations(name, args), 0u) << name;
}

}  // namespace
}  // namespace zel::test
