// Range indices resolved against an array length.
#include "lang/operators/index_range.h"

#include <climits>
#include <cmath>
#include <cstdlib>

#include "lang/values/valuerec.h"

namespace zel {

namespace {

// A real range bound as an index: rounded to the nearest integer, saturated; NaN can never be valid.
std::int32_t BoundToIndex(double x) {
  if (std::isnan(x)) return INT32_MIN;
  const double r = std::nearbyint(x);
  if (r <= INT32_MIN) return INT32_MIN;
  if (r >= INT32_MAX) return INT32_MAX;
  return static_cast<std::int32_t>(r);
}

}  // namespace

TIndexRange ResolveRange(const std::int32_t* bounds, int count, int n) {
  TIndexRange r;
  const std::int64_t start = bounds[0];
  std::int64_t stop = bounds[count - 1];
  std::int64_t step = 1;
  if (count == 3) {
    step = bounds[1];
    if (step == 0) ERaise("Invalid Range specification with zero step!");
  }
  if (stop == RangeEndOfArray) {
    if (n <= 0) return r;  // "up to the end" of nothing
    stop = n - 1;
  }
  if (count == 2 && start > stop) return r;  // empty
  const std::int64_t lower = start < stop ? start : stop;
  const std::int64_t upper = start < stop ? stop : start;
  const std::int64_t astep = std::llabs(step);
  const std::int64_t cnt = (upper - lower + astep) / astep;
  if (cnt > INT_MAX) throw ENubraRangeError("Range index: too many elements!");
  r.Lower = static_cast<int>(lower);
  r.Count = static_cast<int>(cnt);
  r.Step = static_cast<int>(astep);
  r.Reversed = step < 0;
  return r;
}

int RangeBounds(const TValueRec& rec, std::int32_t (&dst)[3]) {
  const bool extended = rec.ExtRange() || rec.ValueType() == vtVectorValue;
  if (!extended) {
    const auto& b = rec.Range();
    const int n = static_cast<int>(b.size());
    for (int i = 0; i < n && i < 3; ++i) dst[i] = b[i];
    return n;
  }
  const TVec* v = rec.ExtRangeValue();
  if (!v) return 0;
  if (v->Complex()) throw EZelParseError("Complex range can not be used as an index!");
  const int n = v->Length();
  for (int i = 0; i < n && i < 3; ++i) dst[i] = BoundToIndex(v->Values(i));
  return n;
}

bool IsIntegerRange(const TValueRec& rec) { return rec.ValueType() == vtRangeValue && !rec.ExtRange(); }

}  // namespace zel
