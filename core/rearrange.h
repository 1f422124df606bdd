// Rearrangements of the numeric core: mirrors, rotations, sorting, diagonals and triangles of real,
// complex and integer vectors and matrices (integer objects also serve boolean data).
//
// Every routine writes a new object of the result's shape into dst (its buffer is reused when large
// enough); dst takes the source's complexity or integer precision. A vector counts as one row. dst may be
// the source itself or share its storage: the result is always computed from the source as it was.
#pragma once

#include <cstdint>

#include "core/nubra.h"

namespace zel {

// dst(i, j) = src(i, cols-1-j): each row mirrored left to right (a vector is reversed).
void FlipHor(const TNubraVec& src, TNubraVec& dst);
void FlipHor(const TNubraInt& src, TNubraInt& dst);
// dst(i, j) = src(rows-1-i, j): the rows in reverse order.
void FlipVer(const TNubraVec& src, TNubraVec& dst);
void FlipVer(const TNubraInt& src, TNubraInt& dst);
// Clockwise quarter turn: dst is cols × rows with dst(i, j) = src(rows-1-j, i).
void Rotate90(const TNubraVec& src, TNubraVec& dst);
void Rotate90(const TNubraInt& src, TNubraInt& dst);
// Circular shift of the flat element sequence by offset places towards the end:
// dst(k) = src((k - offset) mod n), so offset 1 moves the last element to the front.
void Rotate(const TNubraVec& src, std::int64_t offset, TNubraVec& dst);
void Rotate(const TNubraInt& src, std::int64_t offset, TNubraInt& dst);

// Elements kept by a triangle: the main diagonal included or not.
enum class TDiagonal { dgIncluded, dgExcluded };
// The upper triangle: elements with col - row >= 0 (or >= 1 without the diagonal) kept, the rest zero.
void UpperTriangle(const TNubraVec& src, TNubraVec& dst, TDiagonal diagonal = TDiagonal::dgIncluded);
void UpperTriangle(const TNubraInt& src, TNubraInt& dst, TDiagonal diagonal = TDiagonal::dgIncluded);
// The lower triangle: elements with row - col >= 0 (or >= 1) kept, the rest zero.
void LowerTriangle(const TNubraVec& src, TNubraVec& dst, TDiagonal diagonal = TDiagonal::dgIncluded);
void LowerTriangle(const TNubraInt& src, TNubraInt& dst, TDiagonal diagonal = TDiagonal::dgIncluded);
// Diagonal k of a matrix as a vector: dst(t) = src(t + max(0, -k), t + max(0, k)); k > 0 above the main
// diagonal, k < 0 below; a diagonal outside the matrix is empty.
void Diag(const TNubraVec& src, int k, TVec& dst);
void Diag(const TNubraInt& src, int k, TVecInt& dst);

enum class TSortOrder { soAscending, soDescending };
// Sorts the values of each row (a vector: all values). NaN comes last in either order. Complex values
// are ordered as Min and Max order them (LessByModulus: by modulus, then argument in (-π, π]); a value
// with a NaN part comes last (imaginary NaN before real NaN, each group ordered by its other part). Equal
// values are indistinguishable except -0 and +0, whose order is not defined.
void Sort(const TNubraVec& src, TNubraVec& dst, TSortOrder order);
void Sort(const TNubraInt& src, TNubraInt& dst, TSortOrder order);
// Sorts the rows of a matrix by their values in column col (compared as Sort compares values); rows with
// equal keys keep their order. col must lie in [0, cols), else ENubraRangeError.
void SortRows(const TNubraVec& src, int col, TNubraVec& dst, TSortOrder order);
void SortRows(const TNubraInt& src, int col, TNubraInt& dst, TSortOrder order);

}  // namespace zel
