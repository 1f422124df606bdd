// Compilation of a whole script into jumps between lines, the run loop, and the routines of the flow
// keywords if, while, for and endfor.
#include <stdexcept>

#include "script/expression.h"

namespace zel {

namespace {

// Open blocks (if/else/while/for) and loop levels a script may nest.
constexpr int kMaxBlocks = 40;

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
  if (n == 3) return {b[0], b[1], b[2]};
  throw EZelParseError("for: the loop range must have two or three bounds");
}

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
      SetBool(e, step == 0 ? false : InRange(static_cast<double>(x), lr));
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

}  // namespace

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
void _EndFor(TExprRec& e) { ForStep(e, false); }

TExprFlowKeyword TZelExpression::EvaluateFlowKeyword(const TExprWordList& words) const {
  if (words.Count() == 0) return eccNone;
  const TExprWord* w = words[0];
  if (w == ewIf) return eccIf;
  if (w == ewElse) return eccElse;
  if (w == ewEnd) return eccEnd;
  if (w == ewWhile) return eccWhile;
  if (w == ewEndFor) return eccEndFor;
  if (w == ewFor) return eccFor;
  if (w == ewBreak) return eccBreak;
  if (w == ewContinue) return eccContinue;
  return eccNone;
}

void TZelExpression::RaiseCompileError(int line, const std::exception& e) const {
  if (ExprCount() > 1) throw ENubraException(Fmt("Line %d: %s", line, e.what()));
  throw std::runtime_error(e.what());
}

void TZelExpression::Compile() {
  ReturnLine.clear();
  BreakContinueLine.clear();
  BreakContinueLine.resize(kMaxBlocks + 1);
  CompileInternal();
  fIsCompiled = true;
}

void TZelExpression::CompileInternal() {
  fIsCompiled = false;
  int line = 0;
  try {
    int level = 0;
    for (line = 0; line < ExprCount(); ++line) {
      TSingleExpression& x = *fExprList[line];
      DisposeList(x.Rec);
      x.Res = nullptr;
      x.FlowControl = efcNone;
      x.JumpLineIndex = 0;
      CreateExprWords(x);
      x.NestingDepth = static_cast<int>(ReturnLine.size());
      x.NextLineIndex = line + 1;
      switch (x.FlowKeyword) {
        case eccIf:
        case eccWhile:
        case eccFor:
          if (static_cast<int>(ReturnLine.size()) >= kMaxBlocks)
            ERaise(Fmt("Too many nested blocks: at most %d if/else/while/for blocks can be open at once",
                       kMaxBlocks));
          x.FlowControl = efcConditionalJump;
          ReturnLine.push_back(line);
          if (x.FlowKeyword != eccIf) ++level;
          break;
        case eccElse: {
          if (ReturnLine.empty()) ERaise("The \"else\" keyword has no matching \"if\"!");
          TSingleExpression& t = *fExprList[ReturnLine.back()];
          if (t.FlowKeyword != eccIf) ERaise("The \"else\" keyword has no matching \"if\"!");
          t.JumpLineIndex = line + 1;
          x.FlowControl = efcUnconditionalJump;
          ReturnLine.back() = line;
          break;
        }
        case eccBreak:
        case eccContinue:
          BreakContinueLine[static_cast<size_t>(level)].push_back(line);
          break;
        case eccEnd: {
          if (ReturnLine.empty()) ERaise("The \"end\" keyword has no matching \"if\", \"while\" or \"for\"!");
          const int top = ReturnLine.back();
          TSingleExpression& t = *fExprList[top];
          t.JumpLineIndex = line + 1;
          if (t.FlowKeyword == eccElse) {
            t.NextLineIndex = t.JumpLineIndex;
          } else if (t.FlowKeyword == eccWhile || t.FlowKeyword == eccFor) {
            if (t.FlowKeyword == eccWhile) {
              x.FlowControl = efcUnconditionalJump;
              x.NextLineIndex = x.JumpLineIndex = top;
            } else {
              x.Words->SetItems(0, ewEndFor);
              for (int k = 1; k < t.Words->Count(); ++k) x.Words->Append((*t.Words)[k]);
              x.FlowControl = efcConditionalJump;
              x.NextLineIndex = top + 1;
              x.JumpLineIndex = line + 1;
            }
            for (int k : BreakContinueLine[static_cast<size_t>(level)]) {
              TSingleExpression& bc = *fExprList[k];
              bc.FlowControl = efcUnconditionalJump;
              if (bc.FlowKeyword == eccBreak) {
                bc.JumpLineIndex = bc.NextLineIndex = line + 1;
              } else if (bc.FlowKeyword == eccContinue) {
                bc.JumpLineIndex = bc.NextLineIndex = t.FlowKeyword == eccWhile ? top : line;
              } else {
                ERaise("Internal compiler error: Word is not a Break or Continue!");
              }
            }
            BreakContinueLine[static_cast<size_t>(level)].clear();
            --level;
          }
          ReturnLine.pop_back();
          break;
        }
        default:
          break;
      }
    }
    if (!ReturnLine.empty()) {
      line = ExprCount() - 1;
      ERaise("Syntax error: missing \"end\" keyword!");
    }
  } catch (const std::exception& e) {
    RaiseCompileError(line, e);
  }
  for (line = 0; line < ExprCount(); ++line) {
    try {
      CreateExprRec2(*fExprList[line]);
    } catch (const std::exception& e) {
      RaiseCompileError(line, e);
    }
  }
}

TValueRec* TZelExpression::EvaluateLine(TSingleExpression& line) {
  if (!line.Rec) CreateExprRec(line);
  line.Res = EvaluateList(line.Rec);
  return line.Res->Res;
}

TValueRec* TZelExpression::Evaluate() { return Evaluate(-1); }

TValueRec* TZelExpression::Evaluate(int index) {
  if (!fIsCompiled) Compile();
  if (index != -1) return EvaluateLine(*fExprList[index]);
  if (ExprCount() == 0) throw EZelParseError("TZelExpression.Evaluate: No expressions");
  TValueRec* result = nullptr;
  for (int k = 0; k < ExprCount(); ++k) result = EvaluateLine(*fExprList[k]);
  return result;
}

TValueRec* TZelExpression::EvaluateCompiled() {
  if (!fIsCompiled) Compile();
  return EvaluateRun(0);
}

TValueRec* TZelExpression::EvaluateRun(int line) {
  TValueRec* result = nullptr;
  int n = line;
  const int count = ExprCount();
  try {
    while (n >= 0 && n < count) {
      TSingleExpression& x = *fExprList[n];
      result = EvaluateLine(x);
      n = x.FlowControl == efcConditionalJump && !result->BoolValue() ? x.JumpLineIndex : x.NextLineIndex;
    }
  } catch (const std::exception& e) {
    throw std::runtime_error(Fmt("Line %d: %s", n, e.what()));
  }
  return result;
}

int TZelExpression::EvaluateStep(int line) {
  if (!fIsCompiled) Compile();
  TSingleExpression& x = *fExprList[line];
  const TValueRec* result = EvaluateLine(x);
  return x.FlowControl == efcConditionalJump && !result->BoolValue() ? x.JumpLineIndex : x.NextLineIndex;
}

}  // namespace zel
