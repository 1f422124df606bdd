// Element-wise scalar functions: values of the first functions (exp, ln/log, sqrt, sqr, abs, sin, cos,
// tan; NumPy's, to the 15 digits a value prints) for real, complex and out-of-domain arguments, and shapes
// of vector and matrix results (result types over every argument type and the other functions:
// unary_test.cpp).
#include <gtest/gtest.h>

#include "library_helper.h"

namespace zel::test {
namespace {

// Real arguments stay real (NaN out of the domain; integers count as doubles, so no overflow); vectors,
// ranges and matrices map every element, keeping shape and complexity as the rule says.
TEST(ElementWise, Values) {
  CheckFunctions({
      {"exp", {"1.0"}, "double 2.71828182845905"},
      {"exp", {"0"}, "double 1"},
      {"ln", {"10.0"}, "double 2.30258509299405"},
      {"log", {"1"}, "double 0"},
      {"ln", {"0.0"}, "double -INF"},
      {"ln", {"-1.0"}, "double NAN"},
      {"sqrt", {"9"}, "double 3"},
      {"sqrt", {"2.0"}, "double 1.4142135623731"},
      {"sqrt", {"-1.0"}, "double NAN"},
      {"sqr", {"-1.5"}, "double 2.25"},
      {"sqr", {"3000000000"}, "double 9e+18"},
      {"abs", {"-2.0"}, "double 2"},
      {"abs", {"-7"}, "double 7"},
      {"abs", {"3-4i"}, "double 5"},
      {"sin", {"0"}, "double 0"},
      {"sin", {"0.5"}, "double 0.479425538604203"},
      {"cos", {"2.0"}, "double -0.416146836547142"},
      {"tan", {"0.5"}, "double 0.54630248984379"},
      {"sin", {"inf"}, "double NAN"},
      {"exp", {"nan"}, "double NAN"},
      {"sqrt", {"-1+0i"}, "complex 0+1i"},
      {"sqrt", {"-4+0i"}, "complex 0+2i"},
      {"ln", {"-1+0i"}, "complex 0+3.14159265358979i"},
      {"log", {"0+1i"}, "complex 0+1.5707963267949i"},
      {"exp", {"1+1i"}, "complex 1.46869393991589+2.28735528717884i"},
      {"sqr", {"1+2i"}, "complex -3+4i"},
      {"sin", {"0+1i"}, "complex 0+1.1752011936438i"},
      {"cos", {"1+1i"}, "complex 0.833730025131149-0.988897705762865i"},
      {"tan", {"0+1i"}, "complex 0+0.761594155955765i"},
      {"sqr", {"1:3"}, "vector 1; 4; 9"},
      {"sqr", {"~0:0.5:1"}, "vector 0; 0.25; 1"},
      {"sqrt", {"[1,4,9;16,25,36]"}, "matrix 1,2,3; 4,5,6"},
      {"sqrt", {"[-1+0i,-4+0i]"}, "vector 0+1i; 0+2i"},
      {"sqrt", {"[4,-1]"}, "vector 2; NAN"},
      {"sqr", {"[1+2i;]"}, "matrix -3+4i"},
      {"abs", {"[3+4i,0-2i;]"}, "matrix 5,2"},
  });
}

// A compiled node evaluated again writes into the storage it already has.
TEST(ElementWise, SecondEvaluationDoesNotAllocate) {
  for (const char* name : {"exp", "ln", "sqrt", "sqr", "sin", "cos", "tan", "abs"})
    for (const char* arg : {"[0.5,1,2]", "[1+1i,2-1i]", "[1,2;3,4]", "[1+2i;]"})
      EXPECT_EQ(SecondRunAllocations(name, {arg}), 0u) << name << " " << arg;
}

}  // namespace
}  // namespace zel::test
