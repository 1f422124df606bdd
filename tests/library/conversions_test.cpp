// double(x) and boolean(x): the result of every value type, including the rounding of real vectors
// before they become masks, the types they refuse, and re-evaluation without allocating.
#include <gtest/gtest.h>

#include "library_helper.h"

namespace zel::test {
namespace {

TEST(Conversions, EveryValueType) {
  CheckFunctions({
      {"double", {"-2.5"}, "double -2.5"},
      {"double", {"-3"}, "double -3"},
      {"double", {"9007199254740993"}, "double 9.00719925474099e+15"},  // the nearest double, ...992
      {"double", {"true"}, "double 1"},
      {"double", {"false"}, "double 0"},
      {"double", {"1-2i"}, "complex 1-2i"},
      {"double", {"[1.5,-2]"}, "vector 1.5; -2"},
      {"double", {"[1+2i]"}, "vector 1+2i"},
      {"double", {"u8[1,200]"}, "vector 1; 200"},
      {"double", {"b[1,0]"}, "vector 1; 0"},
      {"double", {"[1,2;3,4]"}, "matrix 1,2; 3,4"},
      {"double", {"i16[-7;7]"}, "matrix -7; 7"},
      {"double", {"b[0,1;]"}, "matrix 0,1"},
      {"boolean", {"-0.5"}, "bool True"},
      {"boolean", {"0.0"}, "bool False"},
      {"boolean", {"nan"}, "bool True"},
      {"boolean", {"0"}, "bool False"},
      {"boolean", {"-5"}, "bool True"},
      {"boolean", {"0+1e-300i"}, "bool True"},
      {"boolean", {"0+0i"}, "bool False"},
      {"boolean", {"true"}, "bool True"},
      // real data is rounded (halves away from zero) first; NaN rounds to 0
      {"boolean", {"[0.4,0.5,-0.5,-0.49,0.51,1.5,2,nan]"}, "bool vector 0; 0; 0; 0; 1; 1; 1; 0"},
      {"boolean", {"[0.4+0.6i,0.2-0.3i]"}, "bool vector 1; 0"},
      {"boolean", {"[0.4,-1;0,3]"}, "bool matrix 0,1; 0,1"},
      {"boolean", {"i16[0,3,-2]"}, "bool vector 0; 1; 1"},
      {"boolean", {"u8[0,255;]"}, "bool matrix 0,1"},
      {"boolean", {"b[1,0]"}, "bool vector 1; 0"},
      {"boolean", {"b[0;1]"}, "bool matrix 0; 1"},
  });
  EXPECT_EQ(Script("double(9007199254740993) - 9007199254740992.0"), "double 0");
}

TEST(Conversions, RefusedTypesAndSecondEvaluation) {
  for (const std::string name : {"double", "boolean"}) {
    for (TValueType t : {vtUndefined, vtRangeValue, vtString, vtCustomValue}) {
      Val arg = Sample(t);
      NodeRunner run(Functions::Get().Word(name), {arg.get()});
      EXPECT_EQ(MessageOf([&] { run.Eval(); }),
                t == vtUndefined ? std::string(UnknownExprWord)
                                 : "Unsupported value types: " + name + " ( " + ValTypeName(t) + " )");
      EXPECT_EQ(run.Node().Res->ValueType(), vtUndefined) << name << " " << ValTypeName(t);
    }
    for (const char* arg : {"[0.2,3]", "[1,0;0,1]", "i[1,0]", "b[1,0;]"})
      EXPECT_EQ(SecondRunAllocations(name, {arg}), 0u) << name << " of " << arg;
  }
}

}  // namespace
}  // namespace zel::test
