// Two-argument and two-output element-wise functions (see pairmath.h): the destination helpers of
// MapPairs, the thresholds of arrays and the functions that fill two outputs.
#include "core/pairmath.h"

#include "core/elemmath.h"
#include "core/errors.h"
#include "core/kernel_detail.h"

namespace zel {

namespace detail {

void RaiseComplexArgument(const char* who) { ERaise(Fmt("%s: Argument can not be complex", who)); }

void CheckPairLengths(const char* who, int a, int b) {
  if (a != b) ERaise(Fmt("%s: operand lengths differ (%d and %d)", who, a, b));
}

bool PairNeedsTemporary(const TNubraVec* a, const TNubraVec* b, const TNubraVec& dst, bool outComplex) {
  return MustBuffer(dst, a, a && a->Complex() == outComplex) ||
         MustBuffer(dst, b, b && b->Complex() == outComplex);
}

void SizePairResult(TNubraVec& dst, const TNubraVec* a, const TNubraVec* b, int n, bool complex) {
  SizeResult(dst, a, b, n, complex);
}

}  // namespace detail

namespace {

// Whether writing `out` could change x before it is read: out is x or shares its storage.
bool Overwrites(const TNubraVec& out, const TNubraVec& x) {
  return &out == &x || detail::SharesStorage(out, x);
}

// first = f(x), second = g(x). An output that overwrites x is written last, so the other still reads
// x; when both do, the first goes through a temporary.
template <class F, class G>
void MapTwo(const TNubraVec& x, TNubraVec& first, TNubraVec& second, F f, G g) {
  const bool firstHits = Overwrites(first, x);
  const bool secondHits = Overwrites(second, x);
  if (firstHits && secondHits) {
    const auto through = [&](auto&& t) {
      MapElements(x, t, f);
      MapElements(x, second, g);
      first.Copy(t);
    };
    if (first.IsMatrix()) {
      through(TZel());
    } else {
      through(TVec());
    }
  } else if (firstHits) {
    MapElements(x, second, g);
    MapElements(x, first, f);
  } else {
    MapElements(x, first, f);
    MapElements(x, second, g);
  }
}

constexpr auto kSinh = [](auto x) { return std::sinh(x); };
constexpr auto kCosh = [](auto x) { return std::cosh(x); };
// The phase of a real is that of x + 0i: 0 for x >= +0, pi for x <= -0.
constexpr auto kPhase = [](auto x) {
  if constexpr (std::is_same_v<decltype(x), double>) {
    return std::atan2(0.0, x);
  } else {
    return std::arg(x);
  }
};

}  // namespace

void ThreshBottom(const TNubraVec& x, double level, TNubraVec& dst) {
  MapElements(x, dst, [level](auto v) { return ThreshBottom(v, level); });
}

void ThreshTop(const TNubraVec& x, double level, TNubraVec& dst) {
  MapElements(x, dst, [level](auto v) { return ThreshTop(v, level); });
}

void SinCos(const TNubraVec& x, TNubraVec& sin, TNubraVec& cos) { MapTwo(x, sin, cos, elem::Sin, elem::Cos); }

void SinhCosh(const TNubraVec& x, TNubraVec& sinh, TNubraVec& cosh) { MapTwo(x, sinh, cosh, kSinh, kCosh); }

void CartToPolar(const TNubraVec& x, TNubraVec& amplitude, TNubraVec& phase) {
  MapTwo(x, amplitude, phase, elem::Abs, kPhase);
}

}  // namespace zel
