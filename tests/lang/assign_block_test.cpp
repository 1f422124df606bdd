// Assignment to a(row, col): elements, column parts, row parts and blocks of the three matrix kinds.
#include <gtest/gtest.h>

#include "support/oper_helper.h"

namespace zel::test {
namespace {

TEST(AssignBlock, WritesTheAddressedPart) {
  CheckCases({
      {"assign", {"[0,0;0,0]", "1", "0", "5.0"}, "matrix 0,0; 5,0"},
      {"assign", {"[0,0;]", "0", "1", "true"}, "matrix 0,1"},
      {"assign", {"[0,0,0;0,0,0;0,0,0]", "0:1", "0:1", "1.0"}, "matrix 1,1,0; 1,1,0; 0,0,0"},
      {"assign", {"[0,0;0,0;0,0]", "0:2", "1", "[1,2,3]"}, "matrix 0,1; 0,2; 0,3"},  // column part
      {"assign", {"[0,0;0,0]", "0:1", "0", "[4;5]"}, "matrix 4,0; 5,0"},             // from n x 1
      {"assign", {"[0;0;0]", "1:-1", "0", "7.0"}, "matrix 0; 7; 7"},                 // rows to the last
      {"assign", {"[0,0,0;0,0,0]", "1", "0:-1", "[1,2,3]"}, "matrix 0,0,0; 1,2,3"},  // row part
      {"assign", {"[0,0,0;]", "0", "1:2", "[8,9;]"}, "matrix 0,8,9"},                // from 1 x n
      {"assign", {"[0,0,0;0,0,0]", "0:1", "1:2", "[1,2;3,4]"}, "matrix 0,1,2; 0,3,4"},
      {"assign", {"[0,0,0;0,0,0]", "0:1", "0:1", "[1,2,3,4]"}, "matrix 1,2,0; 3,4,0"},
      {"assign", {"[0;0]", "1:0", "0", "1.0"}, "matrix 0; 0"},  // a reversed range writes nothing
      {"assign", {"[0+0i,0+0i;]", "0", "0:1", "[1,2]"}, "matrix 1+0i,2+0i"},
      {"assign", {"[0,0,0;]", "0", "0:2", "3:1"}, "matrix 3,2,1"},
      {"assign", {"i[0,0;0,0]", "0:1", "1", "i[5,6]"}, "integer matrix 0,5; 0,6"},
      {"assign", {"i16[0,0,0;]", "0", "0:2", "1:3"}, "integer matrix 1,2,3"},
      {"assign", {"i[0;]", "0", "0", "true"}, "integer matrix 1"},
      {"assign", {"b[0,0;0,0]", "0:1", "0", "true"}, "bool matrix 1,0; 1,0"},
      {"assign", {"b[0;]", "0", "0", "7"}, "bool matrix 1"},  // an integer into a bool stores 1
      {"assign", {"b[0,0;0,0]", "0:1", "1:1", "b[1;1]"}, "bool matrix 0,1; 0,1"},
  });
}

// Every check on a 3 x 4 destination of each kind, with the texts in which the kinds differ; a refused
// write leaves the destination as it was.
TEST(AssignBlock, ChecksAndTheirTextsPerKind) {
  const struct {
    const char *prefix, *scalar;
    const char *colBound, *rowRangeInt, *rowRangeStep, *rowBound, *colRangeInt, *blockRangeInt;
  } kinds[] = {
      {"", "1.0", "Matrix column 4 out of range [0..3]", "Matrix range must be an integer range!",
       "assign: matrix range x:y:z not supported", "Assign: Matrix row 3 out of range [0..2]",
       "Assign: Matrix range must be an integer range!", "Assign: matrix range must be an integer range!"},
      {"i", "1", "Assign: matrix column 4 out of range [0..3]",
       "Assign: matrix range must be an integer range!", "Assign: matrix range x:y:z not supported",
       "Assign: Matrix row 3 out of range [0..2]", "Assign: Matrix range must be an integer range!",
       "Assing: matrix range must be an integer range!"},
      {"b", "true", "Assign: Matrix column 4 out of range [0..3]",
       "Assign: matrix range must be an integer range!", "Assign: matrix range x:y:z not supported",
       "Matrix row 3 out of range [0..2]", "Matrix range must be an integer range!",
       "Assign: Matrix range must be an integer range!"},
  };
  for (const auto& k : kinds) {
    const std::string p = k.prefix, s = k.scalar, dst = p + "[0,0,0,0;0,0,0,0;0,0,0,0]";
    const char* type = ValTypeName(V(dst)->ValueType());
    const auto zeros = [&p](int rows, int cols) {
      std::string t;
      for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) t += (c ? "," : r ? ";" : "") + std::string("0");
      return p + "[" + t + (rows == 1 ? ";]" : "]");
    };
    const auto vec = [&p](int n) {
      std::string t = "0";
      for (int i = 1; i < n; ++i) t += ",0";
      return p + "[" + t + "]";
    };
    CheckRefused({
        {"assign", {dst, "0:1", "4", s}, k.colBound},
        {"assign", {dst, "~0:1", "0", s}, k.rowRangeInt},
        {"assign", {dst, "0:2:2", "0", s}, k.rowRangeStep},
        {"assign", {dst, "0:3", "0", s}, "Assign: destination matrix row range exceeded: 0 <= 3 < 3"},
        {"assign", {dst, "-1:1", "0", s}, "Assign: destination matrix row range exceeded: 0 <= -1 < 3"},
        {"assign",
         {dst, "0:2", "0", vec(2)},
         "Assign: Source matrix does not fit in to the specified range: Src.Length = 2, Len = 3"},
        {"assign",
         {dst, "0:2", "0", zeros(1, 3)},
         "Assign: Source matrix does not fit in to the specified range: Src.Rows = 1, Src.Cols = 3, Len = 3"},
        {"assign",
         {dst, "0:1", "0", "'s'"},
         "Assign: The \"string\"  type on the right side of equation is not supported."},
        {"assign", {dst, "3", "0:1", s}, k.rowBound},
        {"assign", {dst, "0", "~0:1", s}, k.colRangeInt},
        {"assign", {dst, "0", "0:1:2", s}, "Assign: matrix range x:y:z not supported"},
        {"assign", {dst, "0", "1:4", s}, "Assign: destination matrix column range exceeded: 0 <= 4 < 4"},
        {"assign",
         {dst, "0", "0:-1", vec(2)},
         "Assign: source matrix does not fit in to the specified range: Src.Length = 2, Len = 4"},
        {"assign",
         {dst, "0", "0:-1", zeros(4, 1)},
         "Assign: Source matrix does not fit in to the specified range: Src.Rows = 4, Src.Cols = 1, Len = 4"},
        {"assign",
         {dst, "1", "0:3", "'s'"},
         "Assign: The \"string\"  type on the right side of the equation is not supported."},
        {"assign", {dst, "0:1", "~0:1", s}, k.blockRangeInt},
        {"assign", {dst, "0:1:1", "0:1", s}, "Assign: matrix ranges with x:y:z are not supported!"},
        {"assign", {dst, "0:3", "0:1", s}, "Assign: matrix row 3 out of range [0..2]"},
        {"assign", {dst, "0:1", "2:4", s}, "Assign: matrix column 4 out of range [0..3]"},
        {"assign",
         {dst, "0:1", "0:1", vec(3)},
         "Source vector does not fit in to the specified range: Src.Length = 3, rowLen = 2, colLen = 2"},
        {"assign",
         {dst, "0:1", "0:1", zeros(1, 4)},
         "Source matrix does not fit in to the specified range: Src.Rows = 1, rowLen = 2, Src.Cols = 4, "
         "colLen = 2"},
        {"assign",
         {dst, "0:1", "0:1", "0+1i"},
         p == "" ? "Cant assign complex number to real valued matrix!"
                 : "Assign: The \"complex\"  type on the right side of the equation is not supported."},
        {"assign",
         {dst, "0", "0", vec(1)},
         Fmt("Unsupported value type combination: %s ( integer, integer ) = %s)", type,
             ValTypeName(V(vec(1))->ValueType()))},
        {"assign",
         {dst, "'0'", "0", s},
         Fmt("Unsupported value type combination: %s ( string, integer ) = %s)", type,
             ValTypeName(V(s)->ValueType()))},
    });
  }
}

TEST(AssignBlock, ElementBoundsAndRefusedDestinations) {
  CheckRefused({
      {"assign",
       {"[0,0,0,0;0,0,0,0;0,0,0,0]", "3", "0", "1.0"},
       "Matrix element (3,0) out of range [0..2,0..3]"},
      {"assign", {"b[0;]", "0", "-1", "true"}, "Matrix element (0,-1) out of range [0..0,0..0]"},
      {"assign",
       {"[1]", "0", "0", "1.0"},
       "Unsupported value type combination: vector ( integer, integer ) = double)"},
      {"assign", {"?", "0", "0", "1.0"}, UnknownExprWord},
      {"assign", {"[0;]", "0", "0", "?"}, UnknownExprWord},
  });
  Val m = V("[0,0;0,0]"), i = Int(3), j = Int(0), x = Dbl(1);
  EXPECT_THROW(NodeRunner("assign", {m.get(), i.get(), j.get(), x.get()}).Eval(), ENubraRangeError);
}

}  // namespace
}  // namespace zel::test
