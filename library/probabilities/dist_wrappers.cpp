// The shared parameter checks of the distribution words and the wrapper that runs a PDF, CDF or CDFInv
// word: the parameters are checked in argument order before x is looked at; x then picks the result's
// shape (a double for a scalar, a real vector or matrix of x's size for arrays), and the numeric core's
// scalar or array routine fills it. Discrete PDFs and CDFs take integer x only; every CDFInv takes reals.
// The checks are a few type comparisons, so each evaluation repeats them rather than caching a routine.
#include <string>

#include "core/errors.h"
#include "library/probabilities/dist_words.h"

namespace zel::prob {

namespace {

constexpr const char* kOrdinals[] = {"first", "second", "third",   "fourth",
                                     "fifth", "sixth",  "seventh", "eighth"};

bool IsReal(TValueType t) { return t == vtDoubleValue || t == vtIntegerValue; }
bool IsIntegerKind(TValueType t) {
  return t == vtIntegerValue || t == vtIntVectorValue || t == vtIntMatrixValue;
}

// The result as a real vector or matrix, keeping the node's object from earlier evaluations.
TNubraVec& VectorResult(TExprRec& e) {
  e.Res->DefineVector();
  return e.Res->VectorValue();
}
TNubraVec& MatrixResult(TExprRec& e) {
  e.Res->DefineMatrix();
  return e.Res->MatrixValue();
}

}  // namespace

std::string WordName(const TExprRec& e) { return e.ExprWord ? e.ExprWord->Name() : std::string(); }

void CheckParameters(const TExprRec& e, const char* kinds, int from, int to, const char* realMessage) {
  for (int i = from; i < to; ++i) {
    const TValueType t = e.Args[i]->ValueType();
    switch (kinds[i - from]) {
      case 'I':
        if (t != vtIntegerValue)
          throw EZelParseError(Fmt("%s : parameter %d must be an integer!", WordName(e).c_str(), i));
        break;
      case 'B':
        if (t != vtBoolValue)
          throw EZelParseError(
              Fmt("%s: %s parameter must be true or false!", WordName(e).c_str(), kOrdinals[i]));
        break;
      default:
        if (!IsReal(t)) {
          const std::string name = WordName(e);
          throw EZelParseError(realMessage
                                   ? Fmt(realMessage, name.c_str())
                                   : Fmt("%s : parameter %d must be a real number!", name.c_str(), i));
        }
    }
  }
}

TDistParams ParametersOf(const TExprRec& e, int from, int to) {
  TDistParams p;
  for (int i = from; i < to; ++i) {
    const TValueRec& v = *e.Args[i];
    p.v[i - from] = v.ValueType() == vtBoolValue ? (v.BoolValue() ? 1 : 0) : v.DoubleValue();
  }
  return p;
}

void RunDistribution(TExprRec& e, const TDistWords& w, TDistFunction f) {
  CheckParameters(e, w.kinds, 1, w.argCount, w.realMessage);
  TValueRec& x = *e.Args[0];
  const TValueType t = x.ValueType();
  if (w.firstMessage && f != TDistFunction::CDFInv && !IsIntegerKind(t))
    throw EZelParseError(Fmt(w.firstMessage, WordName(e).c_str()));
  const TDistParams p = ParametersOf(e, 1, w.argCount);
  const bool integerX = IsDiscrete(w.dist) && f != TDistFunction::CDFInv;
  switch (t) {
    case vtIntegerValue:
      e.Res->DefineDouble();
      e.Res->SetDoubleValue(DistValue(w.dist, f, x.DoubleValue(), p));
      return;
    case vtDoubleValue:
      if (integerX) break;
      e.Res->DefineDouble();
      e.Res->SetDoubleValue(DistValue(w.dist, f, x.DoubleValue(), p));
      return;
    case vtVectorValue:
      if (integerX) break;
      DistValues(w.dist, f, x.VectorValue(), p, VectorResult(e));
      return;
    case vtMatrixValue:
      if (integerX) break;
      DistValues(w.dist, f, x.MatrixValue(), p, MatrixResult(e));
      return;
    case vtIntVectorValue:
      if (!integerX) break;
      DistValues(w.dist, f, x.IntVectorValue(), p, VectorResult(e));
      return;
    case vtIntMatrixValue:
      if (!integerX) break;
      DistValues(w.dist, f, x.IntMatrixValue(), p, MatrixResult(e));
      return;
    default:
      break;
  }
  UnsupportedValueTypesError(e, t, e.Args[1]->ValueType());
}

}  // namespace zel::prob
