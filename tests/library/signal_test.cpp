// Signal processing and polynomial functions: values at the reference points of
// reference/signal_functions.inc (NumPy, SciPy), round trips over odd and even sizes, the function-specific
// messages, and repeated evaluation without allocation (plans and working storage are reused).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "library_helper.h"
#include "script/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

struct SignalRef {
  const char* script;
  int rows, cols;
  bool complex, asSet;  // asSet: compared in sorted order (roots come in LAPACK's order)
  std::vector<double> values;
};

const SignalRef kRefs[] = {
#include "reference/signal_functions.inc"
};

// The values of a snapshot as complex numbers (real data with zero imaginary parts).
std::vector<TCplx> Numbers(const std::vector<double>& v, bool complex) {
  std::vector<TCplx> out;
  for (std::size_t i = 0; i < v.size(); i += complex ? 2 : 1)
    out.emplace_back(v[i], complex ? v[i + 1] : 0.0);
  return out;
}

void SortLexicographic(std::vector<TCplx>& v) {
  std::sort(v.begin(), v.end(), [](TCplx a, TCplx b) {
    return a.real() < b.real() || (a.real() == b.real() && a.imag() < b.imag());
  });
}

// Each element within 1e-12 of the expected one, relative to the largest expected magnitude.
void ExpectClose(std::vector<TCplx> got, std::vector<TCplx> expected, const std::string& what,
                 double tol = 1e-12) {
  ASSERT_EQ(got.size(), expected.size()) << what;
  double scale = 1;
  for (TCplx z : expected) scale = std::max(scale, std::abs(z));
  for (std::size_t i = 0; i < got.size(); ++i)
    EXPECT_LE(std::abs(got[i] - expected[i]), tol * scale) << what << " element " << i << ": " << got[i];
}

// The value of the script's last line.
Snapshot RunScript(TZelExpression& x, const std::string& script) {
  x.SetExpressions(script);
  return Snap(*x.Evaluate());
}

TEST(SignalFunctions, ReferenceValues) {
  for (const SignalRef& r : kRefs) {
    TZelExpression x;
    const Snapshot s = RunScript(x, r.script);
    EXPECT_EQ(std::tuple(s.rows, s.cols, s.complex), std::tuple(r.rows, r.cols, r.complex)) << r.script;
    std::vector<TCplx> got = Numbers(s.values, s.complex), expected = Numbers(r.values, r.complex);
    if (r.asSet) {
      SortLexicographic(got);
      SortLexicographic(expected);
    }
    ExpectClose(got, expected, r.script, r.asSet ? 1e-9 : 1e-12);
  }
}

// Each script must give back the host's x (a vector or matrix), for real and complex data of odd and even
// sizes: inverse transforms, polynomial round trips and b = a·q + r of deconv.
TEST(SignalFunctions, RoundTrips) {
  const auto fill = [](TNubraVec& v, bool complex) {
    for (int i = 0; i < v.Length(); ++i) {
      const TCplx z(std::sin(1.7 * i + 0.3) * 3, complex ? std::cos(2.3 * i) : 0.0);
      if (complex) {
        v.CValues(i) = z;
      } else {
        v.Values(i) = z.real();
      }
    }
  };
  const char* vectorScripts[] = {"ifft(fft(x))", "idct(dct(x))", "IDCT(Dct(x))",
                                 "deconv(x, [2, -1, 0.5], q, r)\nconvolve([2, -1, 0.5], q) + r"};
  const char* realScripts[] = {"iffttoreal(fft(x))", "real(hilbert(x))", "polycoeff(polyroots(x)) * x(0)"};
  const char* matrixScripts[] = {"ifft(fft(x))", "ifft2d(fft2d(x))", "idct(dct(x))"};
  for (const int n : {7, 8}) {
    for (const bool complex : {false, true}) {
      TVec v(n, complex);
      fill(v, complex);
      TZel m(n - 4, n - 1, complex);  // 3 x 6 and 4 x 7
      fill(m, complex);
      const auto check = [&](const char* script, TNubraVec& host, bool matrix) {
        TZelExpression x;
        if (matrix) {
          x.DefineMatrix("x", &m);
        } else {
          x.DefineVector("x", &v);
        }
        const Snapshot s = RunScript(x, script);
        const std::string what = std::string(script) + (complex ? " complex " : " real ") + std::to_string(n);
        ExpectClose(Numbers(s.values, s.complex), CValues(host), what, 1e-11);
      };
      for (const char* script : vectorScripts) check(script, v, false);
      for (const char* script : matrixScripts) check(script, m, true);
      if (!complex) {
        for (const char* script : realScripts) check(script, v, false);
        check("iffttoreal(fft(x))", m, true);
        check("ifft2dtoreal(fft2d(x))", m, true);
      }
    }
  }
}

// Integer running sums are exact in 64 bits, each element saturated to the precision.
TEST(SignalFunctions, IntegerRunningSums) {
  Val v = IntVec({2147483647, 1, -5}), m = IntMat(2, 2, {200, 1, 100, 2}, prUInt8);
  NodeRunner vector(Functions::Get().Word("cumsum"), {v.get()}),
      matrix(Functions::Get().Word("CumSum"), {m.get()});
  EXPECT_EQ(Snap(vector.EvalTwice()),
            (Snapshot{vtIntVectorValue, 1, 3, false, prInt32, {2147483647, 2147483647, 2147483643}, {}}));
  EXPECT_EQ(Snap(matrix.EvalTwice()),
            (Snapshot{vtIntMatrixValue, 2, 2, false, prUInt8, {200, 1, 255, 3}, {}}));
}

// The messages of the functions' own argument checks, and two unsupported-type errors that name every
// argument.
TEST(SignalFunctions, Messages) {
  const std::pair<const char*, const char*> cases[] = {
      {"crosscorr([1, 2], [3, 4], 5, 5, 3)", "CrossCorr: Fifth parameter must be in range [0..2]."},
      {"convolve([1, 2], [1, 2; 3, 4])", "Convolve requires both params to be either vector or matrix!"},
      {"Integrate([1, 2], 1)", "Integrate: first two params need to be vectors!"},
      {"polyeval(1, 2)", "polyeval: second parameter must be a vector!"},
      {"deconv([1, 2], 2, q, r)", "deconv: second parameter must be a vector!"},
      {"deconv([1, 2], [0, 1], q, r)", "DeConv: the divisor's first coefficient must not be zero"},
      {"hilbert([1, 2; 3, 4])", "Unsupported value types: hilbert ( matrix )"},
      {"CrossCorr([1], [2], 1.5, 0, 0)",
       "Unsupported value types: CrossCorr ( vector, vector, double, integer, integer )"},
  };
  for (const auto& [script, message] : cases) {
    TZelExpression x;
    EXPECT_EQ(MessageOf([&] { RunScript(x, script); }), message) << script;
  }
}

// A compiled node evaluated again reuses its result storage, the cached plan and the working storage.
TEST(SignalFunctions, RepeatedEvaluationDoesNotAllocate) {
  TVec real(1024), cplx(1000, true);
  real.Ramp(0.5, 0.25);
  cplx.Ramp(TCplx(1, 2), TCplx(0.5, -0.25));
  TZel matrix(6, 10);
  matrix.Ramp(1, 0.5);
  Val r(new TVectorValue(&real)), c(new TVectorValue(&cplx)), m(new TMatrixValue(&matrix)),
      lag = Int(5), norm = Int(2), coeff = Vec({1, -2, 0.5, 3, -1});
  const std::pair<const char*, std::vector<TValueRec*>> cases[] = {
      {"fft", {r.get()}},
      {"fft", {c.get()}},
      {"iffttoreal", {c.get()}},
      {"fft2d", {m.get()}},
      {"dct", {m.get()}},
      {"hilbert", {r.get()}},
      {"polyroots", {coeff.get()}},
      {"convolve", {r.get(), coeff.get()}},
      {"crosscorr", {r.get(), c.get(), lag.get(), lag.get(), norm.get()}},
  };
  for (const auto& [name, args] : cases) {
    NodeRunner run(Functions::Get().Word(name), args);
    run.Eval();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << name << " " << ValTypeName(args[0]->ValueType());
  }
}

}  // namespace
}  // namespace zel::test
