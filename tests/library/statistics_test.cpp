// Reductions, statistics, vector norms, sizes and matrix measures: values against NumPy/SciPy
// (reference/statistics.inc), result types over every argument type, the functions' own messages and edge
// cases, accuracy on long and badly conditioned data, and evaluation without allocation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "library_helper.h"

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
    FnNode node(r.name, r.args);
    const std::vector<double> got = NumbersOf(node.run->EvalTwice()).values;
    ASSERT_EQ(got.size(), r.expected.size()) << r.name << " " << r.args[0];
    for (std::size_t i = 0; i < got.size(); ++i)
      EXPECT_NEAR(got[i], r.expected[i], 1e-13 * std::max(1.0, std::abs(r.expected[i])))
          << r.name << " " << r.args[0] << " [" << i << "]";
  }
}

// Result type per argument type (real samples), in the notation of CheckResultTypes.
TEST(Statistics, ResultTypeOfEveryArgumentType) {
  const char* const sumLike = "- D - - C D I I I - - - D -";
  const char* const realData = "- - - - - D - - - - - - D -";
  const char* const sizes = "- I - I I I I I I I I I I -";
  const std::pair<const char*, const char*> sweeps[] = {
      {"sum", sumLike},
      {"Min", sumLike},
      {"max", sumLike},
      {"product", "- D - - C D D - - - - - D -"},
      {"mean", "- D - - C D D D D - - - D -"},
      {"rms", realData},
      {"StdDev", realData},
      {"kurtosis", realData},
      {"skewness", realData},
      {"median", "- - - - - D - I IM - - - M -"},
      {"normc", "- - - - - D - - - - - - M -"},
      {"SumOfSqr", "- - - - - D - - - - - - M -"},
      {"length", sizes},
      {"rows", sizes},
      {"Cols", sizes},
      {"iscomplex", "- B B - B B B B B - - - B -"},
      {"meanrows", "- - - - - - - - - - - - V -"},
      {"StdDevCols", "- - - - - - - - - - - - V -"},
      {"sumcols", "- - - - - - - - IV - - - V -"},
      {"norminf", "- - - - - - - - - - - - D -"},
      {"trace", "- - - - - - - - - - - - D -"},
      {"zscore", "- - - - - - - - - - - - M -"},
  };
  for (const auto& [name, kinds] : sweeps) CheckResultTypes(name, kinds);
}

// min(a, b) and max(a, b) over every pair of types.
TEST(Statistics, TwoArgumentExtremesOverEveryTypePair) {
  constexpr TValueType I = vtIntegerValue, C = vtComplexValue, IV = vtIntVectorValue, IM = vtIntMatrixValue;
  const std::vector<TValueType> kinds = {vtDoubleValue, I, C, vtVectorValue, IV, IM, vtMatrixValue};
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
  CheckFunctions({
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
  });
}

// Long and badly conditioned data: a plain running sum of 10^6 copies of 0.1 is off by about 1e-11; a
// column of values near 1e9 leaves a one-pass variance with no correct digit.
TEST(Statistics, AccurateOnLongAndOffsetData) {
  Val v = Vec({});
  v->VectorValue().Size(1000000);
  v->VectorValue().SetVal(0.1);
  EXPECT_NEAR(NumbersOf(NodeRunner(Word("mean"), {v.get()}).EvalTwice()).values[0], 0.1, 1e-16);
  Val m = Mat(4, 1, {1e9 + 4, 1e9 + 7, 1e9 + 13, 1e9 + 16});
  NodeRunner cols(Word("stddevcols"), {m.get()});
  EXPECT_NEAR(cols.EvalTwice().VectorValue().Values(0), std::sqrt(30.0), 1e-12);
  EXPECT_EQ(NumbersOf(NodeRunner(Word("sumrows"), {m.get()}).EvalTwice()).values[2], 1e9 + 13);
}

// A compiled node evaluated again writes into the storage it already has.
TEST(Statistics, SecondEvaluationDoesNotAllocate) {
  const std::string v = "[3,1,4,1,5,9,2,6]", m = "[1,2,3;4,5,6]", im = "i[4,1;3,2]";
  const std::pair<const char*, std::string> cases[] = {
      {"median", v},   {"stddev", v},     {"sum", v},    {"median", m}, {"median", im},
      {"meancols", m}, {"stddevrows", m}, {"zscore", m}, {"norml2", m}, {"sumcols", im},
  };
  for (const auto& [name, arg] : cases)
    EXPECT_EQ(SecondRunAllocations(name, {arg}), 0u) << name << " " << arg;
}

}  // namespace
}  // namespace zel::test
