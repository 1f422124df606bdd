// The hot path of every operator family: a node evaluated again, over arguments of unchanged types and
// sizes, runs the routine its first run chose, writes into the result it made then, allocates nothing,
// and gives the same result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/alloc_counter.h"
#include "support/oper_helper.h"

namespace zel::test {
namespace {

const std::string m3 = "[1,2,3;4,5,6;7,8,9]", m34 = "[0,1,2,3;4,5,6,7;8,9,10,11]",
                  im34 = "i16[0,1,2,3;4,5,6,7;8,9,10,11]";

TEST(HotPath, SecondEvaluationAllocatesNothing) {
  const std::pair<std::string, std::vector<std::string>> nodes[] = {
      // arithmetic
      {"+", {"[1,2,3]", "[1+0i,2+0i,3+0i]"}},
      {"-", {m3, m3}},
      {"-.", {"2.0", "[1,2,3]"}},
      {"*", {m3, m3}},
      {"*", {"[1;2;3]", "[1,2,3]"}},
      {"*", {"[1,2,3]", m3}},
      {"*.", {"i16[1,2,3;]", "4"}},
      {"+", {"i[1,2,3]", "i16[1,2,3;]"}},
      {"+", {"1:5", "4"}},
      {"+", {"1:5", "1:5"}},
      {"-@", {"[1+0i,2+0i,3+0i]"}},
      {"+@", {"i16[1,2,3;]"}},
      {"-@", {"1:5"}},
      // division, remainder, power, transposition
      {"/", {"1:3", "[1,2,3]"}},
      {"/", {"1:2", "[2,1;1,3]"}},
      {"/", {"[1,2;3,4]", "[1+1i,0+0i;0+0i,2+0i]"}},
      {"/.", {"i[4,6]", "1:2"}},
      {"\\", {"[2+0i,1+0i;1+0i,3+0i]", "[1,2;3,4]"}},
      {"mod", {"[7,8]", "[3,3]"}},
      {"%", {"i16[7,8]", "3"}},
      {"^", {"[1,2]", "0+1i"}},
      {"'", {"[1+0i,2,3;4,5,6+1i]"}},
      {"'", {"i[1,2,3;4,5,6]"}},
      // comparisons, logic and bits
      {">", {"[1,2,3]", "[3,2,1]"}},
      {"<", {"[1,2;3,4]", "2.0"}},
      {">=", {"2.0", "[1,2;3,4]"}},
      {"<=", {"1+1i", "[1,2]"}},
      {"==", {"i[1,2]", "2"}},
      {"<>", {"i[1,2,3,4]", "i[1,0;3,0]"}},
      {"==", {"b[1,0]", "b[1,1;]"}},
      {"and", {"i[1,2]", "u8[3,3]"}},
      {"or", {"i[1,2;]", "4"}},
      {"xor", {"b[1,0]", "true"}},
      {"not", {"i[1,2]"}},
      {"not", {"b[1,0;]"}},
      {"<<", {"i[1,2]", "3"}},
      {">>", {"i[8,16;]", "2"}},
      // selection: element reads, views, strided, index and mask gathers, block copies
      {"select", {"[10,11,12,13,14]", "1:3"}},
      {"select", {"[10,11,12,13,14]", "4:-2:0"}},
      {"select", {"[10,11,12,13,14]", "~0:2"}},
      {"select", {"[10,11,12,13,14]", "i[0,2]"}},
      {"select", {"[10,11,12,13,14]", "b[1,0,1,0,1]"}},
      {"select", {"[10,11,12,13,14]", "1"}},
      {"select", {m34, "b[1,0,0,0;0,1,0,0;0,0,1,1]"}},
      {"select", {im34, "1:3"}},
      {"select", {im34, "0:3:11"}},
      {"select", {im34, "i[1,1]"}},
      {"select", {m34, "1", "1"}},
      {"select", {m34, "1", "0:-1"}},
      {"select", {m34, "0:-1", "1"}},
      {"select", {m34, "1", "3:-2:0"}},
      {"select", {m34, "0:1", "0:-1"}},
      {"select", {im34, "0:-1", "1"}},
      {"select", {"b[1,0,0,0;0,1,0,0;0,0,1,1]", "0:1", "1:2"}},
      {"select", {"'abc'", "0"}},
      // assignment: copies and fills, indexed writes, block writes
      {"=", {"[1,2,3]", "[4,5,6]"}},
      {"=", {"[0,0;0,0]", "[1,2;3,4]"}},
      {"=", {"i[1,2]", "i[3,4]"}},
      {"=", {"[1+1i,2+2i]", "1+1i"}},
      {"assign", {"[1,2,3]", "0:1", "1.0"}},
      {"assign", {"[1,2,3]", "0:2:2", "[7,8]"}},
      {"assign", {"[1,2,3]", "i[2,0]", "[7,8]"}},
      {"assign", {"i[1,2,3;]", "b[1,0,1;]", "0"}},
      {"assign", {"[1,2,3]", "b[1,0,1]", "[7,8]"}},
      {"assign", {"[0,0,0;0,0,0;0,0,0]", "0:1", "0:1", "1.0"}},
      {"assign", {"[0,0,0;0,0,0;0,0,0]", "1:2", "1:2", "[1,2;3,4]"}},
      {"assign", {"i[0,0,0;0,0,0;0,0,0]", "0:-1", "2", "i[1,2,3]"}},
      {"assign", {"b[0,0;0,0]", "1", "1", "true"}},
  };
  for (const auto& [op, args] : nodes) {
    std::vector<Val> values;
    std::vector<TValueRec*> raw;
    for (const std::string& a : args) raw.push_back(values.emplace_back(V(a)).get());
    NodeRunner run(op, raw);
    const std::string first = Show(run.Eval());
    AllocationCounter allocations;
    TValueRec& again = run.Eval();
    EXPECT_EQ(allocations.Count(), 0u) << op << " " << args[0];
    EXPECT_EQ(Show(again), first) << op << " " << args[0];
    if (op == "=" || op == "assign") {  // the result is the destination itself, or refers to its data
      EXPECT_TRUE(op == "assign" || &again == raw[0]) << args[0];
      EXPECT_FALSE(op == "assign" && again.IsOwned()) << args[0];
      EXPECT_EQ(again.ValueType(), raw[0]->ValueType()) << op << " " << args[0];
      EXPECT_TRUE(again.VectorField() == raw[0]->VectorField() &&
                  again.MatrixField() == raw[0]->MatrixField() &&
                  again.IntVectorField() == raw[0]->IntVectorField() &&
                  again.IntMatrixField() == raw[0]->IntMatrixField())
          << op << " " << args[0];
    }
  }
}

}  // namespace
}  // namespace zel::test
