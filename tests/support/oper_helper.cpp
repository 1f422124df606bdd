#include "support/oper_helper.h"

#include <stdexcept>

namespace zel::test {

Val Undef() { return std::make_unique<TValueRec>(); }

Val Dbl(double x) {
  auto v = Undef();
  v->DefineDouble();
  v->SetDoubleValue(x);
  return v;
}

Val Int(std::int64_t i) {
  auto v = Undef();
  v->DefineInteger();
  v->SetIntegerValue(i);
  return v;
}

Val Bool(bool b) {
  auto v = Undef();
  v->DefineBool();
  v->SetBoolValue(b);
  return v;
}

Val Cplx(double re, double im) {
  auto v = Undef();
  v->DefineComplex();
  v->SetComplexValue(TCplx(re, im));
  return v;
}

Val Str(const std::string& s) {
  auto v = Undef();
  v->DefineString();
  v->SetStringValue(s);
  return v;
}

namespace {
template <class T>
void FillReal(TNubraVec& dst, std::initializer_list<T> values) {
  int i = 0;
  for (const T& x : values) {
    if constexpr (std::is_same_v<T, TCplx>) {
      dst.CValues(i++) = x;
    } else {
      dst.Values(i++) = x;
    }
  }
}
void FillInt(TNubraInt& dst, std::initializer_list<int> values) {
  int i = 0;
  for (int x : values) dst.Set(i++, x);
}
}  // namespace

Val Vec(std::initializer_list<double> values) {
  auto v = Undef();
  v->DefineVector();
  v->VectorValue().Size(static_cast<int>(values.size()), false);
  FillReal(v->VectorValue(), values);
  return v;
}

Val CVec(std::initializer_list<TCplx> values) {
  auto v = Undef();
  v->DefineVector();
  v->VectorValue().Size(static_cast<int>(values.size()), true);
  FillReal(v->VectorValue(), values);
  return v;
}

Val Mat(int rows, int cols, std::initializer_list<double> values) {
  auto v = Undef();
  v->DefineMatrix();
  v->MatrixValue().Size(rows, cols, false);
  FillReal(v->MatrixValue(), values);
  return v;
}

Val CMat(int rows, int cols, std::initializer_list<TCplx> values) {
  auto v = Undef();
  v->DefineMatrix();
  v->MatrixValue().Size(rows, cols, true);
  FillReal(v->MatrixValue(), values);
  return v;
}

Val IntVec(std::initializer_list<int> values, TIntPrecision p) {
  auto v = Undef();
  v->DefineIntVector();
  v->IntVectorValue().Size(static_cast<int>(values.size()), p);
  FillInt(v->IntVectorValue(), values);
  return v;
}

Val IntMat(int rows, int cols, std::initializer_list<int> values, TIntPrecision p) {
  auto v = Undef();
  v->DefineIntMatrix();
  v->IntMatrixValue().Size(rows, cols, p);
  FillInt(v->IntMatrixValue(), values);
  return v;
}

Val BoolVec(std::initializer_list<int> values) {
  auto v = Undef();
  v->DefineBoolVector();
  v->BoolVectorValue().Size(static_cast<int>(values.size()));
  FillInt(v->BoolVectorValue(), values);
  return v;
}

Val BoolMat(int rows, int cols, std::initializer_list<int> values) {
  auto v = Undef();
  v->DefineBoolMatrix();
  v->BoolMatrixValue().Size(rows, cols);
  FillInt(v->BoolMatrixValue(), values);
  return v;
}

Val Range(std::initializer_list<int> bounds) {
  auto v = Undef();
  v->DefineRange();
  v->Range().assign(bounds.begin(), bounds.end());
  return v;
}

Val ExtRange(std::initializer_list<double> bounds) {
  auto v = Undef();
  v->DefineExtRange();
  v->ExtRangeValue()->Size(static_cast<int>(bounds.size()), false);
  FillReal(*v->ExtRangeValue(), bounds);
  return v;
}

Val Sample(TValueType t) {
  switch (t) {
    case vtUndefined:
      return Undef();
    case vtDoubleValue:
      return Dbl(2.5);
    case vtRangeValue:
      return Range({1, 3});
    case vtString:
      return Str("s");
    case vtComplexValue:
      return Cplx(1, 2);
    case vtVectorValue:
      return Vec({1, 2, 3});
    case vtIntegerValue:
      return Int(2);
    case vtIntVectorValue:
      return IntVec({1, 2, 3});
    case vtIntMatrixValue:
      return IntMat(1, 3, {1, 2, 3});
    case vtBoolValue:
      return Bool(true);
    case vtBoolVectorValue:
      return BoolVec({1, 0, 1});
    case vtBoolMatrixValue:
      return BoolMat(1, 3, {1, 0, 1});
    case vtMatrixValue:
      return Mat(1, 3, {1, 2, 3});
    case vtCustomValue: {
      auto v = Undef();
      v->DefineCustomValue();
      return v;
    }
  }
  return Undef();
}

Operators::Operators() {
  InitOperators(fWords, fColon, fAssign);
  fWords.Sort();
}

const Operators& Operators::Get() {
  static const Operators instance;
  return instance;
}

TExprWord* Operators::Word(const std::string& name) const {
  int index = 0;
  if (!fWords.Find(name, index)) throw std::logic_error("no operator word " + name);
  return fWords[index];
}

NodeRunner::NodeRunner(const std::string& op, std::vector<TValueRec*> args)
    : NodeRunner(Operators::Get().Word(op), std::move(args)) {}

NodeRunner::NodeRunner(TExprWord* word, std::vector<TValueRec*> args) {
  fNode.ExprWord = word;
  fNode.ResizeArgs(static_cast<int>(args.size()));
  fNode.ArgCount = static_cast<int>(args.size());
  for (size_t i = 0; i < args.size(); ++i) fNode.Args[i] = args[i];
  word->SetNFuncArg(fNode.ArgCount);
  fNode.Oper = word->Func();
}

TValueRec& NodeRunner::Eval() {
  fNode.Oper(fNode);
  return *fNode.Res;
}

TValueRec& NodeRunner::EvalTwice() {
  Eval();
  return Eval();
}

}  // namespace zel::test
