// Lines tuned after their first run: real scalar arithmetic as machine code (script/fuse_scalar.cpp),
// checked by running each script with and without that code (the same bits in every variable, the same
// messages, the same results when a guard fails part-way), and for-loops that run their own passes
// (script/loop_run.cpp; their step budget is checked with the other stop tests).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <vector>

#include "lang/operators/scalar_ops.h"
#include "script/expression.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

// The type and the exact bits of every listed variable after the script ran twice under a step limit
// (0: none), or the message it raised. Where two NaNs meet in an operation, which comes out is open
// (IEEE 754; compilers order the operands of a commutative operation as they like): `nanAsNan` shows
// every NaN alike for scripts where that can happen.
std::string Outcome(const std::string& script, std::initializer_list<const char*> vars, bool native,
                    std::uint64_t limit = 0, bool nanAsNan = false) {
  SetNativeCode(native);
  TZelExpression x;
  x.DefineDouble("h").SetDoubleValue(-0.0);
  x.SetMaxSteps(limit);
  std::string out;
  try {
    x.SetExpressions(script);
    x.EvaluateCompiled();
    x.EvaluateCompiled();  // the second run takes the tuned lines from the start
  } catch (const std::exception& e) {
    out = std::string("error: ") + e.what() + "; ";
  }
  for (const char* v : vars) {
    const TValueRec* r = x.VarByName(v);
    if (!r) continue;
    const double d = r->DoubleValue();
    out += std::string(v) + ":" + std::to_string(r->ValueType()) + ":";
    if (r->ValueType() == vtBoolValue) {
      out += r->BoolValue() ? "true " : "false ";
    } else if (r->ValueType() == vtIntegerValue) {
      out += std::to_string(r->IntegerValue()) + "/" + std::to_string(std::bit_cast<std::uint64_t>(d)) + " ";
    } else {
      out += (nanAsNan && std::isnan(d) ? "nan" : std::to_string(std::bit_cast<std::uint64_t>(d))) + " ";
    }
  }
  SetNativeCode(true);
  return out;
}

TEST(NativeCode, SameBitsAsTheNodes) {
  const struct {
    const char* script;
    std::initializer_list<const char*> vars;
  } cases[] = {
      {"s = 0.0\nfor i = 1:1000\ns = s + i*0.5\nend", {"s", "i"}},
      {"a = 1.1\nb = -2.3\nfor k = 1:3\ny = sqrt(a^2+b^2) - a/b*(-a) + abs(b)^3\na = a*1.5\nend", {"y", "a"}},
      {"a = 0.7\nfor k = 1:4\ny = a^2 + a^3 - a^(-2) + a^0 + a^1 + a^2.0 + a^0.5 + a^17\na = -a*2\nend",
       {"y"}},
      {"a = -8.0\nfor k = 1:2\ny = a^(1/3) + sqrt(a) + (a-a)/(a-a) + 1/(a-a)\nend", {"y"}},
      {"for k = 1:2\ny = -h + abs(h) * 2\nz = -(h*h)\nw = +h - h\nend", {"y", "z", "w"}},
      {"a = 2.0\nfor k = 1:3\ny = exp(a) * ln(a) + sin(cos(tan(a))) - sqr(a)/cbrt(a)\nend", {"y"}},
      {"a = 1e308\nfor k = 1:2\ny = a*a - a*a\nz = (a*10)^2 + (1/a)^16\nend", {"y", "z"}},
      {"a = 3.0\nfor k = 1:3\ny = ((((((7*a+6)*a+5)*a+4)*a+3)*a+2)*a+1)*a+0.1\nend", {"y"}},
      {"x = 0.25\nn = 3\nfor k = 1:3\ny = x^n - n*x\nn = n - 2\nend", {"y", "n"}},
      // Constant whole exponents are multiplied out in the code: signs, zeros, infinities, NaNs of
      // either sign.
      {"a = 0.0/0.0\nb = -a\nc = -1e200\nfor k = 1:2\nw = a^4\nv = b^3.0\nu = h^3 + h^16\n"
       "t = c^3 * c^4.0 - (c/1e300)^15\ns = (-1.5)^7 + (-1.5)^8 + 1.5^16 + 0.1^0 + b^0\nend",
       {"w", "v", "u", "t", "s"}},
      {"a = 2.0\nb = 0\nfor k = 1:3\ny = a * sum([1,2,3]) / a\nend", {"y", "b"}},
      // Roundings (one instruction in the code): halves, signed zeros, a subnormal, 2^52 + 1, NaN, infinity.
      {"b = 2.5\nc = -0.5\nd = 1e-310\ng = 4503599627370497.0\nf = 0.0/0.0\nfor k = 1:2\n"
       "w = floor(b*1) + ceil(c*1) + trunc(-b*1) + round(b*1)\nx = round(c*1)\ny = floor(-d*1)\n"
       "z = ceil(d*1) + trunc(g*1) + round(-b*1)\nu = floor(f*1)\nv = ceil(h*1)\nt = trunc(1/h*1)\n"
       "r = round(1.5*1) - round(g*1)\nend",
       {"w", "x", "y", "z", "u", "v", "t", "r"}},
      // Integer lines (checked 64-bit arithmetic, the store with its double mirror); an overflow in the
      // code hands the line to the nodes, which raise it; a variable turned real fails the store's guard.
      {"k = 0\nm = 3\nfor i = 1:5\nk = k + 1\nm = m*k - i\nn = (k + m)*(k - m) - 7\nend",
       {"k", "m", "n", "i"}},
      {"k = 9223372036854775000\nfor i = 1:2000\nk = k + 1\nend", {"k", "i"}},
      {"k = -3\nfor i = 1:100\nk = k*k - 1\nend", {"k", "i"}},
      {"k = 9007199254740993\nfor i = 1:3\nk = k*1 + i\nend", {"k"}},
      {"k = 1\nfor i = 1:4\nk = k + 1\nif i == 2\nundefine(k)\nk = 2.5\nend\nend", {"k", "i"}},
      // Comparisons of computed doubles: NaNs, signed zeros, infinities, every operator.
      {"a = 0.0/0.0\nb = 1.5\nfor k = 1:2\np = (b+h) < sqrt(b)\nq = (a*b) <> (a*b)\nr = (b*2) == (b+b)\n"
       "u = (h*1) >= -h\nv = (a+1) <= b\nw = (b-3) > (a-1)\nx = (1/h) < (b*0)\ny = (b*1) <= (b+0)\n"
       "z = (a+b) == (a+b)\nc = (b/0) > (b*1e308)\nd = (a-b) >= (a-b)\nend",
       {"p", "q", "r", "u", "v", "w", "x", "y", "z", "c", "d"}},
      // The stored variable changes its type: the store's guard fails and the assignment converts.
      {"a = 1.5\nfor k = 1:3\ny = a*2 + 1\nz = y\nundefine(y)\ny = 7\nend", {"y", "z"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Outcome(c.script, c.vars, true), Outcome(c.script, c.vars, false)) << c.script;
  }
}

// Random trees of every fused operation (deep ones spill to the stack, constant and variable powers,
// functions) in loops, under small step limits: the same bits both ways.
std::string RandomTree(std::mt19937& g, int depth) {
  const auto pick = [&](std::initializer_list<const char*> l) { return *(l.begin() + g() % l.size()); };
  if (depth <= 0 || g() % 5 == 0) return pick({"a", "s", "t", "i", "0.5", "-0.0", "3", "1e300", "2.0"});
  switch (g() % 6) {
    case 0:
    case 1:
      return "(" + RandomTree(g, depth - 1) + pick({"+", "-", "*", "/"}) + RandomTree(g, depth - 1) + ")";
    case 2:
      return "-" + RandomTree(g, depth - 1);
    case 3:
      return RandomTree(g, depth - 1) + "^" + pick({"2", "3", "7", "16", "17", "0", "-2", "3.0", "0.5", "i"});
    default:
      return std::string(pick({"sin", "sqrt", "abs", "exp", "floor", "round", "ceil", "trunc"})) + "(" +
             RandomTree(g, depth - 1) + ")";
  }
}

TEST(NativeCode, RandomTreesGiveTheSameBits) {
  std::mt19937 g(20261206);
  for (int n = 0; n < 150; ++n) {
    std::string script = "a = 1.7\ns = 0.1\nt = -2.5\nfor i = " + std::to_string(int(g() % 7) - 3) +
                         (g() % 2 ? ":2:" : ":") + std::to_string(g() % 30) + "\n";
    for (int k = 0; k < 1 + int(g() % 3); ++k)
      script += std::string(g() % 2 ? "s" : "t") + " = " + RandomTree(g, 1 + g() % 9) + "\n";
    const char* const compare[] = {"<", "<=", ">", ">=", "==", "<>"};
    script += "c = " + RandomTree(g, 1 + g() % 4) + compare[g() % 6] + RandomTree(g, 1 + g() % 4) + "\n";
    script += "end";
    const std::uint64_t limit = g() % 3 ? 0 : 20 + g() % 40;
    EXPECT_EQ(Outcome(script, {"s", "t", "i", "c"}, true, limit, true),
              Outcome(script, {"s", "t", "i", "c"}, false, limit, true))
        << script;
  }
}

// A kernel that raises: the error of the first such call reaches the caller, and the variable keeps
// its value, as when the nodes run.
double Refuse(double x) {
  if (x > 1) throw std::runtime_error("too big");
  return x;
}
void RefuseRoutine(TExprRec& e) {
  e.Res->DefineDouble();
  e.Res->SetDoubleValue(Refuse(e.Args[0]->DoubleValue()));
}

TEST(NativeCode, KernelErrorsReachTheCaller) {
  RegisterScalarOp(RefuseRoutine, {TScalarOpKind::Call, Refuse});
  for (const bool native : {true, false}) {
    SetNativeCode(native);
    TZelExpression x;
    x.DefineFunction("refuse", RefuseRoutine, 1);
    TDoubleValue& a = x.DefineDouble("a");
    TDoubleValue& y = x.DefineDouble("y");
    x.SetExpressions("y = refuse(a*2) + 1");
    a.SetDoubleValue(0.25);
    x.Evaluate();
    x.Evaluate();
    EXPECT_EQ(y.DoubleValue(), 1.5);
    a.SetDoubleValue(1.0);
    EXPECT_THROW(x.Evaluate(), std::runtime_error);
    EXPECT_EQ(y.DoubleValue(), 1.5);
    a.SetDoubleValue(0.5);
    EXPECT_EQ(x.Evaluate()->DoubleValue(), 2.0);
  }
  SetNativeCode(true);
}

// A host function whose result is a double at first and an integer later: the code reads the fields
// the nodes' routines read, with the same results as without machine code.
void DoubleThenInteger(TExprRec& e) {
  e.Res->Undefine();
  if (e.Args[0]->DoubleValue() > 1) {
    e.Res->DefineInteger();
    e.Res->SetIntegerValue(3);
  } else {
    e.Res->DefineDouble();
    e.Res->SetDoubleValue(0.5);
  }
}

TEST(NativeCode, OperandTypeChangesGiveTheNodesResults) {
  std::string outcome[2];
  for (const bool native : {true, false}) {
    SetNativeCode(native);
    TZelExpression x;
    x.DefineFunction("flip", DoubleThenInteger, 1);
    x.SetExpressions("s = 0.0\r\nfor k = 1:4\r\ns = s + 1.5 * flip(k) / 4\r\nt = k*s\r\nend");
    x.EvaluateCompiled();
    outcome[native] = std::to_string(x.VarByName("s")->DoubleValue()) + " " +
                      std::to_string(x.VarByName("t")->DoubleValue());
  }
  SetNativeCode(true);
  EXPECT_EQ(outcome[1], outcome[0]);
  EXPECT_EQ(outcome[1], "3.562500 14.250000");  // 1.5·(0.5 + 3·3)/4, and 4·s
}

// Loops whose passes run as machine code keep the stored variables in registers: under every step limit
// the run stops at the same line with the same values as on the nodes.
TEST(TunedLoop, MachineCodePassesStopWhereTheNodesStop) {
  const char* script = "s = 0.0\nt = 1.0\nfor i = 1:100\ns = s + i*0.5\nt = t*0.5 + s/3\nend\nu = s + t";
  for (const std::uint64_t limit : {5, 9, 10, 11, 12, 150, 303, 304, 305, 0})
    EXPECT_EQ(Outcome(script, {"s", "t", "i", "u"}, true, limit),
              Outcome(script, {"s", "t", "i", "u"}, false, limit))
        << limit;
}

// An error in a pass that a tuned loop runs names the line it came from, as the same lines run
// without a loop do.
TEST(TunedLoop, ErrorsNameTheirLine) {
  const auto message = [](const char* script) {
    TZelExpression x;
    x.SetExpressions(script);
    try {
      x.EvaluateCompiled();
    } catch (const std::exception& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  const std::string inLoop = message("for i = 1:5\nk = i\nv = [1,2](i)\nend");
  EXPECT_EQ(inLoop, message("i = 2\nk = i\nv = [1,2](i)"));
  EXPECT_EQ(inLoop.rfind("Line 2: ", 0), 0u) << inLoop;
  // The same in a branch that first runs in a tuned pass.
  const std::string inBranch = message("for i = 1:5\nif i > 2\nv = [1,2,3](i)\nend\nend");
  EXPECT_EQ(inBranch, message("i = 3\nif i > 2\nv = [1,2,3](i)\nend"));
  EXPECT_EQ(inBranch.rfind("Line 2: ", 0), 0u) << inBranch;
}

#if defined(__linux__)
// Expression objects share the mappings of their code: hundreds of them alive at once add a handful of
// mappings to the process, not hundreds (the kernel's limit is 65530 by default).
TEST(NativeCode, ManyExpressionObjectsShareTheirCodeMappings) {
  // The code's mappings are named after their memory file.
  const auto mappings = [] {
    std::ifstream maps("/proc/self/maps");
    int n = 0;
    for (std::string line; std::getline(maps, line);) n += line.find("zel-code") != std::string::npos;
    return n;
  };
  const auto before = mappings();
  std::vector<std::unique_ptr<TZelExpression>> all;
  for (int k = 0; k < 600; ++k) {
    auto x = std::make_unique<TZelExpression>();
    x->DefineDouble("a").SetDoubleValue(k);
    x->SetExpressions("y = a*a + 1");
    x->Evaluate();
    ASSERT_EQ(x->Evaluate()->DoubleValue(), double(k) * k + 1);
    all.push_back(std::move(x));
  }
  EXPECT_LE(mappings() - before, 8);  // 600 pages of code: 3 chunks, each mapped twice
}
#endif

TEST(NativeCode, ReRunsAllocateNothing) {
  TZelExpression x;
  TDoubleValue& a = x.DefineDouble("a");
  x.DefineDouble("b").SetDoubleValue(2);
  x.SetExpressions("s = 0.0\r\nfor i = 1:100\r\ns = s + sqrt(a^2+b^2)*i\r\nend\r\ny = s/a");
  a.SetDoubleValue(1);
  x.EvaluateCompiled();
  AllocationCounter allocations;
  for (int k = 0; k < 10; ++k) {
    a.SetDoubleValue(1 + k);
    x.EvaluateCompiled();
  }
  EXPECT_EQ(allocations.Count(), 0u);
  EXPECT_NEAR(x.VarByName("y")->DoubleValue(), 5050 * std::sqrt(100.0 + 4) / 10, 1e-9);
}

}  // namespace
}  // namespace zel::test
