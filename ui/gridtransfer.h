// Copying vectors and matrices to and from a plain string grid (QTableWidget). The grid's row 0 and
// column 0 are its header cells; data goes to the cells at (dstCol, dstRow) and beyond. Every size check
// runs before anything is written and raises the core's exception with the check's own text.
//
// Header layout: the cell before each element (row header when vertical, column header otherwise) holds
// the element's number; the cell above (vertical) or before (horizontal) the values names the value
// column or row: "0" for real data, "0-Re" and "0-Im" for complex data. Matrix headers number the rows
// and the columns, complex columns as "j-Re" and "j-Im".
#pragma once

#include <QTableWidget>
#include <string>

#include "core/nubra.h"

namespace zel {

// `len` elements from `index`, one per row (vertical) or per column; complex values take two cells.
void ValuesToGrid(const TVec& src, QTableWidget& dst, int dstCol, int dstRow, int index, int len,
                  const std::string& format, bool vertical, bool headers);
// The whole vector.
void ValuesToGrid(const TVec& src, QTableWidget& dst, int dstCol, int dstRow, const std::string& format,
                  bool vertical, bool headers);
// A block of rowCount x colCount elements from (srcRow, srcCol); complex values take two columns.
void ValuesToGrid(const TZel& src, QTableWidget& dst, int dstCol, int dstRow, int srcRow, int srcCol,
                  int rowCount, int colCount, const std::string& format, bool headers);
// The whole matrix.
void ValuesToGrid(const TZel& src, QTableWidget& dst, int dstCol, int dstRow, const std::string& format,
                  bool headers);

// Reads `len` cells from (srcCol, srcRow) into dst at `index`; complex values are two cells side by side
// (vertical) or one above the other.
void GridToValues(TVec& dst, const QTableWidget& src, int srcCol, int srcRow, int index, int len,
                  bool complex, bool vertical);
// Sizes the vector from the grid and reads it all (from row/column 1 with headers).
void GridToValues(TVec& dst, const QTableWidget& src, bool complex, bool headers, bool vertical);
// Reads rowCount x colCount elements from (srcRow, srcCol) into dst at (row, col).
void GridToValues(TZel& dst, const QTableWidget& src, int row, int col, int srcRow, int srcCol, int rowCount,
                  int colCount, bool complex);
// Sizes the matrix from the grid and reads it all.
void GridToValues(TZel& dst, const QTableWidget& src, bool complex, bool headers);

}  // namespace zel
