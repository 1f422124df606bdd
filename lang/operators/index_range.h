// Range indices resolved against an array length, shared by selection (a(i:j), a(i:step:j)) and
// assignment (a(i:j) = ...). A range is (start, stop) or (start, step, stop); a stop of -1 (NubraEOA, or
// the bare ":") means the last element.
#pragma once

#include <cstdint>

namespace zel {

class TValueRec;

// Stop value meaning "up to the last element".
inline constexpr std::int32_t RangeEndOfArray = -1;

// The indices a range selects: Count indices Lower, Lower + Step, ..., ascending; Reversed says they
// are used in descending order (the range had a negative step). Count 0 is an empty selection.
struct TIndexRange {
  int Lower = 0;          // lowest index taken (0 when Count is 0)
  int Count = 0;          // number of indices
  int Step = 1;           // distance between taken indices, >= 1
  bool Reversed = false;  // true: the k-th selected element is Index(Count - 1 - k)

  // Highest index taken (Lower - 1 when empty).
  std::int64_t Upper() const { return Lower + static_cast<std::int64_t>(Count - 1) * Step; }
  // The k-th index in ascending order, 0 <= k < Count.
  int Index(int k) const { return Lower + k * Step; }
  // The k-th index in selection order (descending when Reversed).
  int Selected(int k) const { return Index(Reversed ? Count - 1 - k : k); }
  // True when every index lies in [0, n).
  bool Inside(int n) const { return Count == 0 || (Lower >= 0 && Upper() < n); }
  // The first index outside [0, n) (Lower when it is negative, else Upper()), for error messages.
  std::int64_t Outside(int n) const { return Lower < 0 || n <= 0 ? Lower : Upper(); }
};

// Resolves bounds (start, stop) when count is 2 or (start, step, stop) when count is 3 against an array
// of n elements:
//  - two entries: stop -1 becomes n - 1; start > stop is an empty selection; step 1.
//  - three entries: stop -1 becomes n - 1; the bounds are ordered so that
//    the lower comes first; Count = (upper - lower + |step|) div |step|; Reversed when step < 0.
// A stop of -1 with n = 0 is an empty selection. Does not check the indices against n (callers raise their
// own messages; see Inside). A zero step raises "Invalid Range specification with zero step!" through ERaise
// (as range expansion does) and a count that does not fit into 32 bits raises ENubraRangeError. count must be
// 2 or 3.
TIndexRange ResolveRange(const std::int32_t* bounds, int count, int n);

// Bounds of a range index held in a value record: an integer range's entries as they are, an extended
// range's (or a vector record flagged ExtRange) real entries rounded to the nearest integer and
// saturated to 32 bits (NaN becomes INT32_MIN, which fails every index check). Stores up to three
// entries in dst and returns the number of entries the range has (callers reject counts other than 2
// or 3 with their own message). A complex extended range raises EZelParseError
// "Complex range can not be used as an index!".
int RangeBounds(const TValueRec& rec, std::int32_t (&dst)[3]);

// True when rec is an integer range (not extended): the forms matrix and string indices require.
bool IsIntegerRange(const TValueRec& rec);

}  // namespace zel
