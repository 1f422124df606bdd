// Two-argument and two-output functions: help texts of every word, result types over every pair of
// argument types, values at known points (reference/binary_functions.inc, computed with NumPy) for
// scalars and, element by element, for vectors and matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <utility>

#include "binary_refs.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library_helper.h"

namespace zel::test {
namespace {

using namespace refs;

// The words of the 2-argument cplx, which the element-wise family registers as an overload: cplx, Cplx.
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
    return;
  }
  EXPECT_LE(std::abs(a - b), 1e-13 * std::max(1.0, std::abs(b)))
      << what << " gave " << a << ", expected " << b;
}

TCplx ValueOf(TValueRec& r) {
  return r.ValueType() == vtComplexValue ? r.ComplexValue() : TCplx(r.DoubleValue(), 0);
}

TEST(BinaryFunctions, HelpTexts) {
  const struct {
    const char* name;
    int slot;
    const char* help;
  } cases[] = {
      {"logN", 2, "logN(x,n): logarithm of 'x' base of 'n'"},
      {"LogN", 2, "LogN(x,n): logarithm of 'x' base of 'n'"},
      {"power", 2, "power(x,n): x^n"},
      {"Pow", 2, "Pow(x,n): x^n"},
      {"IntPower", 2, "IntPower(x,n): x^n"},
      {"intpow", 2, "intpow(x,n): x^n"},
      {"Intpow", 2, "IntPow(x,n): x^n"},
      {"rem", 2, "rem(x, y): reminder after division 'x/y'"},
      {"Rem", 2, "Rem(x, y): reminder after division 'x/y'"},
      {"arctan2", 2, "arctan(x,y): tangens defined as 'x'/'y'"},
      {"Pythag", 2, "Pythag(x,y): sqrt(x^2 + y^2)"},
      {"sincos", 3, "(aSin, aCos) = sincos(x): computes sin(x) and cos(x)"},
      {"SinCos", 3, "(aSin, aCos) = SinCos(x): computes sin(x) and cos(x)"},
      {"SinhCosh", 3, "(aSinh, aCosh) = SinhCosh(x): computes sin(x) and cos(x)"},
      {"ThreshBottom", 2, "ThreshBottom(x, Bottom): returns Bottom, if x < Bottom. Bottom must be a scalar."},
      {"threshtop", 2, "threshtop(x, Top): returns Top, if x > Top. Top must be a scalar."},
      {"Gcd", 2, "Gcd(x,y): greatest common divisor"},
      {"lcm", 2, "lcm(x,y): Smallest common multiplier"},
      {"RemDiv", 4,
       "(qoutient, reminder) = RemDiv(x, y): returns qoutient and reminder of integer division 'x/y'"},
      {"carttopolar", 3,
       "(amplt, phase) = carttopolar(x): converts cartesian coordinate to polar coordinate"},
      {"PolarToCart", 2, "x = PolarToCart(amplt, phase): converts polar coordinate to cartesian coordinate"},
      {"root", 3, "root(x,k,n): 'n' roots of 'x' by varying 'k' from [0..n-1]"},
      {"Random", 0, "Random(): random values from range -1..1"},
      {"RandomG", 0,
       "RandomG(): random value with Gaussian distribution with standard params - Mean = 0, StdDev = 1"},
      {"randg", 2,
       "randg(): random value with Gaussian distribution with standard params - Mean = 0, StdDev = 1"},
      {"Undefine", 0, "undefine(x,...): releases memory and type of variables specified as params"},
      {"IsEqual", 2,
       "IsEqual(a, b): Returns true, if all elements of a and b are equal. Matrix dimensions are not "
       "compared."},
      {"Cplx", 2, "Cplx(re,im): make complex value (re+im*I)"},
  };
  for (const auto& c : cases) {
    TExprWord* w = Word(c.name);
    EXPECT_EQ(w->HelpAt(c.slot), c.help) << c.name;
  }
  const Functions& f = Functions::Get();
  EXPECT_EQ(f.Word("pow")->FuncAt(2), f.Word("power")->FuncAt(2));
  EXPECT_EQ(f.Word("intpow")->FuncAt(2), f.Word("IntPower")->FuncAt(2));
  EXPECT_EQ(f.Word("randg")->FuncAt(2), f.Word("randomg")->FuncAt(0));
  for (const char* name : {"sincos", "sinhcosh", "carttopolar", "remdiv"})
    EXPECT_EQ(f.Word(name)->NResultArg(), 2);
  for (const char* name : {"random", "Random", "randomg", "randg"})
    EXPECT_EQ(f.Word(name)->LexemeType(), ltVaryingFunction) << name;
  EXPECT_TRUE(f.Word("undefine")->VariableArgCount());
  int index = 0;
  for (const char* name : {"Root", "isequal", "Isequal"}) EXPECT_FALSE(f.Words().Find(name, index)) << name;
}

// ---- result types over every pair of argument types --------------------------------------------------

constexpr TValueType D = vtDoubleValue, I = vtIntegerValue, C = vtComplexValue, V = vtVectorValue,
                     M = vtMatrixValue, R = vtRangeValue, IV = vtIntVectorValue, IM = vtIntMatrixValue,
                     B = vtBoolValue, BV = vtBoolVectorValue, BM = vtBoolMatrixValue;

// The outcome of a combination of argument types: a result type, or the message of a function-specific
// error.
struct Rule {
  std::vector<TValueType> left, right;
  TValueType result;
  const char* message = nullptr;
};

struct Sweep {
  const char* name;
  std::vector<Rule> rules;  // every other pair is refused with the unsupported-types message
};

const char* const kArcTan2Complex = "ArcTan2: Argument can not be complex";
const char* const kArcTan2Mixed =
    "ArcTan2: parameter type combination not supported. Both must be vector/matrix or double/integer";
const char* const kCplxReal = "Cplx: real arguments was expected";

TEST(BinaryFunctions, ResultTypeOfEveryTypePair) {
  const Sweep sweeps[] = {
      {"logN",
       {{{D, I}, {D, I}, D}, {{D, I}, {C}, C}, {{D, I}, {V}, V}, {{D, I}, {M}, M}, {{C}, {D, I, C}, C}}},
      {"arctan2",
       {{{D, I}, {D, I}, D},
        {{V}, {V}, V},
        {{V, M}, {M}, M},
        {{M}, {V}, M},
        {{C}, {D, I, C, V, M}, D, kArcTan2Complex},
        {{D, I, V, M}, {C}, D, kArcTan2Complex},
        {{D, I}, {V, M}, D, kArcTan2Mixed},
        {{V, M}, {D, I}, D, kArcTan2Mixed}}},
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
        {{C}, {C}, D, "Function ThreshBottom second parameter (level) may not be complex "},
        {{V}, {D, I}, V},
        {{M}, {D, I}, M},
        {{I}, {I}, I},
        {{IV}, {I}, IV},
        {{IM}, {I}, IM}}},
      {"ThreshTop",
       {{{C}, {C}, D, "Function ThreshTop second parameter (level) may not be complex "}, {{I}, {I}, I}}},
      {"gcd",
       {{{I}, {I}, I}, {{I, IV}, {IV}, IV}, {{IV}, {I}, IV}, {{I, IV, IM}, {IM}, IM}, {{IM}, {I, IV}, IM}}},
      {"IsEqual",
       {{{D, C, V, M}, {D, C, V, I, M}, B},
        {{I}, {D, C, V, I, IV, IM, M}, B},
        {{IV, IM}, {I, IV, IM}, B},
        {{R}, {R}, B},
        {{B, BV, BM}, {B, BV, BM}, B}}},
  };
  for (const Sweep& s : sweeps) {
    std::map<std::pair<int, int>, const Rule*> rules;
    for (const Rule& r : s.rules)
      for (TValueType l : r.left)
        for (TValueType rt : r.right) rules.emplace(std::make_pair(l, rt), &r);
    const bool partial = std::string(s.name) == "ThreshTop";  // spot checks of the twin only
    for (int l = 0; l < ValueTypeCount; ++l) {
      for (int r = 0; r < ValueTypeCount; ++r) {
        const auto found = rules.find({l, r});
        if (partial && found == rules.end()) continue;
        Val a = Sample(static_cast<TValueType>(l)), b = Sample(static_cast<TValueType>(r));
        NodeRunner run(Word(s.name), {a.get(), b.get()});
        const std::string what = std::string(s.name) + "(" + ValTypeName(a->ValueType()) + ", " +
                                 ValTypeName(b->ValueType()) + ")";
        if (found == rules.end() || found->second->message) {
          std::string expected = found != rules.end() ? found->second->message
                                 : l == vtUndefined || r == vtUndefined
                                     ? UnknownExprWord
                                     : std::string("Unsupported value types: ") + s.name + " ( " +
                                           ValTypeName(a->ValueType()) + ", " + ValTypeName(b->ValueType()) +
                                           " )";
          EXPECT_EQ(MessageOf([&] { run.Eval(); }), expected) << what;
        } else {
          EXPECT_EQ(run.EvalTwice().ValueType(), found->second->result) << what;
        }
      }
    }
  }
}

// ---- values ----------------------------------------------------------------------------------------

TEST(BinaryFunctions, ScalarValues) {
  for (const PairRef& c : kPairRefs) {
    Val x = Scalar(c.xKind, c.x), y = Scalar(c.yKind, c.y);
    NodeRunner run(Word(c.name), {x.get(), y.get()});
    ExpectClose(ValueOf(run.EvalTwice()), c.expected, c.name);
  }
  for (const RootRef& c : kRootRefs) {
    Val x = Cplx(c.x.real(), c.x.imag()), k = Int(c.k), n = Int(c.n);
    NodeRunner run(Word("root"), {x.get(), k.get(), n.get()});
    ExpectClose(run.EvalTwice().ComplexValue(), c.expected, "root");
  }
}

// The pairs with real operands of one function, evaluated at once as vectors (scalar with vector too) and
// as 1 x n matrices, give the reference values element by element.
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
    const int n = static_cast<int>(xs.size());
    const auto vec = [](const std::vector<double>& v) {
      Val r = Vec({});
      r->VectorValue().Size(static_cast<int>(v.size()));
      for (size_t i = 0; i < v.size(); ++i) r->VectorValue().Values(static_cast<int>(i)) = v[i];
      return r;
    };
    const auto mat = [n](const std::vector<double>& v) {
      Val r = Mat(1, 1, {0});
      r->MatrixValue().Size(1, n);
      for (int i = 0; i < n; ++i) r->MatrixValue().Values(i) = v[static_cast<size_t>(i)];
      return r;
    };
    Val vx = vec(xs), vy = vec(ys), mx = mat(xs), my = mat(ys);
    const bool sameKind = name == std::string("cplx");  // cplx takes two vectors or two matrices
    for (auto [x, y] : {std::pair{vx.get(), vy.get()}, {sameKind ? mx.get() : vx.get(), my.get()}}) {
      NodeRunner run(Word(name), {x, y});
      TNubraVec& r = run.EvalTwice().RealElements();
      ASSERT_EQ(r.Length(), n) << name;
      for (int i = 0; i < n; ++i) {
        const TCplx got = r.Complex() ? r.CValues(i) : TCplx(r.Values(i), 0);
        ExpectClose(got, expected[static_cast<size_t>(i)],
                    std::string(name) + " element " + std::to_string(i));
      }
    }
  }
  // logN takes arrays as the base only; a scalar with an array (pythag) maps every element too.
  Val eight = Dbl(8), bases = Vec({2, 8, -2}), four = Int(4), sides = Mat(1, 2, {3, -3});
  NodeRunner logN(Word("logN"), {eight.get(), bases.get()});
  EXPECT_EQ(Snap(logN.EvalTwice()).values.size(), 3u);
  EXPECT_EQ(logN.Node().Res->VectorValue().Values(1), 1);
  EXPECT_TRUE(std::isnan(logN.Node().Res->VectorValue().Values(2)));
  NodeRunner pythag(Word("pythag"), {sides.get(), four.get()});
  EXPECT_EQ(Snap(pythag.EvalTwice()), (Snapshot{M, 1, 2, false, prInt32, {5, 5}, {}}));
}

TEST(BinaryFunctions, ArrayMessages) {
  Val two = Vec({1, 2}), three = Vec({1, 2, 3}), complexVec = CVec({{1, 1}, {2, 0}});
  const struct {
    const char* name;
    TValueRec *x, *y;
    const char* message;
  } cases[] = {
      {"arctan2", two.get(), three.get(), "ArcTan2: operand lengths differ (2 and 3)"},
      {"arctan2", complexVec.get(), two.get(), kArcTan2Complex},
      {"cplx", two.get(), complexVec.get(), kCplxReal},
      {"polartocart", complexVec.get(), two.get(), "PolarToCart: Argument can not be complex"},
  };
  for (const auto& c : cases) {
    NodeRunner run(Word(c.name), {c.x, c.y});
    EXPECT_EQ(MessageOf([&] { run.Eval(); }), c.message) << c.name;
  }
  Val x = Dbl(2), k = Dbl(1), n = Int(3);
  NodeRunner root(Word("root"), {x.get(), k.get(), n.get()});
  EXPECT_EQ(MessageOf([&] { root.Eval(); }), "root: second and third parameters K and N must be integers");
  Val ints = Int(1), range = Range({1, 3});
  NodeRunner rootOfRange(Word("root"), {range.get(), ints.get(), n.get()});
  EXPECT_EQ(MessageOf([&] { rootOfRange.Eval(); }),
            "Unsupported value types: root ( range, integer, integer )");
  // root of a real vector: complex vector of the k-th roots.
  Val v = Vec({-8, 8});
  NodeRunner roots(Word("root"), {v.get(), ints.get(), n.get()});
  const TVec& r = roots.EvalTwice().VectorValue();
  ASSERT_TRUE(r.Complex());
  ExpectClose(r.CValues(0), kRootRefs[0].expected, "root of vector");
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

// Vector and matrix arguments: outputs of the same shape, the result refers to the first output's object.
TEST(TwoOutputFunctions, ArraysAndTheResultObject) {
  Val v = Vec({0, 1, -2.5}), m = Mat(2, 1, {3, -1}), cv = CVec({{3, 4}, {-1, -1}});
  for (const char* name : {"sincos", "sinhcosh", "carttopolar"}) {
    for (TValueRec* x : {v.get(), m.get(), cv.get()}) {
      Val first = Undef(), second = Undef();
      NodeRunner run(Word(name), {x, first.get(), second.get()});
      TValueRec& r = run.EvalTwice();
      ASSERT_EQ(first->ValueType(), x->ValueType()) << name;
      ASSERT_EQ(second->ValueType(), x->ValueType()) << name;
      EXPECT_EQ(&r.RealElements(), &first->RealElements()) << name;
      EXPECT_EQ(Snap(*second).rows, Snap(*x).rows);
      EXPECT_EQ(Snap(*second).cols, Snap(*x).cols);
      EXPECT_EQ(second->RealElements().Complex(), name != std::string("carttopolar") && x == cv.get());
    }
  }
  // Elements against the scalar references: x = 1 (sincos) and 3+4i, -1-i (carttopolar).
  Val s = Undef(), c = Undef();
  NodeRunner sincos(Word("sincos"), {v.get(), s.get(), c.get()});
  sincos.EvalTwice();
  ExpectClose(s->VectorValue().Values(1), kOutputRefs[2].first, "sin");
  ExpectClose(c->VectorValue().Values(2), kOutputRefs[4].second, "cos");
  Val a = Undef(), p = Undef();
  NodeRunner polar(Word("carttopolar"), {cv.get(), a.get(), p.get()});
  polar.EvalTwice();
  ExpectClose(a->VectorValue().Values(0), kOutputRefs[10].first, "amplitude");
  ExpectClose(p->VectorValue().Values(1), kOutputRefs[11].second, "phase");
}

}  // namespace
}  // namespace zel::test
