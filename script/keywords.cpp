// The routines of the flow keywords if, while, for and endfor: each sets its node's boolean result, which
// tells the run loop whether to take the line's jump.
#include <stdexcept>

#include "script/expression.h"
#include "script/loop_step.h"

namespace zel {

namespace {

// Sets the node's result to a boolean.
void SetBool(TExprRec& e, bool b) {
  e.Res->DefineBool();
  e.Res->SetBoolValue(b);
}

// The step and the stop of a range as doubles: two bounds step ±1 towards the stop.
struct LoopRange {
  double start, step, stop;
};

// Bounds of an integer or extended range (or of a folded extended range constant); no allocation.
LoopRange ReadLoopRange(const TValueRec& r) {
  double b[3] = {0, 0, 0};
  int n = 0;
  if (r.ExtRange()) {
    const TVec* v = r.ExtRangeValue();
    n = v ? v->Length() : 0;
    for (int k = 0; k < n && k < 3; ++k) b[k] = v->Complex() ? v->CValues(k).real() : v->Values(k);
  } else {
    n = static_cast<int>(r.Range().size());
    for (int k = 0; k < n && k < 3; ++k) b[k] = r.Range()[static_cast<size_t>(k)];
  }
  if (n == 2) return {b[0], b[1] < b[0] ? -1.0 : 1.0, b[1]};
  // A zero step would never reach the stop (or never start): rejected as everywhere a range is read.
  if (n == 3 && b[1] == 0) ERaise("Invalid Range specification with zero step!");
  if (n == 3) return {b[0], b[1], b[2]};
  throw EZelParseError("for: the loop range must have two or three bounds");
}

// True while x has not passed the stop in the direction of the step.
bool InRange(double x, const LoopRange& r) { return r.step > 0 ? x <= r.stop : x >= r.stop; }

// Puts element k of a vector kind into the loop variable, or row k of a matrix kind as a view.
void SetLoopElement(TValueRec& i, TValueRec& r, int k) {
  switch (r.ValueType()) {
    case vtVectorValue: {
      const TVec& v = r.VectorValue();
      if (v.Complex()) {
        i.DefineComplex();
        i.SetComplexValue(v.CValues(k));
      } else {
        i.DefineDouble();
        i.SetDoubleValue(v.Values(k));
      }
      break;
    }
    case vtIntVectorValue:
      i.DefineInteger();
      i.SetIntegerValue(r.IntVectorValue().Get(k));
      break;
    case vtBoolVectorValue:
      i.DefineBool();
      i.SetBoolValue(r.BoolVectorValue().Get(k) != 0);
      break;
    // Rows are copied into the loop variable (no allocation once it has the row's size): a view would
    // dangle if the loop body reassigned the matrix.
    case vtMatrixValue: {
      const TZel& m = r.MatrixValue();
      i.DefineVector();
      TVec& row = i.VectorValue();
      row.Size(m.Cols(), m.Complex());
      row.Copy(m, k * m.Cols(), 0, m.Cols());
      break;
    }
    case vtIntMatrixValue:
    case vtBoolMatrixValue: {
      const TZelInt& m = *r.IntMatrixField();
      r.ValueType() == vtIntMatrixValue ? i.DefineIntVector() : i.DefineBoolVector();
      TVecInt& row = *i.IntVectorField();
      row.Size(m.Cols(), m.IntPrecision());
      row.Copy(m, k * m.Cols(), 0, m.Cols());
      break;
    }
    default:
      break;
  }
}

// Number of iterations over a vector (elements) or a matrix (rows).
int LoopCount(TValueRec& r) {
  switch (r.ValueType()) {
    case vtVectorValue:
      return r.VectorValue().Length();
    case vtIntVectorValue:
      return r.IntVectorValue().Length();
    case vtBoolVectorValue:
      return r.BoolVectorValue().Length();
    case vtMatrixValue:
      return r.MatrixValue().Rows();
    case vtIntMatrixValue:
      return r.IntMatrixValue().Rows();
    case vtBoolMatrixValue:
      return r.BoolMatrixValue().Rows();
    default:
      return -1;
  }
}

// "for" (first = true) and "endfor": set the loop variable and tell whether the body runs (again).
// Over vectors and matrices the position is kept in the loop variable's Tag, so nested loops over the
// same object do not disturb each other.
void ForStep(TExprRec& e, bool first) {
  TValueRec& i = *e.Args[0];
  TValueRec& r = *e.Args[1];
  if (r.ValueType() == vtRangeValue) {
    const LoopRange lr = ReadLoopRange(r);
    if (r.ExtRange()) {
      i.DefineDouble();
      const double x = first ? lr.start : i.DoubleValue() + lr.step;
      i.SetDoubleValue(x);
      SetBool(e, InRange(x, lr));
    } else {
      i.DefineInteger();
      const std::int64_t step = static_cast<std::int64_t>(lr.step);
      const std::int64_t x = first ? static_cast<std::int64_t>(lr.start) : i.IntegerValue() + step;
      i.SetIntegerValue(x);
      SetBool(e, InRange(static_cast<double>(x), lr));
    }
    return;
  }
  const int count = LoopCount(r);
  if (count < 0) UnsupportedValueTypesError(e, r.ValueType());
  const std::intptr_t k = first ? 0 : i.Tag() + 1;
  const bool more = k < count;
  if (more) SetLoopElement(i, r, static_cast<int>(k));
  i.SetTag(k);
  SetBool(e, more);
}

// The same over an extended (real) range with a double loop variable.
void EndForRealRange(TExprRec& e) {
  TValueRec& i = *e.Args[0];
  const TValueRec& r = *e.Args[1];
  const TVec* v = r.ExtRangeValue();
  if (i.ValueType() != vtDoubleValue || r.ValueType() != vtRangeValue || !r.ExtRange() || !v ||
      v->Complex() || e.Res->ValueType() != vtBoolValue || (v->Length() != 2 && v->Length() != 3))
      [[unlikely]] {
    e.Oper = _EndFor;
    return _EndFor(e);
  }
  const LoopRange lr = ReadLoopRange(r);
  const double x = i.DoubleValue() + lr.step;
  i.SetDoubleValue(x);
  e.Res->SetBoolValue(InRange(x, lr));
}

}  // namespace

void EndForIntRange(TExprRec& e) {
  if (!StepIntRange(e)) [[unlikely]] {
    e.Oper = _EndFor;
    _EndFor(e);
  }
}

void _If(TExprRec& e) {
  if (e.Args[0]->ValueType() != vtBoolValue)
    throw EZelParseError("If: The if-clause condition must be a boolean (true/false).");
  SetBool(e, e.Args[0]->BoolValue());
}

void _While(TExprRec& e) {
  if (e.Args[0]->ValueType() != vtBoolValue)
    throw EZelParseError("While: The while-loop condition must be a boolean (true/false).");
  SetBool(e, e.Args[0]->BoolValue());
}

void _For(TExprRec& e) { ForStep(e, true); }
// The first run over a range picks the typed step for the later ones.
void _EndFor(TExprRec& e) {
  ForStep(e, false);
  const TValueRec& r = *e.Args[1];
  if (r.ValueType() != vtRangeValue) return;
  if (!r.ExtRange() && e.Args[0]->ValueType() == vtIntegerValue) e.Oper = EndForIntRange;
  if (r.ExtRange() && e.Args[0]->ValueType() == vtDoubleValue) e.Oper = EndForRealRange;
}

}  // namespace zel
