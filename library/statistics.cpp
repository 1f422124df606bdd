// Statistics of the elements of a vector or matrix: rms, stddev, skewness and kurtosis (real data only,
// double results) and median (vectors to a scalar, matrices to a one-column matrix of row medians,
// integer kinds kept). The numerics are the core's (core/stats.h).
//
// Complex data is refused with the name of the word as the call spells it ("stddev: ..." or
// "StdDev: ..."). skewness(x) and kurtosis(x) compute the mean and the population standard deviation
// first; the three-argument forms take both from the caller.
#include <string>

#include "core/errors.h"
#include "core/stats.h"
#include "lang/operators/dispatch.h"
#include "lang/words/registration.h"
#include "library/families.h"
#include "library/redirect.h"

namespace zel {

namespace {

using namespace dispatch;

// Raises "<name>: Complex parameter is not allowed!" with the name the call used.
[[noreturn]] void RefuseComplex(const TExprRec& e) {
  throw EZelParseError((e.ExprWord ? e.ExprWord->Name() : std::string("?")) +
                       ": Complex parameter is not allowed!");
}

// The elements of the first argument, a vector or matrix of real data.
const TNubraVec& RealData(TExprRec& e) {
  const TNubraVec& x = e.Args[0]->RealElements();
  if (x.Complex()) RefuseComplex(e);
  return x;
}

// ---- rms, stddev, skewness, kurtosis -------------------------------------------------------------

// A double computed from real data by F(x).
template <auto F>
void OfRealData(TExprRec& e) {
  e.Res->SetDoubleValue(F(RealData(e)));
}

constexpr auto kRms = [](const TNubraVec& x) { return RMS(x); };
constexpr auto kStdDev = [](const TNubraVec& x) { return StdDev(x); };
// A standardised moment with the data's mean and population standard deviation.
template <auto Moment>
constexpr auto kOwnMoment = [](const TNubraVec& x) { return Moment(x, Mean(x), PopulationStdDev(x)); };
constexpr auto kSkewness = [](const TNubraVec& x, double m, double s) { return Skewness(x, m, s); };
constexpr auto kKurtosis = [](const TNubraVec& x, double m, double s) { return Kurtosis(x, m, s); };

template <auto F>
constexpr UnaryCells kRealDataCells = [] {
  UnaryCells t{};
  Set(t, {V, M}, D, OfRealData<F>);
  return t;
}();

template <auto F>
void RealDataFunction(TExprRec& e) {
  Dispatch(e, kRealDataCells<F>);
}

// The messages of the three-argument forms when mean or stddev is not a double or an integer.
constexpr char kKurtosisArgs[] = "Kurtosis: Second and Third parameter are not real scalar: %s, %s";
constexpr char kSkewnessArgs[] = "Skewness: Second and Third parameter are not real/integer scalar: %s, %s";

// moment(x, mean, stddev): x a vector or matrix of real data, mean and stddev doubles or integers. The
// types are checked on every run, as the node's routine is not specialised to them.
template <auto Moment, const char* Message>
void MomentWithArgs(TExprRec& e) {
  const TValueRec& mean = *e.Args[1];
  const TValueRec& stddev = *e.Args[2];
  const TValueType t = e.Args[0]->ValueType();
  if ((t != vtVectorValue && t != vtMatrixValue) || mean.ValueType() == vtUndefined ||
      stddev.ValueType() == vtUndefined)
    RaiseUnsupportedArgs(e);
  if (!mean.IsRealValue() || !stddev.IsRealValue())
    throw EZelParseError(Fmt(Message, ValTypeName(mean.ValueType()), ValTypeName(stddev.ValueType())));
  const TNubraVec& x = RealData(e);
  e.Res->DefineDouble();
  e.Res->SetDoubleValue(Moment(x, mean.DoubleValue(), stddev.DoubleValue()));
}

// ---- median --------------------------------------------------------------------------------------

void MedianOfVector(TExprRec& e) { e.Res->SetDoubleValue(Median(RealData(e))); }
void MedianOfIntegers(TExprRec& e) { e.Res->SetIntegerValue(Median(e.Args[0]->IntVectorValue())); }
void MedianOfRows(TExprRec& e) {
  RealData(e);
  MedianRows(e.Args[0]->MatrixValue(), e.Res->MatrixValue());
}
void MedianOfIntRows(TExprRec& e) { MedianRows(e.Args[0]->IntMatrixValue(), e.Res->IntMatrixValue()); }

constexpr UnaryCells kMedianCells = [] {
  UnaryCells t{};
  Set(t, {V}, D, MedianOfVector);
  Set(t, {IV}, I, MedianOfIntegers);
  Set(t, {M}, M, MedianOfRows);
  Set(t, {IM}, IM, MedianOfIntRows);
  return t;
}();

void _Median(TExprRec& e) { Dispatch(e, kMedianCells); }

constexpr TFunctionEntry kStatistics[] = {
    {"rms", "Rms", RealDataFunction<kRms>, 1, "rms(x): root mean square of elements in x"},
    {"stddev", "StdDev", RealDataFunction<kStdDev>, 1, "stddev(x): standard deviation of elements in x"},
    {"kurtosis", "Kurtosis", RealDataFunction<kOwnMoment<kKurtosis>>, 1,
     "kurtosis(x): computes the fourth moment from the data in x.",
     "k = Kurtosis(x): computes the fourth moment from the data in x."},
    {"kurtosis", "Kurtosis", MomentWithArgs<kKurtosis, kKurtosisArgs>, 3,
     "kurtosis(x, mean, stddev): computes the fourth moment from data in x and stddev(x) and mean(x).",
     "k = Kurtosis(x, mean, stddev): computes the fourth moment from data in x and stddev(x) and mean(x)."},
    {"skewness", "Skewness", RealDataFunction<kOwnMoment<kSkewness>>, 1,
     "s = skewness(x): computes the third moment from the data in x.",
     "s = Skewness(x): computes the third moment from the data in x."},
    {"skewness", "Skewness", MomentWithArgs<kSkewness, kSkewnessArgs>, 3,
     "s = skewness(x, mean, stddev): computes the third moment from the data in x, where mean and stddev "
     "were already computed before.",
     "s = Skewness(x, mean, stddev): computes the third moment from the data in x, where mean and stddev "
     "were already computed before."},
    {"median", "Median", _Median, 1, "median(x): returns median value of data in vector x."},
};

}  // namespace

void RegisterStatisticsFunctions(TWordList& words) { RegisterFunctions(words, kStatistics); }

}  // namespace zel
