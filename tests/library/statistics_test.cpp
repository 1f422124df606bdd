// Reductions, statistics, vector norms, sizes and matrix measures: values against NumPy/SciPy
// (reference/statistics.inc), result types over every argument type, the functions' own messages and edge
// cases, accuracy on long and badly conditioned data, and evaluation without allocation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "library_helper.h"
#include "support/alloc_counter.h"

namespace zel::test {
namespace {

TExprWord* Word(const std::string& name) { return Functions::Get().Word(name); }

// A call with arguments in the value notation of V, and the numbers expected (complex as re, im).
struct Reference {
  const char* name;
  std::vector<std::string> args;
  std::vector<double> expected;
};

const Reference kReferences[] = {
#include "reference/statistics.inc"
};

TEST(Statistics, MatchNumPyAndSciPy) {
  for (const Reference& r : kReferences) {
    std::vector<Val> values;
    std::vector<TValueRec*> raw;
    for (const std::string& a : r.args) raw.push_back(values.emplace_back(V(a)).get());
    NodeRunner run(Word(r.name), raw);
    const std::vector<double> got = Snap(run.EvalTwice()).values;
    ASSERT_EQ(got.size(), r.expected.size()) << r.name << " " << r.args[0];
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_NEAR(got[i], r.expected[i], 1e-13 * std::max(1.0, std::abs(r.expected[i])))
          << r.name << " " << r.args[0] << " [" << i << "]";
  }
}

constexpr TValueType D = vtDoubleValue, I = vtIntegerValue, C = vtComplexValue, V_ = vtVectorValue,
                     M = vtMatrixValue, R = vtRangeValue, S = vtString, IV = vtIntVectorValue,
                     IM = vtIntMatrixValue, B = vtBoolValue, BV = vtBoolVectorValue, BM = vtBoolMatrixValue;

// Result type per argument type of the sample values (real data); every other type is refused.
TEST(Statistics, ResultTypeOfEveryArgumentType) {
  using Types = std::map<TValueType, TValueType>;
  const Types sumLike = {{D, D}, {I, I}, {C, C}, {V_, D}, {M, D}, {IV, I}, {IM, I}};
  const Types realData = {{V_, D}, {M, D}};
  const Types sizes = {{D, I}, {I, I},  {C, I},  {B, I},  {S, I}, {V_, I},
                       {M, I}, {IV, I}, {IM, I}, {BV, I}, {BM, I}};
  const std::pair<const char*, Types> sweeps[] = {
      {"sum", sumLike},
      {"Min", sumLike},
      {"max", sumLike},
      {"product", {{D, D}, {I, D}, {C, C}, {V_, D}, {M, D}}},
      {"mean", {{D, D}, {I, D}, {C, C}, {V_, D}, {M, D}, {IV, D}, {IM, D}}},
      {"rms", realData},
      {"StdDev", realData},
      {"kurtosis", realData},
      {"skewness", realData},
      {"median", {{V_, D}, {IV, I}, {M, M}, {IM, IM}}},
      {"normc", {{V_, D}, {M, M}}},
      {"SumOfSqr", {{V_, D}, {M, M}}},
      {"length", sizes},
      {"rows", sizes},
      {"Cols", sizes},
      {"iscomplex", {{D, B}, {I, B}, {R, B}, {C, B}, {V_, B}, {M, B}, {IV, B}, {IM, B}}},
      {"meanrows", {{M, V_}}},
      {"StdDevCols", {{M, V_}}},
      {"sumcols", {{M, V_}, {IM, IV}}},
      {"norminf", {{M, D}}},
      {"trace", {{M, D}}},
      {"zscore", {{M, M}}},
  };
  for (const auto& [name, types] : sweeps) {
    for (int t = 0; t < ValueTypeCount; ++t) {
      Val x = Sample(static_cast<TValueType>(t));
      const auto found = types.find(static_cast<TValueType>(t));
      const std::string expected = found != types.end() ? ValTypeName(found->second)
                                   : t == vtUndefined
                                       ? UnknownExprWord
                                       : std::string("Unsupported value types: ") + name + " ( " +
                                             ValTypeName(static_cast<TValueType>(t)) + " )";
      const std::string got = Eval(Word(name), std::vector<TValueRec*>{x.get()});
      EXPECT_EQ(got.substr(0, got.find(' ', expected.size())), expected)
          << name << "(" << ValTypeName(x->ValueType()) << ")";
    }
  }
}

// min(a, b) and max(a, b) over every pair of types.
TEST(Statistics, TwoArgumentExtremesOverEveryTypePair) {
  const std::vector<TValueType> kinds = {D, I, C, V_, IV, IM, M};
  const auto isInt = [](TValueType t) { return t == I || t == IV || t == IM; };
  for (const char* name : {"min", "Max"}) {
    for (int l = 0; l < ValueTypeCount; ++l) {
      for (int r = 0; r < ValueTypeCount; ++r) {
        const auto a = static_cast<TValueType>(l), b = static_cast<TValueType>(r);
        Val x = Sample(a), y = Sample(b);
        const bool known =
            std::count(kinds.begin(), kinds.end(), a) && std::count(kinds.begin(), kinds.end(), b);
        std::string expected = a == vtUndefined || b == vtUndefined ? UnknownExprWord
                               : !known ? std::string("Unsupported value types: ") + name + " ( " +
                                              ValTypeName(a) + ", " + ValTypeName(b) + " )"
                               : a == C || b == C                           ? "complex"
                               : isInt(a) && isInt(b) && (a != I || b != I) ? "integer"
                                                                            : "double";
        const std::string got = Eval(Word(name), std::vector<TValueRec*>{x.get(), y.get()});
        EXPECT_EQ(got.substr(0, expected.size()), expected)
            << name << "(" << ValTypeName(a) << ", " << ValTypeName(b) << ")";
      }
    }
  }
}

// Exact outcomes: the functions' own messages, and cases whose value is evident.
TEST(Statistics, MessagesAndEdgeCases) {
  const OpCase cases[] = {
      {"stddev", {"[1+1i,2]"}, "stddev: Complex parameter is not allowed!"},
      {"Kurtosis", {"[1,2;3,4]"}, "double -1.36"},
      {"Rms", {"[1,2;3+1i,4]"}, "Rms: Complex parameter is not allowed!"},
      {"kurtosis",
       {"[1,2]", "'m'", "1.5"},
       "Kurtosis: Second and Third parameter are not real scalar: string, double"},
      {"Skewness",
       {"[1,2]", "1", "2i"},
       "Skewness: Second and Third parameter are not real/integer scalar: integer, complex"},
      {"skewness", {"'x'", "1", "2"}, "Unsupported value types: skewness ( string, integer, integer )"},
      {"median", {"[1+1i,2]"}, "median: Complex parameter is not allowed!"},
      {"max", {"[1,2]", "[3,-1]"}, "double 3"},
      {"max", {"2", "3"}, "double 3"},
      {"max", {"2", "i[1,5]"}, "integer 5"},
      {"min", {"i[1,5]", "2.5"}, "double 1"},
      {"min", {"[]", "i[4,3]"}, "double 3"},
      {"min", {"nan", "[1,2]"}, "double NAN"},
      {"max", {"[1,nan,3]"}, "double NAN"},
      {"max", {"[2,-3]", "1+1i"}, "complex -3+0i"},
      {"min", {"[]"}, "Min: no elements"},
      {"max", {"[]", "i[]"}, "Max: no elements"},
      {"sum", {"[]"}, "double 0"},
      {"product", {"[]"}, "double 1"},
      {"mean", {"[]"}, "double NAN"},
      {"stddev", {"[5]"}, "double NAN"},
      {"median", {"i[1,2]"}, "integer 2"},  // halves to even
      {"median", {"i[1,4]"}, "integer 2"},
      {"median", {"i[-3,0]"}, "integer -2"},
      {"median", {"[1,nan,2]"}, "double NAN"},
      {"median", {"[1,2,3;6,5,4]"}, "matrix 2; 5"},
      {"median", {"i[]"}, "Median: no elements"},
      {"sum", {"i[2000000000,2000000000]"}, "integer 4000000000"},
      {"sumrows", {"u8[200,100;1,2]"}, "integer vector 300; 3"},
      {"length", {"'héllo'"}, "integer 5"},
      {"cols", {"'héllo'"}, "integer 5"},
      {"rows", {"'héllo'"}, "integer 1"},
      {"length", {"b[1,0;1,1]"}, "integer 4"},
      {"rows", {"i[1,2;3,4;5,6]"}, "integer 3"},
      {"iscomplex", {"[1,2+0i]"}, "bool True"},
      {"iscomplex", {"~0+1i:2"}, "bool True"},
      {"zscore", {"[1,5;1,7]"}, "matrix 0,-0.707106781186547; 0,0.707106781186547"},
      {"trace", {"[1,2;3,4;5,6]"}, "double 5"},
      {"norm1", {"[1,2;3,nan]"}, "double NAN"},
  };
  for (const OpCase& c : cases) EXPECT_EQ(Eval(Word(c.op), c.args), c.expected) << c.op << " " << c.args[0];
}

// Long and badly conditioned data: a plain running sum of 10^6 copies of 0.1 is off by about 1e-11; a
// column of values near 1e9 leaves a one-pass variance with no correct digit.
TEST(Statistics, AccurateOnLongAndOffsetData) {
  Val v = Vec({});
  v->VectorValue().Size(1000000);
  v->VectorValue().SetVal(0.1);
  EXPECT_NEAR(Snap(NodeRunner(Word("mean"), {v.get()}).EvalTwice()).values[0], 0.1, 1e-16);
  Val m = Mat(4, 1, {1e9 + 4, 1e9 + 7, 1e9 + 13, 1e9 + 16});
  NodeRunner cols(Word("stddevcols"), {m.get()});
  EXPECT_NEAR(cols.EvalTwice().VectorValue().Values(0), std::sqrt(30.0), 1e-12);
  EXPECT_EQ(Snap(NodeRunner(Word("sumrows"), {m.get()}).EvalTwice()).values[2], 1e9 + 13);
}

// A compiled node evaluated again writes into the storage it already has.
TEST(Statistics, SecondEvaluationDoesNotAllocate) {
  Val v = Vec({3, 1, 4, 1, 5, 9, 2, 6}), m = Mat(2, 3, {1, 2, 3, 4, 5, 6}), im = IntMat(2, 2, {4, 1, 3, 2});
  const std::pair<const char*, TValueRec*> cases[] = {
      {"median", v.get()},  {"stddev", v.get()},   {"sum", v.get()},        {"median", m.get()},
      {"median", im.get()}, {"meancols", m.get()}, {"stddevrows", m.get()}, {"zscore", m.get()},
      {"norml2", m.get()},  {"sumcols", im.get()},
  };
  for (const auto& [name, arg] : cases) {
    NodeRunner run(Word(name), {arg});
    run.Eval();
    AllocationCounter allocations;
    run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << name << " " << ValTypeName(arg->ValueType());
  }
}

}  // namespace
}  // namespace zel::test
