// Test support: value factories and a text notation for values, the operator words, a runner that evaluates
// one node of a word with given argument records the way a compiled script would, and one-line table cases
// checked through it.
#pragma once

#include <complex>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "lang/operators/operators.h"
#include "support/core_helper.h"

namespace zel::test {

using Val = std::unique_ptr<TValueRec>;

Val Undef();
Val Dbl(double x);
Val Int(std::int64_t i);
Val Bool(bool b);
Val Cplx(double re, double im);
Val Str(const std::string& s);
Val Vec(std::initializer_list<double> v);
Val CVec(std::initializer_list<TCplx> v);
// Row-major values.
Val Mat(int rows, int cols, std::initializer_list<double> v);
Val IntVec(std::initializer_list<int> v, TIntPrecision p = prInt32);
Val IntMat(int rows, int cols, std::initializer_list<int> v, TIntPrecision p = prInt32);
Val BoolVec(std::initializer_list<int> v);
Val BoolMat(int rows, int cols, std::initializer_list<int> v);
// An integer range (2 or 3 bounds) and an extended range (2 or 3 real bounds).
Val Range(std::initializer_list<int> bounds);
Val ExtRange(std::initializer_list<double> bounds);
// A small sample value of type t (range: the integer range 1:3), for sweeps over all types.
Val Sample(TValueType t);

// The words the function library registers for reads a(...) ("select", 2 to 4 arguments) and writes
// a(...) = y ("assign", 3 or 4 arguments), so that this layer's tests can run them.
TExprWord* SelectWord(std::size_t args);
TExprWord* AssignWord(std::size_t args);

// A value written as text, so that a table case fits on one line:
//   5 integer, 2.5 / 1e3 / nan double, 1+2i / 2i / -i complex, true / false, 's' string, ? undefined,
//   1:3 / 4:-1:0 integer range, ~0.5:2 extended range (~0+1i:2 complex), [1,2] real vector ([1+1i,2]
//   complex), [1,2;3,4] matrix ([1,2;] one row), and i[...] / i16[...] / u8[...] integer and b[...] bool
//   kinds.
Val V(const std::string& text);
// A result as text: the type name and the contents (AsString; strings as they are, ranges as their bounds
// "1:3", extended ranges "~0:0.5:2"). An integer whose double copy disagrees is marked.
std::string Show(TValueRec& v);

// The symbol table holding the operator words.
class Operators {
 public:
  static const Operators& Get();
  TExprWord* Word(const std::string& name) const;  // fails the test (throws) when absent
  const TWordList& Words() const { return fWords; }

 private:
  Operators();
  TWordList fWords;
  TExprWord* fColon = nullptr;
  TExprWord* fAssign = nullptr;
};

// One node bound to a word (by name from the operator table, or given) and to argument records owned by
// the caller. A null argument stands for an absent operand.
class NodeRunner {
 public:
  NodeRunner(const std::string& op, std::vector<TValueRec*> args);
  NodeRunner(TExprWord* word, std::vector<TValueRec*> args);
  // Runs the node's Oper once (the first run dispatches and rewrites Oper).
  TValueRec& Eval();
  // Runs it twice, so the specialised routine is exercised too, and returns the result.
  TValueRec& EvalTwice();
  TExprRec& Node() { return fNode; }

 private:
  TExprRec fNode;
};

// Runs a node of `op` (an operator's name, "select", "assign" or a word) twice over the arguments (written as
// for V, or owned by the caller) and gives Show of the result, or the message of the exception; both runs
// must agree.
std::string Eval(const std::string& op, const std::vector<std::string>& args);
std::string Eval(TExprWord* word, const std::vector<std::string>& args);
std::string Eval(TExprWord* word, const std::vector<TValueRec*>& args);

// A table case: an operator's name over arguments written as for V, and the Eval text expected.
struct OpCase {
  std::string op;
  std::vector<std::string> args;
  std::string expected;
};
// Checks every case (with `word` in place of the named operator when given), naming the failing ones.
void CheckCases(const std::vector<OpCase>& cases, TExprWord* word = nullptr);
// Checks cases whose expected text is a message, and that the refused node left its first argument (the
// destination of a write) as it was.
void CheckRefused(const std::vector<OpCase>& cases);

}  // namespace zel::test
