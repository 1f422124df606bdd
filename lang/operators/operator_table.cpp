// The operator words: symbols, operand counts, precedences (smaller binds tighter) and help texts.
#include "lang/operators/operators.h"

namespace zel {

namespace {

struct OperatorEntry {
  const char* symbol;
  int operands;
  int precedence;
  TExprFunc routine;
  const char* help;
};

// clang-format off
const OperatorEntry kOperators[] = {
    {"'", 1, 10, _Transpose, "x': unary transpose (adjungate) vector/matrix operator."},
    {"-@", 1, 10, _Negate, "-x :minus operator."},
    {"+@", 1, 10, _Plus, "+x :plus operator."},
    {"not", 1, 10, _Not, "not x :Logical \"not\" operator when applied to booleans and bitwise \"not\" when applied to integers."},
    {"Not", 1, 10, _Not, "Not x :Logical \"not\" operator when applied to booleans and bitwise \"not\" when applied to integers."},
    {"~", 1, 10, _Not, "~x :Logical \"not\" operator when applied to booleans and bitwise \"not\" when applied to integers."},
    {"!", 1, 10, _Not, "!x :Logical \"not\" operator when applied to booleans and bitwise \"not\" when applied to integers."},
    {":", 2, 15, _Colon, "x:y or x:step:y :Range operator can be with integers or real numbers. X represents start and y is the final value. If the step is not specified it is assumed to be 1. Step can be positive or negative."},
    {"^", 2, 20, _Power, "x ^ y: Power operator."},
    {"*", 2, 30, _Mult, "x * y: Matrix multiplication with matching dimensions."},
    {"*.", 2, 30, _MultElem, "x *. y  or x .* y: Multiplication by element ignoring dimensions except for Length."},
    {"/", 2, 30, _RDiv, "y / x: Matrix division operator. Integer division returns real number. Solving A = y*x^(-1), "},
    {"/.", 2, 30, _RDivElem, "x /. y or x ./ y: Division by element ignoring dimensions except for Length. Integer division returns integer."},
    {"div", 2, 30, _RDivElemInt, "x div y: Strictly integer division only operator."},
    {"\\", 2, 30, _RDivBack, "x \\ y: Back division operator for matrix operations x = A^(-1)*y is written as x = A\\y when A is matrix and y is matrix or vector. Coming from equation Ax = y, where \"x\" is the solution of the linear system."},
    {"mod", 2, 30, _Rem, "x mod y: Remainder operator applicable to integers and real numbers"},
    {"%", 2, 30, _Rem, "x % y: Remainder operator applicable to integers and real numbers"},
    {"+", 2, 40, _Add, "x + y: Add with matching dimensions."},
    {"+.", 2, 40, _AddElem, "x +. y or x .+ y: Add elements ignoring dimension except for Length."},
    {"-", 2, 40, _Minus, "x - y: Subtract with matching dimensions."},
    {"-.", 2, 40, _MinusElem, "x -. y or x .- y: Subtract elements ignoring dimension except for Length."},
    {"<<", 2, 45, _BitShiftLeft, "x << y :Bit shift integer x by y bits left."},
    {">>", 2, 45, _BitShiftRight, "x >> y :Bit shift integer x by y bits right."},
    {"shl", 2, 45, _BitShiftLeft, "x shl y :Bit shift integer x by y bits left."},
    {"shr", 2, 45, _BitShiftRight, "x shr y :Bit shift integer x by y bits right."},
    {">", 2, 50, _GT, "x > y: greater than operator"},
    {">=", 2, 50, _GE, "x >= y: greater than or equal to operator"},
    {"<=", 2, 50, _LE, "x <= y: less than or equal to operator"},
    {"<", 2, 50, _LT, "x < y: less than operator"},
    {"<>", 2, 55, _NE, "x <> y: not equal to operator"},
    {"!=", 2, 55, _NE, "x != y: not equal to operator"},
    {"~=", 2, 55, _NE, "x ~= y: not equal to operator"},
    {"==", 2, 55, _EQ, "x == y: equal to operator"},
    {"and", 2, 70, _And, "x and y: logical (when applied to booleans) and bitwise (when applied to integers) 'and' operator"},
    {"&", 2, 70, _And, "x & y: logical (when applied to booleans) and bitwise (when applied to integers) 'and' operator"},
    {"or", 2, 80, _Or, "x or y: logical (when applied to booleans) and bitwise (when applied to integers) 'or' operator"},
    {"|", 2, 80, _Or, "x | y: logical (when applied to booleans) and bitwise (when applied to integers) 'or' operator"},
    {"xor", 2, 80, _Xor, "x xor y: logical (when applied to booleans) and bitwise (when applied to integers) 'xor' operator"},
    {"=", 2, 200, _Assign, "x = y: assignment operator"},
};
// clang-format on

}  // namespace

void InitOperators(TWordList& words, TExprWord*& colonWord, TExprWord*& assignWord) {
  colonWord = nullptr;
  assignWord = nullptr;
  for (const OperatorEntry& op : kOperators) {
    const int index =
        words.DefineOperatorUnsorted(op.symbol, op.routine, op.operands, op.precedence, op.help);
    const std::string symbol = op.symbol;
    if (symbol == ":") colonWord = words[index];
    if (symbol == "=") assignWord = words[index];
  }
}

}  // namespace zel
