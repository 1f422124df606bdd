// Two-argument and two-output functions: registration details, result types over every pair of argument
// types, values at the reference points of reference/binary_functions.inc (NumPy) for scalars and,
// element by element, for vectors and matrices, and the function-specific messages.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "binary_refs.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library_helper.h"

namespace zel::test {
namespace {

using namespace refs;

// The words of the 2-argument cplx (cplx, Cplx), which the element-wise family registers as an overload.
TExprWord* CplxWord(bool twin) {
  static const TFunctionEntry row[] = {
      {"cplx", "Cplx", MakeComplex, 2, "cplx(re,im): make complex value (re+im*I)"}};
  static TWordList words;
  static const int index = RegisterFunctions(words, row);
  return words[twin ? index + 1 : index];
}

TExprWord* Word(const std::string& name) {
  if (name == "cplx" || name == "Cplx") return CplxWord(name == "Cplx");
  return Functions::Get().Word(name);
}

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

// What differs from the default rules: twin help texts that are not the lower-case text respelled,
// aliases, output arguments, varying words, names with one spelling.
TEST(BinaryFunctions, Registration) {
  const struct {
    const char* name;
    int slot;
    const char* help;
  } cases[] = {
      {"LogN", 2, "LogN(x,n): logarithm of 'x' base of 'n'"},
      {"Intpow", 2, "IntPow(x,n): x^n"},
      {"IntPower", 2, "IntPower(x,n): x^n"},
      {"ArcTan2", 2, "ArcTan(x,y): tangens defined as 'x'/'y'"},
      {"SinhCosh", 3, "(aSinh, aCosh) = SinhCosh(x): computes sin(x) and cos(x)"},
      {"RemDiv", 4,
       "(qoutient, reminder) = RemDiv(x, y): returns qoutient and reminder of integer division 'x/y'"},
      {"CartToPolar", 3,
       "(amplt, phase) = CartToPolar(x): converts cartesian coordinate to polar coordinate"},
      {"PolarToCart", 2, "x = PolarToCart(amplt, phase): converts polar coordinate to cartesian coordinate"},
      {"RandG", 2,
       "RandG(): random value with Gaussian distribution with standard params - Mean = 0, StdDev = 1"},
      {"Undefine", 0, "undefine(x,...): releases memory and type of variables specified as params"},
      {"Cplx", 2, "Cplx(re,im): make complex value (re+im*I)"},
  };
  for (const auto& c : cases) EXPECT_EQ(Word(c.name)->HelpAt(c.slot), c.help) << c.name;
  const Functions& f = Functions::Get();
  EXPECT_EQ(f.Word("pow")->FuncAt(2), f.Word("power")->FuncAt(2));
  EXPECT_EQ(f.Word("power")->FuncAt(2), f.Word("^")->FuncAt(2));  // the operators' routines
  EXPECT_EQ(f.Word("Intpow")->FuncAt(2), f.Word("intpower")->FuncAt(2));
  EXPECT_EQ(f.Word("RandG")->FuncAt(2), f.Word("randomg")->FuncAt(0));
  for (const char* name : {"sincos", "SinhCosh", "carttopolar", "RemDiv"})
    EXPECT_EQ(f.Word(name)->NResultArg(), 2);
  for (const char* name : {"Random", "randomg", "randg"})
    EXPECT_EQ(f.Word(name)->LexemeType(), ltVaryingFunction);
  EXPECT_TRUE(f.Word("Undefine")->VariableArgCount());
  int index = 0;
  for (const char* name : {"Root", "isequal"}) EXPECT_FALSE(f.Words().Find(name, index)) << name;
}

// ---- result types over every pair of argument types --------------------------------------------------

constexpr TValueType D = vtDoubleValue, I = vtIntegerValue, C = vtComplexValue, V = vtVectorValue,
                     M = vtMatrixValue, R = vtRangeValue, IV = vtIntVectorValue, IM = vtIntMatrixValue,
                     B = vtBoolValue, BV = vtBoolVectorValue, BM = vtBoolMatrixValue;

// A result type for the listed combinations, or the message of a function-specific error.
struct Rule {
  std::vector<TValueType> left, right;
  TValueType result;
  const char* message = nullptr;
};

const char* const kArcTan2Complex = "ArcTan2: Argument can not be complex";
const char* const kCplxReal = "Cplx: real arguments was expected";

// Every pair of sample values: the listed outcome, or the unsupported-types message.
TEST(BinaryFunctions, ResultTypeOfEveryTypePair) {
  const char* const mixed =
      "ArcTan2: parameter type combination not supported. Both must be vector/matrix or double/integer";
  const struct {
    const char* name;
    std::vector<Rule> rules;
  } sweeps[] = {
      {"logN",
       {{{D, I}, {D, I}, D}, {{D, I}, {C}, C}, {{D, I}, {V}, V}, {{D, I}, {M}, M}, {{C}, {D, I, C}, C}}},
      {"arctan2",
       {{{D, I}, {D, I}, D},
        {{V}, {V}, V},
        {{V, M}, {M}, M},
        {{M}, {V}, M},
        {{C}, {D, I, C, V, M}, D, kArcTan2Complex},
        {{D, I, V, M}, {C}, D, kArcTan2Complex},
        {{D, I}, {V, M}, D, mixed},
        {{V, M}, {D, I}, D, mixed}}},
      {"pythag",
       {{{D, I}, {D, I}, D},
        {{D, I, C}, {C}, C},
        {{C}, {D, I}, C},
        {{D, I, C, V}, {V}, V},
        {{V}, {D, I, C}, V},
        {{D, I, C, V, M}, {M}, M},
        {{M}, {D, I, C, V}, M}}},
      {"polartocart", {{{D, I}, {D, I}, C}, {{V}, {V}, V}, {{V, M}, {M}, M}, {{M}, {V}, M}}},
      {"cplx",
       {{{D, I}, {D, I}, C},
        {{V}, {V}, V},
        {{M}, {M}, M},
        {{C}, {D, I, C, V, M}, D, kCplxReal},
        {{D, I, V, M}, {C}, D, kCplxReal}}},
      {"threshbottom",
       {{{D}, {D, I}, D},
        {{C}, {D, I}, C},
        {{V}, {D, I}, V},
        {{M}, {D, I}, M},
        {{I}, {I}, I},
        {{IV}, {I}, IV},
        {{IM}, {I}, IM},
        {{C}, {C}, D, "Function ThreshBottom second parameter (level) may not be complex "}}},
      {"ThreshTop",
       {{{D}, {D, I}, D},
        {{C}, {D, I}, C},
        {{V}, {D, I}, V},
        {{M}, {D, I}, M},
        {{I}, {I}, I},
        {{IV}, {I}, IV},
        {{IM}, {I}, IM},
        {{C}, {C}, D, "Function ThreshTop second parameter (level) may not be complex "}}},
      {"gcd",
       {{{I}, {I}, I}, {{I, IV}, {IV}, IV}, {{IV}, {I}, IV}, {{I, IV, IM}, {IM}, IM}, {{IM}, {I, IV}, IM}}},
      {"IsEqual",
       {{{D, C, V, M}, {D, C, V, I, M}, B},
        {{I}, {D, C, V, I, IV, IM, M}, B},
        {{IV, IM}, {I, IV, IM}, B},
        {{R}, {R}, B},
        {{B, BV, BM}, {B, BV, BM}, B}}},
  };
  for (const auto& s : sweeps) {
    std::map<std::pair<int, int>, const Rule*> rules;
    for (const Rule& r : s.rules)
      for (TValueType l : r.left)
        for (TValueType rt : r.right) rules.emplace(std::make_pair(l, rt), &r);
    for (int l = 0; l < ValueTypeCount; ++l) {
      for (int r = 0; r < ValueTypeCount; ++r) {
        Val a = Sample(static_cast<TValueType>(l)), b = Sample(static_cast<TValueType>(r));
        const std::string types =
            std::string(ValTypeName(a->ValueType())) + ", " + ValTypeName(b->ValueType());
        NodeRunner run(Word(s.name), {a.get(), b.get()});
        const auto found = rules.find({l, r});
        if (found != rules.end() && !found->second->message) {
          EXPECT_EQ(run.EvalTwice().ValueType(), found->second->result) << s.name << "(" << types << ")";
          continue;
        }
        const std::string expected =
            found != rules.end() ? found->second->message
            : l == vtUndefined || r == vtUndefined
                ? UnknownExprWord
                : std::string("Unsupported value types: ") + s.name + " ( " + types + " )";
        EXPECT_EQ(MessageOf([&] { run.Eval(); }), expected) << s.name << "(" << types << ")";
      }
    }
  }
}

// ---- values ----------------------------------------------------------------------------------------

TEST(BinaryFunctions, ScalarValues) {
  for (const PairRef& c : kPairRefs) {
    Val x = Scalar(c.xKind, c.x), y = Scalar(c.yKind, c.y);
    NodeRunner run(Word(c.name), {x.get(), y.get()});
    TValueRec& r = run.EvalTwice();
    ExpectClose(r.ValueType() == C ? r.ComplexValue() : TCplx(r.DoubleValue()), c.expected, c.name);
  }
  for (const RootRef& c : kRootRefs) {
    Val x = Cplx(c.x.real(), c.x.imag()), k = Int(c.k), n = Int(c.n);
    NodeRunner run(Word("root"), {x.get(), k.get(), n.get()});
    ExpectClose(run.EvalTwice().ComplexValue(), c.expected, "root");
  }
}

// A vector or matrix holding the given values.
Val Array(const std::vector<double>& v, bool matrix) {
  Val r = matrix ? Mat(1, 1, {0}) : Vec({});
  TNubraVec& x = r->RealElements();
  x.SizeShape(1, static_cast<int>(v.size()), false);
  for (size_t i = 0; i < v.size(); ++i) x.Values(static_cast<int>(i)) = v[i];
  return r;
}

// The real reference pairs of a function, evaluated at once as arrays, give the reference values element
// by element.
TEST(BinaryFunctions, ArraysElementByElement) {
  for (const char* name : {"arctan2", "pythag", "polartocart", "cplx"}) {
    std::vector<double> xs, ys;
    std::vector<TCplx> expected;
    for (const PairRef& c : kPairRefs)
      if (c.xKind != 'c' && c.yKind != 'c' && c.name == std::string(name)) {
        xs.push_back(c.x.real());
        ys.push_back(c.y.real());
        expected.push_back(c.expected);
      }
    ASSERT_GE(xs.size(), 2u) << name;
    const bool sameKind = name == std::string("cplx");  // cplx takes two vectors or two matrices
    Val vx = Array(xs, false), vy = Array(ys, false), mx = Array(xs, true), my = Array(ys, true);
    for (auto [x, y] : {std::pair{vx.get(), vy.get()}, {sameKind ? mx.get() : vx.get(), my.get()}}) {
      NodeRunner run(Word(name), {x, y});
      TValueRec& res = run.EvalTwice();
      EXPECT_EQ(res.ValueType(), y->ValueType()) << name;
      const TNubraVec& r = res.RealElements();
      ASSERT_EQ(r.Length(), static_cast<int>(xs.size())) << name;
      for (int i = 0; i < r.Length(); ++i)
        ExpectClose(r.Complex() ? r.CValues(i) : TCplx(r.Values(i)), expected[static_cast<size_t>(i)], name);
    }
  }
  // A scalar meets every element: logN of 8 to the bases 2, 8, -2; pythag of a matrix and 4.
  Val eight = Dbl(8), bases = Vec({2, 8, -2}), four = Int(4), sides = Mat(1, 2, {3, -3});
  NodeRunner logN(Word("logN"), {eight.get(), bases.get()});
  const TVec& l = logN.EvalTwice().VectorValue();
  EXPECT_EQ(l.Values(1), 1);
  EXPECT_TRUE(std::isnan(l.Values(2)));
  NodeRunner pythag(Word("pythag"), {sides.get(), four.get()});
  EXPECT_EQ(Snap(pythag.EvalTwice()), (Snapshot{M, 1, 2, false, prInt32, {5, 5}, {}}));
  // root of a real vector: the complex vector of the k-th roots.
  Val v = Vec({-8, 8}), k = Int(1), n = Int(3);
  NodeRunner roots(Word("root"), {v.get(), k.get(), n.get()});
  const TVec& r = roots.EvalTwice().VectorValue();
  ASSERT_TRUE(r.Complex());
  ExpectClose(r.CValues(0), kRootRefs[0].expected, "root of a vector");
}

TEST(BinaryFunctions, Messages) {
  Val two = Vec({1, 2}), three = Vec({1, 2, 3}), cv = CVec({{1, 1}, {2, 0}}), x = Dbl(2), k = Dbl(1),
      n = Int(3), range = Range({1, 3});
  const struct {
    const char* name;
    std::vector<TValueRec*> args;
    const char* message;
  } cases[] = {
      {"arctan2", {two.get(), three.get()}, "ArcTan2: operand lengths differ (2 and 3)"},
      {"arctan2", {cv.get(), two.get()}, kArcTan2Complex},
      {"cplx", {two.get(), cv.get()}, kCplxReal},
      {"polartocart", {cv.get(), two.get()}, "PolarToCart: Argument can not be complex"},
      {"root", {x.get(), k.get(), n.get()}, "root: second and third parameters K and N must be integers"},
      {"root", {range.get(), n.get(), n.get()}, "Unsupported value types: root ( range, integer, integer )"},
  };
  for (const auto& c : cases) {
    NodeRunner run(Word(c.name), c.args);
    EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.name;
  }
}

// ---- two outputs -----------------------------------------------------------------------------------

TEST(TwoOutputFunctions, ScalarValues) {
  for (const OutputRef& c : kOutputRefs) {
    Val x = Scalar(c.xKind, c.x), first = Undef(), second = Undef();
    NodeRunner run(Word(c.name), {x.get(), first.get(), second.get()});
    TValueRec& r = run.EvalTwice();
    ASSERT_EQ(first->ValueType(), D) << c.name;
    ExpectClose(first->DoubleValue(), c.first, c.name);
    ExpectClose(second->DoubleValue(), c.second, c.name);
    EXPECT_EQ(r.DoubleValue(), first->DoubleValue()) << c.name;
  }
}

// Vector and matrix arguments: outputs of x's type and size, the result refers to the first output's
// object, values as the scalar references.
TEST(TwoOutputFunctions, Arrays) {
  Val v = Vec({0, 1, -2.5}), m = Mat(2, 1, {3, -1}), cv = CVec({{3, 4}, {-1, -1}});
  for (const char* name : {"sincos", "sinhcosh", "carttopolar"}) {
    for (TValueRec* x : {v.get(), m.get(), cv.get()}) {
      Val first = Undef(), second = Undef();
      NodeRunner run(Word(name), {x, first.get(), second.get()});
      TValueRec& r = run.EvalTwice();
      EXPECT_EQ(&r.RealElements(), &first->RealElements()) << name;
      const Snapshot in = Snap(*x), out = Snap(*second);
      EXPECT_EQ(std::tie(out.type, out.rows, out.cols), std::tie(in.type, in.rows, in.cols)) << name;
      EXPECT_EQ(out.complex, name != std::string("carttopolar") && x == cv.get()) << name;
    }
  }
  // Rows of kOutputRefs: sincos(1) and sincos(-2.5), carttopolar(3+4i) and carttopolar(-1-i).
  Val s = Undef(), c = Undef(), a = Undef(), p = Undef();
  NodeRunner sincos(Word("sincos"), {v.get(), s.get(), c.get()});
  sincos.EvalTwice();
  ExpectClose(s->VectorValue().Values(1), kOutputRefs[2].first, "sin");
  ExpectClose(c->VectorValue().Values(2), kOutputRefs[4].second, "cos");
  NodeRunner polar(Word("carttopolar"), {cv.get(), a.get(), p.get()});
  polar.EvalTwice();
  ExpectClose(a->VectorValue().Values(0), kOutputRefs[10].first, "amplitude");
  ExpectClose(p->VectorValue().Values(1), kOutputRefs[11].second, "phase");
}

}  // namespace
}  // namespace zel::test
