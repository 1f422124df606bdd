// Test support for the function library: the symbol tables RegisterBuiltins fills (one per concatenation
// variant), result types over every argument type, one-line table cases run through a node of a registered
// function, the allocation check of a node's second run, and a script line's outcome.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "library/functions.h"
#include "script/expression.h"
#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {

// The sorted words of RegisterBuiltins.
class Functions {
 public:
  static const Functions& Get(bool concatsAlwaysReal = true) {
    static const Functions real(true), keepInt(false);
    return concatsAlwaysReal ? real : keepInt;
  }
  TExprWord* Word(const std::string& name) const {
    int index = 0;
    if (!fWords.Find(name, index)) throw std::logic_error("no function word " + name);
    return fWords[index];
  }
  const TWordList& Words() const { return fWords; }
  const TBuiltinWords& Refs() const { return fRefs; }

 private:
  explicit Functions(bool concatsAlwaysReal) {
    fRefs = RegisterBuiltins(fWords, {.concatsAlwaysReal = concatsAlwaysReal});
    fWords.Sort();
  }
  TWordList fWords;
  TBuiltinWords fRefs;
};

// Show of a value, with the precision of 16- and 8-bit integer arrays: "integer vector 1; 2 (8-bit)".
inline std::string ShowBits(TValueRec& v) {
  const TValueType t = v.ValueType();
  if (t != vtIntVectorValue && t != vtIntMatrixValue) return Show(v);
  const TIntPrecision p = v.IntElements().IntPrecision();
  return Show(v) + (p == prInt16 ? " (16-bit)" : p == prUInt8 ? " (8-bit)" : "");
}

// The numbers of a scalar, vector or matrix (complex as re, im pairs) with its shape (vectors 1 x n).
struct Numbers {
  int rows = 1, cols = 1;
  bool complex = false;
  std::vector<double> values;
};
inline Numbers NumbersOf(TValueRec& v) {
  Numbers n;
  const TValueType t = v.ValueType();
  if (t == vtDoubleValue || t == vtIntegerValue || t == vtComplexValue) {
    const TCplx z = t == vtComplexValue ? v.ComplexValue() : TCplx(v.DoubleValue());
    n.complex = t == vtComplexValue;
    n.values = n.complex ? std::vector<double>{z.real(), z.imag()} : std::vector<double>{z.real()};
    return n;
  }
  const bool integer = t == vtIntVectorValue || t == vtIntMatrixValue;
  const TNubra& shape = integer ? static_cast<const TNubra&>(v.IntElements()) : v.RealElements();
  n.rows = shape.Rows();
  n.cols = shape.Cols();
  if (integer) {
    for (int i : Values(v.IntElements())) n.values.push_back(i);
  } else {
    n.complex = v.RealElements().Complex();
    n.values = Values(v.RealElements());
  }
  return n;
}

// A node of the function `name` over arguments written as for V; the records live as long as the node.
struct FnNode {
  FnNode(const std::string& name, const std::vector<std::string>& args, bool concatsAlwaysReal = true)
      : word(Functions::Get(concatsAlwaysReal).Word(name)) {
    std::vector<TValueRec*> raw;
    for (const std::string& a : args) raw.push_back(values.emplace_back(V(a)).get());
    run = std::make_unique<NodeRunner>(word, raw);
  }
  // ShowBits of the result, or the message of the exception (then `failed` is set).
  std::string Once() {
    try {
      failed = false;
      return ShowBits(run->Eval());
    } catch (const std::exception& e) {
      failed = true;
      return e.what();
    }
  }
  TExprWord* word;
  std::vector<Val> values;
  std::unique_ptr<NodeRunner> run;
  bool failed = false;
};

// The core object a container record holds, or null.
inline const void* ObjectOf(const TValueRec& v) {
  if (v.VectorField()) return v.VectorField();
  if (v.MatrixField()) return v.MatrixField();
  return v.IntVectorField() ? static_cast<const void*>(v.IntVectorField()) : v.IntMatrixField();
}

// Runs the node twice (dispatch, then the routine it chose) and gives the text both runs agree on; after a
// run that ends, " | " and Show of each output argument follow (an array result must be the first output's
// object). A refusal of the argument types must leave the result undefined.
inline std::string Fn(const std::string& name, const std::vector<std::string>& args,
                      bool concatsAlwaysReal = true) {
  FnNode node(name, args, concatsAlwaysReal);
  const std::string first = node.Once(), text = node.Once();
  if (first != text) return "first run: " + first + "; second run: " + text;
  TValueRec& result = *node.run->Node().Res;
  if (text.starts_with("Unsupported value types") && result.ValueType() != vtUndefined)
    return text + " (result defined before the refusal)";
  const std::size_t outputs = std::min(static_cast<std::size_t>(node.word->NResultArg()), args.size());
  if (node.failed || outputs == 0) return text;
  std::string out = text;
  for (std::size_t i = args.size() - outputs; i < args.size(); ++i) out += " | " + ShowBits(*node.values[i]);
  if (ObjectOf(result) && ObjectOf(result) != ObjectOf(*node.values[args.size() - outputs]))
    out += " (the result is not the first output)";
  return out;
}

// Checks every case (op: the function's name) as Fn, naming the failing ones.
inline void CheckFunctions(const std::vector<OpCase>& cases, bool concatsAlwaysReal = true) {
  for (const OpCase& c : cases) {
    std::string what = c.op;
    for (const std::string& a : c.args) what += " " + a;
    EXPECT_EQ(Fn(c.op, c.args, concatsAlwaysReal), c.expected) << what;
  }
}

// Checks `name` over a sample of every value type. `kinds` gives the result type per argument type in
// TValueType order, "-" where the type is refused (the result left undefined): D double, I integer, C
// complex, V vector, M matrix, IV / IM integer and B / BV / BM boolean kinds. An accepted sample may still be
// refused by the routine: `refusal` gives that message (then the result must be defined), or "".
inline void CheckResultTypes(const std::string& name, const std::string& kinds,
                             const std::function<std::string(TValueType)>& refusal = nullptr) {
  static const std::map<std::string, TValueType> types = {
      {"D", vtDoubleValue},      {"C", vtComplexValue},    {"V", vtVectorValue},     {"M", vtMatrixValue},
      {"I", vtIntegerValue},     {"IV", vtIntVectorValue}, {"IM", vtIntMatrixValue}, {"B", vtBoolValue},
      {"BV", vtBoolVectorValue}, {"BM", vtBoolMatrixValue}};
  std::istringstream byType(kinds);
  int i = 0;
  for (std::string kind; byType >> kind; ++i) {
    const auto type = static_cast<TValueType>(i);
    const std::string context = name + " " + ValTypeName(type), message = refusal ? refusal(type) : "";
    Val arg = Sample(type);
    NodeRunner run(Functions::Get().Word(name), {arg.get()});
    if (kind == "-") {
      EXPECT_EQ(MessageOf([&] { run.Eval(); }),
                type == vtUndefined ? std::string(UnknownExprWord)
                                    : "Unsupported value types: " + name + " ( " + ValTypeName(type) + " )")
          << context;
      EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << context;
    } else if (!message.empty()) {
      EXPECT_EQ(MessageOf([&] { run.Eval(); }), message) << context;
      EXPECT_EQ(run.Node().Res->ValueType(), types.at(kind)) << context << ": result defined before raising";
    } else {
      EXPECT_EQ(run.EvalTwice().ValueType(), types.at(kind)) << context;
      EXPECT_NE(run.Node().Oper, Functions::Get().Word(name)->Func()) << context << ": dispatch not cached";
    }
  }
  EXPECT_EQ(i, ValueTypeCount) << name;
}

// The allocations of a node's second run over unchanged arguments (it must make none).
inline std::size_t SecondRunAllocations(const std::string& name, const std::vector<std::string>& args,
                                        bool concatsAlwaysReal = true) {
  FnNode node(name, args, concatsAlwaysReal);
  node.run->Eval();
  AllocationCounter allocations;
  node.run->Eval();
  return allocations.Count();
}

// The outcome of a script through the expression object: Show of the last line's value, or the message.
inline std::string Script(const std::string& text) {
  TZelExpression x;
  try {
    x.SetExpressions(text);
    TValueRec* r = x.EvaluateCompiled();
    return r ? Show(*r) : "no result";
  } catch (const std::exception& e) {
    return e.what();
  }
}

}  // namespace zel::test
