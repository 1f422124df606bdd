// Two-argument and two-output functions: result types over every pair of argument types, values at the
// reference points of reference/binary_functions.inc (NumPy) for scalars and, element by element, for
// vectors and matrices, and the function-specific messages.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>

#include "binary_refs.h"
#include "library_helper.h"

namespace zel::test {
namespace {

using namespace refs;

Val Scalar(char kind, TCplx v) {
  if (kind == 'i') return Int(static_cast<std::int64_t>(v.real()));
  if (kind == 'c') return Cplx(v.real(), v.imag());
  return Dbl(v.real());
}

// |a - b| small relative to the size of b; NaN matches NaN.
void ExpectClose(TCplx a, TCplx b, const std::string& what) {
  if (std::isnan(b.real())) {
    EXPECT_TRUE(std::isnan(a.real())) << what << " gave " << a;
  } else {
    EXPECT_LE(std::abs(a - b), 1e-13 * std::max(1.0, std::abs(b))) << what << " gave " << a << ", not " << b;
  }
}

const char* const kArcTan2Complex = "ArcTan2: Argument can not be complex";
const char* const kCplxReal = "Cplx: real arguments was expected";

// Every pair of sample values: the listed outcome, or the unsupported-types message. A rule is
// "LEFT:RIGHT=RESULT" with kinds separated by "/"; a result "!n" is the function's n-th message.
TEST(BinaryFunctions, ResultTypeOfEveryTypePair) {
  const std::map<std::string, TValueType> kinds = {
      {"D", vtDoubleValue}, {"I", vtIntegerValue},     {"C", vtComplexValue},    {"V", vtVectorValue},
      {"M", vtMatrixValue}, {"R", vtRangeValue},       {"IV", vtIntVectorValue}, {"IM", vtIntMatrixValue},
      {"B", vtBoolValue},   {"BV", vtBoolVectorValue}, {"BM", vtBoolMatrixValue}};
  const char* const mixed =
      "ArcTan2: parameter type combination not supported. Both must be vector/matrix or double/integer";
  const struct {
    const char* name;
    const char* rules;
    std::vector<std::string> messages;
  } sweeps[] = {
      {"logN", "D/I:D/I=D D/I:C=C D/I:V=V D/I:M=M C:D/I/C=C", {}},
      {"arctan2",
       "D/I:D/I=D V:V=V V/M:M=M M:V=M C:D/I/C/V/M=!0 D/I/V/M:C=!0 D/I:V/M=!1 V/M:D/I=!1",
       {kArcTan2Complex, mixed}},
      {"pythag", "D/I:D/I=D D/I/C:C=C C:D/I=C D/I/C/V:V=V V:D/I/C=V D/I/C/V/M:M=M M:D/I/C/V=M", {}},
      {"polartocart", "D/I:D/I=C V:V=V V/M:M=M M:V=M", {}},
      {"cplx", "D/I:D/I=C V:V=V M:M=M C:D/I/C/V/M=!0 D/I/V/M:C=!0", {kCplxReal}},
      {"threshbottom",
       "D:D/I=D C:D/I=C V:D/I=V M:D/I=M I:I=I IV:I=IV IM:I=IM C:C=!0",
       {"Function ThreshBottom second parameter (level) may not be complex "}},
      {"ThreshTop",
       "D:D/I=D C:D/I=C V:D/I=V M:D/I=M I:I=I IV:I=IV IM:I=IM C:C=!0",
       {"Function ThreshTop second parameter (level) may not be complex "}},
      {"gcd", "I:I=I I/IV:IV=IV IV:I=IV I/IV/IM:IM=IM IM:I/IV=IM", {}},
      {"IsEqual", "D/C/V/M:D/C/V/I/M=B I:D/C/V/I/IV/IM/M=B IV/IM:I/IV/IM=B R:R=B B/BV/BM:B/BV/BM=B", {}},
  };
  const auto split = [](const std::string& text, char at) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, at);) parts.push_back(part);
    return parts;
  };
  for (const auto& s : sweeps) {
    std::map<std::pair<int, int>, std::string> outcome;
    std::istringstream rules(s.rules);
    for (std::string rule; rules >> rule;) {
      const std::string sides = rule.substr(0, rule.find('=')), result = rule.substr(rule.find('=') + 1);
      for (const std::string& l : split(sides.substr(0, sides.find(':')), '/'))
        for (const std::string& r : split(sides.substr(sides.find(':') + 1), '/'))
          outcome.emplace(std::make_pair(kinds.at(l), kinds.at(r)), result);
    }
    for (int l = 0; l < ValueTypeCount; ++l) {
      for (int r = 0; r < ValueTypeCount; ++r) {
        Val a = Sample(static_cast<TValueType>(l)), b = Sample(static_cast<TValueType>(r));
        const std::string types =
            std::string(ValTypeName(a->ValueType())) + ", " + ValTypeName(b->ValueType());
        NodeRunner run(Functions::Get().Word(s.name), {a.get(), b.get()});
        const auto found = outcome.find({l, r});
        if (found != outcome.end() && found->second[0] != '!') {
          EXPECT_EQ(run.EvalTwice().ValueType(), kinds.at(found->second)) << s.name << "(" << types << ")";
          continue;
        }
        const std::string expected =
            found != outcome.end() ? s.messages.at(std::stoul(found->second.substr(1)))
            : l == vtUndefined || r == vtUndefined
                ? UnknownExprWord
                : std::string("Unsupported value types: ") + s.name + " ( " + types + " )";
        EXPECT_EQ(MessageOf([&] { run.Eval(); }), expected) << s.name << "(" << types << ")";
      }
    }
  }
}

TEST(BinaryFunctions, ScalarValues) {
  for (const PairRef& c : kPairRefs) {
    Val x = Scalar(c.xKind, c.x), y = Scalar(c.yKind, c.y);
    NodeRunner run(Functions::Get().Word(c.name), {x.get(), y.get()});
    TValueRec& r = run.EvalTwice();
    ExpectClose(r.ValueType() == vtComplexValue ? r.ComplexValue() : TCplx(r.DoubleValue()), c.expected,
                c.name);
  }
  for (const RootRef& c : kRootRefs) {
    Val x = Cplx(c.x.real(), c.x.imag()), k = Int(c.k), n = Int(c.n);
    NodeRunner run(Functions::Get().Word("root"), {x.get(), k.get(), n.get()});
    ExpectClose(run.EvalTwice().ComplexValue(), c.expected, "root");
  }
  for (const OutputRef& c : kOutputRefs) {
    Val x = Scalar(c.xKind, c.x), first = Undef(), second = Undef();
    NodeRunner run(Functions::Get().Word(c.name), {x.get(), first.get(), second.get()});
    TValueRec& r = run.EvalTwice();
    ASSERT_EQ(first->ValueType(), vtDoubleValue) << c.name;
    ExpectClose(first->DoubleValue(), c.first, c.name);
    ExpectClose(second->DoubleValue(), c.second, c.name);
    EXPECT_EQ(r.DoubleValue(), first->DoubleValue()) << c.name;
  }
}

// The real reference pairs of a function, evaluated at once as vectors (and matrices), give the reference
// values element by element; so does root over a vector.
TEST(BinaryFunctions, ArraysElementByElement) {
  const auto array = [](const std::vector<double>& v, bool matrix) {
    Val r = matrix ? Mat(1, 1, {0}) : Vec({});
    r->RealElements().SizeShape(1, static_cast<int>(v.size()), false);
    for (std::size_t i = 0; i < v.size(); ++i) r->RealElements().Values(static_cast<int>(i)) = v[i];
    return r;
  };
  for (const std::string name : {"arctan2", "pythag", "polartocart", "cplx"}) {
    std::vector<double> xs, ys;
    std::vector<TCplx> expected;
    for (const PairRef& c : kPairRefs) {
      if (c.xKind == 'c' || c.yKind == 'c' || c.name != name) continue;
      xs.push_back(c.x.real());
      ys.push_back(c.y.real());
      expected.push_back(c.expected);
    }
    Val vx = array(xs, false), vy = array(ys, false), mx = array(xs, true), my = array(ys, true);
    ASSERT_GE(expected.size(), 2u) << name;
    // cplx takes two vectors or two matrices; the others also a vector with a matrix.
    for (auto [x, y] : {std::pair{vx.get(), vy.get()}, {name == "cplx" ? mx.get() : vx.get(), my.get()}}) {
      NodeRunner run(Functions::Get().Word(name), {x, y});
      TValueRec& res = run.EvalTwice();
      EXPECT_EQ(res.ValueType(), y->ValueType()) << name;
      ASSERT_EQ(res.RealElements().Length(), static_cast<int>(expected.size())) << name;
      for (int i = 0; i < res.RealElements().Length(); ++i)
        ExpectClose(CValues(res.RealElements())[i], expected[i], name);
    }
  }
  Val v = Vec({-8, 8}), k = Int(1), n = Int(3);
  NodeRunner roots(Functions::Get().Word("root"), {v.get(), k.get(), n.get()});
  const TVec& r = roots.EvalTwice().VectorValue();
  ASSERT_TRUE(r.Complex());
  ExpectClose(r.CValues(0), kRootRefs[0].expected, "root of a vector");
}

// Scalars meeting arrays, the two outputs of arrays (of x's type and size), and the messages.
TEST(BinaryFunctions, Cases) {
  CheckFunctions({
      {"logN", {"8.0", "[2,8,-2]"}, "vector 3; 1; NAN"},
      {"pythag", {"[3,-3;]", "4"}, "matrix 5,5"},
      {"sincos", {"[0;0]", "?", "?"}, "matrix 0; 0 | matrix 0; 0 | matrix 1; 1"},
      {"sinhcosh", {"[0+0i]", "?", "?"}, "vector 0+0i | vector 0+0i | vector 1+0i"},
      {"carttopolar", {"[-3,2]", "?", "?"}, "vector 3; 2 | vector 3; 2 | vector 3.14159265358979; 0"},
      {"carttopolar",
       {"[3+4i,-1-1i]", "?", "?"},
       "vector 5; 1.4142135623731 | vector 5; 1.4142135623731 | vector 0.927295218001612; -2.35619449019234"},
      {"arctan2", {"[1,2]", "[1,2,3]"}, "ArcTan2: operand lengths differ (2 and 3)"},
      {"arctan2", {"[1+1i,2]", "[1,2]"}, kArcTan2Complex},
      {"cplx", {"[1,2]", "[1+1i,2]"}, kCplxReal},
      {"polartocart", {"[1+1i,2]", "[1,2]"}, "PolarToCart: Argument can not be complex"},
      {"root", {"2.0", "1.0", "3"}, "root: second and third parameters K and N must be integers"},
      {"root", {"1:3", "3", "3"}, "Unsupported value types: root ( range, integer, integer )"},
  });
}

}  // namespace
}  // namespace zel::test
