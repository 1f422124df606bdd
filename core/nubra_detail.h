// Helpers shared by the dense-container sources (nubra.cpp, nubra_real.cpp, nubra_int.cpp, stream.cpp).
// Not part of the public interface.
#pragma once

#include <cstddef>

namespace zel::detail {

// True when the byte ranges [a, a + na) and [b, b + nb) share at least one byte.
bool Overlaps(const void* a, std::size_t na, const void* b, std::size_t nb);

// Element count rows·cols; raises ENubraRangeError for a negative or too large shape.
int ShapeLength(const char* who, int rows, int cols);

// Raises ENubraRangeError unless len >= 0.
void CheckLength(const char* who, int len);

// Raises ENubraRangeError unless srcIndex, index and len are non-negative, srcIndex + len <= srcLength
// and index + len <= length.
void CheckBlock(const char* who, int srcIndex, int index, int len, int srcLength, int length);

// Raises ENubraRangeError unless the rows × cols block at (srcRow, srcCol) lies inside a srcRows × srcCols
// source and the block at (row, col) inside a dstRows × dstCols destination.
void CheckBlock2D(int srcRow, int srcCol, int row, int col, int rows, int cols, int srcRows, int srcCols,
                  int dstRows, int dstCols);

// Rearranges a row-major block in place from oldRows × oldCols to rows × cols elements of `es` bytes,
// keeping every (row, col) that exists in both shapes and zeroing the rest. The buffer must hold the
// larger of the two sizes.
void ReshapeRows(std::byte* p, int oldRows, int oldCols, int rows, int cols, std::size_t es);

// Copies a rows × cols block of `es`-byte elements between row-major buffers with the given row
// strides (in elements). Correct when both blocks lie in the same buffer and overlap.
void CopyBlock(std::byte* dst, int dstStride, const std::byte* src, int srcStride, int rows, int cols,
               std::size_t es);

}  // namespace zel::detail
