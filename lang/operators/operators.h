// Operators of the language: the operator words, their routines and the type dispatch that specialises
// an operator node to the types of its operands on the node's first evaluation.
#pragma once

#include <array>

#include "lang/words/wordlist.h"

namespace zel {

// Typed routines of a unary operator, indexed by the operand's type.
using TOperVector = std::array<TExprFunc, ValueTypeCount>;
// Typed routines of a binary operator: row = left type, column = right type (cell l * 14 + r).
using TOperMatrix = std::array<TExprFunc, ValueTypeCount * ValueTypeCount>;

constexpr int OperCell(TValueType left, TValueType right) { return left * ValueTypeCount + right; }

// Registers the operator words of operator_table.cpp in `words` (unsorted) and hands back the ":" and "="
// words.
void InitOperators(TWordList& words, TExprWord*& colonWord, TExprWord*& assignWord);

// ---- operator routines (the generic entry of each operator word) ------------------------------------
void _Transpose(TExprRec& expr);
void _Negate(TExprRec& expr);
void _Plus(TExprRec& expr);
void _Not(TExprRec& expr);
void _Colon(TExprRec& expr);
void _Power(TExprRec& expr);
void _IntPower(TExprRec& expr);
void _MultElem(TExprRec& expr);
void _Mult(TExprRec& expr);
void _RDivElem(TExprRec& expr);
void _RDivElemInt(TExprRec& expr);
void _RDiv(TExprRec& expr);
void _RDivBack(TExprRec& expr);
void _Rem(TExprRec& expr);
void _AddElem(TExprRec& expr);
void _Add(TExprRec& expr);
void _MinusElem(TExprRec& expr);
void _Minus(TExprRec& expr);
void _BitShiftLeft(TExprRec& expr);
void _BitShiftRight(TExprRec& expr);
void _GT(TExprRec& expr);
void _LT(TExprRec& expr);
void _GE(TExprRec& expr);
void _LE(TExprRec& expr);
void _EQ(TExprRec& expr);
void _NE(TExprRec& expr);
void _And(TExprRec& expr);
void _Or(TExprRec& expr);
void _Xor(TExprRec& expr);
void _Assign(TExprRec& expr);
void _Select1(TExprRec& expr);
void _Select2(TExprRec& expr);
void _Select3(TExprRec& expr);
void _Assign3(TExprRec& expr);
void _assign4(TExprRec& expr);

// ---- dispatch variants -----------------------------------------------------------------------------
// Each checks the operand types against its rules, defines the result type on Res, stores the typed
// routine from `table` in the node's Oper and calls it. Rejected combinations raise the
// unsupported-value-types error (UnknownExprWord when an operand is undefined). The rules are cell tables
// of lang/operators/dispatch.h, defined with the operators they serve (RedirectOper, unary, in
// dispatch.cpp).
void RedirectOperZel(TExprRec& expr, const TOperVector& table);        // transpose
void RedirectOperInt(TExprRec& expr, const TOperVector& table);        // unary minus and plus
void RedirectOper(TExprRec& expr, const TOperVector& table);           // element-wise functions
void RedirectOperNot(TExprRec& expr, const TOperVector& table);        // not
void RedirectOper(TExprRec& expr, const TOperMatrix& table);           // power
void RedirectOperIntPower(TExprRec& expr, const TOperMatrix& table);   // integer power
void RedirectOperInt(TExprRec& expr, const TOperMatrix& table);        // + - * and element-wise forms, /.
void RedirectOperDiv(TExprRec& expr, const TOperMatrix& table);        // /
void RedirectOperStrictInt(TExprRec& expr, const TOperMatrix& table);  // div
void RedirectOperBack(TExprRec& expr, const TOperMatrix& table);       // back division
void RedirectOperRem(TExprRec& expr, const TOperMatrix& table);        // mod, %
void RedirectOperBitShift(TExprRec& expr, const TOperMatrix& table);   // shifts
void RedirectOperComp(TExprRec& expr, const TOperMatrix& table);       // > < >= <=
void RedirectOperEqComp(TExprRec& expr, const TOperMatrix& table);     // == <>
void RedirectOperBit(TExprRec& expr, const TOperMatrix& table);        // and or xor

// Defines `rec` with type t the way a dispatch variant defines a result (containers keep an owned object
// of the same type). vtRangeValue defines an integer range.
void DefineResultType(TValueRec& rec, TValueType t);

}  // namespace zel
