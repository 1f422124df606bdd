// Test support for the operator tests: value factories and the text notation for values, the node runner,
// and the checks of table cases (see oper_helper.h).
#include "support/oper_helper.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <stdexcept>

#include "core/text.h"

namespace zel::test {

Val Undef() { return std::make_unique<TValueRec>(); }

namespace {
// A fresh record defined by `define` and filled by `fill`.
template <class Fill>
Val Make(void (TValueRec::*define)(), Fill fill) {
  Val v = Undef();
  ((*v).*define)();
  fill(*v);
  return v;
}
// Sizes a container (a vector is 1 x n) and fills it row by row; complex values make it complex.
template <class T>
void Fill(TNubraVec& dst, int rows, int cols, std::initializer_list<T> values) {
  dst.SizeShape(rows, cols, std::is_same_v<T, TCplx>);
  int i = 0;
  for (const T& x : values) {
    if constexpr (std::is_same_v<T, TCplx>) {
      dst.CValues(i++) = x;
    } else {
      dst.Values(i++) = x;
    }
  }
}
void Fill(TNubraInt& dst, int rows, int cols, std::initializer_list<int> values, TIntPrecision p) {
  dst.SizeShape(rows, cols, p);
  int i = 0;
  for (int x : values) dst.Set(i++, x);
}
// The number of values in a list.
int Count(auto values) { return static_cast<int>(values.size()); }
}  // namespace

Val Dbl(double x) {
  return Make(&TValueRec::DefineDouble, [&](TValueRec& v) { v.SetDoubleValue(x); });
}
Val Int(std::int64_t i) {
  return Make(&TValueRec::DefineInteger, [&](TValueRec& v) { v.SetIntegerValue(i); });
}
Val Bool(bool b) {
  return Make(&TValueRec::DefineBool, [&](TValueRec& v) { v.SetBoolValue(b); });
}
Val Cplx(double re, double im) {
  return Make(&TValueRec::DefineComplex, [&](TValueRec& v) { v.SetComplexValue(TCplx(re, im)); });
}
Val Str(const std::string& s) {
  return Make(&TValueRec::DefineString, [&](TValueRec& v) { v.SetStringValue(s); });
}
Val Vec(std::initializer_list<double> x) {
  return Make(&TValueRec::DefineVector, [&](TValueRec& v) { Fill(v.VectorValue(), 1, Count(x), x); });
}
Val CVec(std::initializer_list<TCplx> x) {
  return Make(&TValueRec::DefineVector, [&](TValueRec& v) { Fill(v.VectorValue(), 1, Count(x), x); });
}
Val Mat(int rows, int cols, std::initializer_list<double> x) {
  return Make(&TValueRec::DefineMatrix, [&](TValueRec& v) { Fill(v.MatrixValue(), rows, cols, x); });
}
Val IntVec(std::initializer_list<int> x, TIntPrecision p) {
  return Make(&TValueRec::DefineIntVector,
              [&](TValueRec& v) { Fill(v.IntVectorValue(), 1, Count(x), x, p); });
}
Val IntMat(int rows, int cols, std::initializer_list<int> x, TIntPrecision p) {
  return Make(&TValueRec::DefineIntMatrix, [&](TValueRec& v) { Fill(v.IntMatrixValue(), rows, cols, x, p); });
}
Val BoolVec(std::initializer_list<int> x) {
  return Make(&TValueRec::DefineBoolVector,
              [&](TValueRec& v) { Fill(v.BoolVectorValue(), 1, Count(x), x, prInt32); });
}
Val BoolMat(int rows, int cols, std::initializer_list<int> x) {
  return Make(&TValueRec::DefineBoolMatrix,
              [&](TValueRec& v) { Fill(v.BoolMatrixValue(), rows, cols, x, prInt32); });
}
Val Range(std::initializer_list<int> bounds) {
  return Make(&TValueRec::DefineRange, [&](TValueRec& v) { v.Range().assign(bounds.begin(), bounds.end()); });
}
Val ExtRange(std::initializer_list<double> x) {
  return Make(&TValueRec::DefineExtRange, [&](TValueRec& v) { Fill(*v.ExtRangeValue(), 1, Count(x), x); });
}

Val Sample(TValueType t) {
  // In the order of TValueType; a custom value holds no object.
  static const char* const kSamples[] = {"?",        "2.5",       "1:3",      "'s'",       "1+2i",
                                         "[1,2,3]",  "2",         "i[1,2,3]", "i[1,2,3;]", "true",
                                         "b[1,0,1]", "b[1,0,1;]", "[1,2,3;]"};
  if (t != vtCustomValue) return V(kSamples[t]);
  Val v = Undef();
  v->DefineCustomValue();
  return v;
}

TExprWord* SelectWord(std::size_t args) {
  static TExprFunction s1("select", _Select1, 2, 1, ""), s2("select", _Select2, 3, 1, ""),
      s3("select", _Select3, 4, 1, "");
  return args == 2 ? &s1 : args == 3 ? &s2 : &s3;
}

TExprWord* AssignWord(std::size_t args) {
  static TExprFunction a3("assign", _Assign3, 3, 1, "assign(Dst, Range, Src): assign Src to Dst(Range)"),
      a4("assign", _assign4, 4, 1, "assign(Dst, Range1, Range2, Src): assign Src to Dst(Range1, Range2)");
  return args == 3 ? &a3 : &a4;
}

namespace {
// The word a node named `op` with `args` arguments runs.
TExprWord* WordNamed(const std::string& op, std::size_t args) {
  if (op == "select") return SelectWord(args);
  return op == "assign" ? AssignWord(args) : Operators::Get().Word(op);
}

// The parts of text between separators (an empty text has none).
std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) parts.push_back(part);
  return parts;
}
// Whether a number's text has an imaginary part ("1+2i", "0+INFi").
bool IsComplexText(const std::string& t) { return !t.empty() && t.back() == 'i'; }
// Sizes a real container to rows x cols and fills it with the numbers written in cells (complex when any
// is).
void FillText(TNubraVec& dst, int rows, int cols, const std::vector<std::string>& cells) {
  bool complex = false;
  for (const std::string& cell : cells) complex = complex || IsComplexText(cell);
  dst.SizeShape(rows, cols, complex);
  for (int i = 0; i < rows * cols; ++i) {
    if (complex) {
      dst.CValues(i) = StrToCplx(cells[i]);
    } else {
      dst.Values(i) = StrToSample(cells[i]);
    }
  }
}
}  // namespace

Val V(const std::string& text) {
  static const std::regex array(R"(^(i16|u8|i|b)?\[(.*)\]$)"), integer(R"(^[+-]?\d+$)");
  std::smatch m;
  if (text == "?") return Undef();
  if (text == "true" || text == "false") return Bool(text == "true");
  if (text.front() == '\'') return Str(text.substr(1, text.size() - 2));
  if (std::regex_match(text, m, array)) {
    const std::string kind = m[1];
    std::vector<std::string> rows = Split(m[2], ';');
    const bool matrix = m[2].str().find(';') != std::string::npos;
    std::vector<std::string> cells;
    for (const std::string& row : rows)
      for (const std::string& cell : Split(row, ',')) cells.push_back(cell);
    const int n = static_cast<int>(cells.size()), r = matrix ? static_cast<int>(rows.size()) : 1, c = n / r;
    Val v = Undef();
    if (kind.empty()) {
      matrix ? v->DefineMatrix() : v->DefineVector();
      FillText(*(matrix ? static_cast<TNubraVec*>(v->MatrixField()) : v->VectorField()), r, c, cells);
      return v;
    }
    if (kind == "b") {
      matrix ? v->DefineBoolMatrix() : v->DefineBoolVector();
    } else {
      matrix ? v->DefineIntMatrix() : v->DefineIntVector();
    }
    TNubraInt& x = matrix ? static_cast<TNubraInt&>(*v->IntMatrixField()) : *v->IntVectorField();
    x.SizeShape(r, c, kind == "i16" ? prInt16 : kind == "u8" ? prUInt8 : prInt32);
    for (int i = 0; i < n; ++i) x.Set(i, std::stoi(cells[i]));
    return v;
  }
  if (text.front() == '~' || text.find(':') != std::string::npos) {
    const bool ext = text.front() == '~';
    const std::vector<std::string> bounds = Split(text.substr(ext), ':');
    Val v = Undef();
    if (ext) {
      v->DefineExtRange();
      FillText(*v->ExtRangeValue(), 1, static_cast<int>(bounds.size()), bounds);
    } else {
      v->DefineRange();
      for (const std::string& b : bounds) v->Range().push_back(std::stoi(b));
    }
    return v;
  }
  if (IsComplexText(text)) {
    const TCplx z = StrToCplx(text);
    return Cplx(z.real(), z.imag());
  }
  return std::regex_match(text, integer) ? Int(std::stoll(text)) : Dbl(StrToSample(text));
}

std::string Show(TValueRec& v) {
  std::string text;
  switch (v.ValueType()) {
    case vtUndefined:
    case vtCustomValue:
      break;
    case vtString:
      text = v.StringValue();
      break;
    case vtRangeValue:
      if (v.ExtRange()) {
        const TVec& r = *v.ExtRangeValue();
        for (int i = 0; i < r.Length(); ++i)
          text += (i ? ":" : "~") + (r.Complex() ? CplxToStr(r.CValues(i)) : SampleToStr(r.Values(i)));
      } else {
        for (int b : v.Range()) text += (text.empty() ? "" : ":") + std::to_string(b);
      }
      break;
    case vtIntegerValue:
      text = v.AsString();
      if (v.DoubleValue() != static_cast<double>(v.IntegerValue())) text += " (double copy differs)";
      break;
    default:
      text = v.AsString();
  }
  return ValTypeName(v.ValueType()) + (text.empty() ? "" : " " + text);
}

std::string Eval(TExprWord* word, const std::vector<TValueRec*>& args) {
  NodeRunner run(word, args);
  bool threw = false;
  const auto once = [&]() -> std::string {
    try {
      threw = false;
      return Show(run.Eval());
    } catch (const std::exception& e) {
      threw = true;
      return e.what();
    }
  };
  // The first run dispatches; the second runs the routine the dispatch left in the node.
  const std::string first = once(), second = once();
  if (first != second) return "first run: " + first + "; second run: " + second;
  // A write's result shows its destination, which must hold the same.
  const bool write = word->Name() == "=" || word->Name() == "assign";
  if (write && !threw && Show(*args[0]) != second)
    return "result: " + second + "; destination: " + Show(*args[0]);
  return second;
}

std::string Eval(TExprWord* word, const std::vector<std::string>& args) {
  std::vector<Val> values;
  std::vector<TValueRec*> raw;
  for (const std::string& a : args) raw.push_back(values.emplace_back(V(a)).get());
  return Eval(word, raw);
}

std::string Eval(const std::string& op, const std::vector<std::string>& args) {
  return Eval(WordNamed(op, args.size()), args);
}

void CheckCases(const std::vector<OpCase>& cases, TExprWord* word) {
  for (const OpCase& c : cases) {
    std::string what = c.op;
    for (const std::string& a : c.args) what += " " + a;
    EXPECT_EQ(word ? Eval(word, c.args) : Eval(c.op, c.args), c.expected) << what;
  }
}

void CheckRefused(const std::vector<OpCase>& cases) {
  for (const OpCase& c : cases) {
    std::vector<Val> values;
    std::vector<TValueRec*> raw;
    for (const std::string& a : c.args) raw.push_back(values.emplace_back(V(a)).get());
    const std::string before = Show(*raw[0]);
    EXPECT_EQ(Eval(WordNamed(c.op, raw.size()), raw), c.expected);
    EXPECT_EQ(Show(*raw[0]), before) << "refused, yet written or resized: " << c.expected;
  }
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
    : NodeRunner(WordNamed(op, args.size()), args) {}

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
