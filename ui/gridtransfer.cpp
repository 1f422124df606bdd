// Vector and matrix transfer to and from string grids (see gridtransfer.h).
#include "ui/gridtransfer.h"

#include "core/errors.h"
#include "core/text.h"

namespace zel {

namespace {

// Writes one cell, creating its item; cells outside the grid are skipped.
void Put(QTableWidget& g, int col, int row, const std::string& text) {
  if (row < 0 || col < 0 || row >= g.rowCount() || col >= g.columnCount()) return;
  const QString t = QString::fromStdString(text);
  if (QTableWidgetItem* item = g.item(row, col))
    item->setText(t);
  else
    g.setItem(row, col, new QTableWidgetItem(t));
}

// The text of one cell (empty for missing items).
std::string Get(const QTableWidget& g, int col, int row) {
  const QTableWidgetItem* item = g.item(row, col);
  return item ? item->text().toStdString() : std::string();
}

// A cell as a number of the destination's precision.
double ParseCell(const QTableWidget& g, int col, int row, bool single) {
  const std::string text = Get(g, col, row);
  return single ? StrToSingle(text) : StrToDouble(text);
}

// True for single-precision storage.
bool IsSingle(const TNubraVec& v) {
  return v.FloatPrecision() == npSingle || v.FloatPrecision() == npSingleComplex;
}

// Raises the check's text when it failed.
void Check(bool failed, const char* text) {
  if (failed) ERaise(text);
}

}  // namespace

// Checks, then the values (and headers) cell by cell.
void ValuesToGrid(const TVec& src, QTableWidget& dst, int dstCol, int dstRow, int index, int len,
                  const std::string& format, bool vertical, bool headers) {
  const int cx = src.Complex() ? 1 : 0;
  if (vertical) {
    Check(dst.columnCount() < 2 + cx, "(Dst.ColCount) < (2+Integer(Src.Complex))");
    Check(dst.rowCount() + 1 < dstRow + len, "(Dst.RowCount+1) < (DstRow+Len)");
    Check(index + len > src.Length(), "(Index+Len) > Length");
  } else {
    Check(dst.columnCount() + 1 < src.Length(), "(Dst.ColCount+1) < fLength");
    Check(dst.rowCount() + 1 < 2 + cx, "(Dst.RowCount+1) < (2+Integer(fComplex)");
  }
  // Position of part `p` (0 real, 1 imaginary) of element k: (col, row).
  auto at = [&](int k, int p) {
    return vertical ? std::pair(dstCol + p, dstRow + k) : std::pair(dstCol + k, dstRow + p);
  };
  for (int k = 0; k < len && index + k < src.Length(); ++k) {
    const int i = index + k;
    if (cx) {
      auto [c0, r0] = at(k, 0);
      auto [c1, r1] = at(k, 1);
      Put(dst, c0, r0, FormatSample(src.CValues(i).real(), format));
      Put(dst, c1, r1, FormatSample(src.CValues(i).imag(), format));
    } else {
      auto [c, r] = at(k, 0);
      Put(dst, c, r, FormatSample(src.Values(i), format));
    }
    if (headers) {
      auto [c, r] = at(k, 0);
      vertical ? Put(dst, c - 1, r, std::to_string(i)) : Put(dst, c, r - 1, std::to_string(i));
    }
  }
  if (headers) {
    const char* names[2] = {cx ? "0-Re" : "0", "0-Im"};
    for (int p = 0; p <= cx; ++p) {
      auto [c, r] = at(0, p);
      vertical ? Put(dst, c, r - 1, names[p]) : Put(dst, c - 1, r, names[p]);
    }
  }
}

// The whole vector.
void ValuesToGrid(const TVec& src, QTableWidget& dst, int dstCol, int dstRow, const std::string& format,
                  bool vertical, bool headers) {
  ValuesToGrid(src, dst, dstCol, dstRow, 0, src.Length(), format, vertical, headers);
}

// Checks, then the block row by row.
void ValuesToGrid(const TZel& src, QTableWidget& dst, int dstCol, int dstRow, int srcRow, int srcCol,
                  int rowCount, int colCount, const std::string& format, bool headers) {
  const int cx = src.Complex() ? 1 : 0;
  Check(dst.columnCount() + 1 < colCount * (1 + cx) + dstCol,
        "(Dst.ColCount+1) < (ColCount*(1+Integer(Src.Complex))+DstCol)");
  Check(dst.rowCount() + 1 < rowCount + dstRow, "(Dst.RowCount+1) < (RowCount+DstRow)");
  Check(srcRow + rowCount > src.Rows(), "(SrcRow + RowCount) > Src.Rows");
  Check(srcCol + colCount > src.Cols(), "(SrcCol + ColCount) > Src.Cols");
  for (int r = 0; r < rowCount; ++r) {
    if (headers) Put(dst, dstCol - 1, dstRow + r, std::to_string(srcRow + r));
    for (int c = 0; c < colCount; ++c) {
      const int col = dstCol + c * (1 + cx);
      if (cx) {
        const TCplx z = src.CValues(srcRow + r, srcCol + c);
        Put(dst, col, dstRow + r, FormatSample(z.real(), format));
        Put(dst, col + 1, dstRow + r, FormatSample(z.imag(), format));
      } else {
        Put(dst, col, dstRow + r, FormatSample(src.Values(srcRow + r, srcCol + c), format));
      }
    }
  }
  if (!headers) return;
  for (int c = 0; c < colCount; ++c) {
    const std::string n = std::to_string(srcCol + c);
    const int col = dstCol + c * (1 + cx);
    if (cx) {
      Put(dst, col, dstRow - 1, n + "-Re");
      Put(dst, col + 1, dstRow - 1, n + "-Im");
    } else {
      Put(dst, col, dstRow - 1, n);
    }
  }
}

// The whole matrix.
void ValuesToGrid(const TZel& src, QTableWidget& dst, int dstCol, int dstRow, const std::string& format,
                  bool headers) {
  ValuesToGrid(src, dst, dstCol, dstRow, 0, 0, src.Rows(), src.Cols(), format, headers);
}

// Checks, then the cells into a temporary vector that is copied into place.
void GridToValues(TVec& dst, const QTableWidget& src, int srcCol, int srcRow, int index, int len,
                  bool complex, bool vertical) {
  Check(index + len > dst.Length(), "(Index + Len) > Dst.Length");
  if (vertical) {
    Check(srcRow + len > src.rowCount(), "((SrcRow + Len) > Src.RowCount) and Vertical");
    Check(complex && srcCol + 2 > src.columnCount(),
          "GridToValues: Not enough columns. Need separate columns for real and complex!");
  } else {
    Check(srcRow + 1 > src.rowCount(), "(SrcRow+1) > Src.RowCount");
    Check(complex && srcRow + 2 > src.rowCount(),
          "GridToValues: Not enough columns. Need separate columns for real and complex");
  }
  const bool single = IsSingle(dst);
  TVec tmp(len, complex);
  for (int k = 0; k < len; ++k) {
    const int c = vertical ? srcCol : srcCol + k;
    const int r = vertical ? srcRow + k : srcRow;
    if (complex)
      tmp.CValues(k) = TCplx(ParseCell(src, c, r, single),
                             ParseCell(src, vertical ? c + 1 : c, vertical ? r : r + 1, single));
    else
      tmp.Values(k) = ParseCell(src, c, r, single);
  }
  if (complex && !dst.Complex()) dst.ExtendToComplex();
  if (!complex && dst.Complex()) tmp.ExtendToComplex();
  dst.Copy(tmp, 0, index, len);
}

// The vector takes the grid's length (less the header) and is read from row/column 1 with headers.
void GridToValues(TVec& dst, const QTableWidget& src, bool complex, bool headers, bool vertical) {
  const int h = headers ? 1 : 0;
  const int len = (vertical ? src.rowCount() : src.columnCount()) - h;
  dst.Size(std::max(0, len), complex);
  GridToValues(dst, src, h, h, 0, std::max(0, len), complex, vertical);
}

// Checks, then the block cell by cell into place.
void GridToValues(TZel& dst, const QTableWidget& src, int row, int col, int srcRow, int srcCol, int rowCount,
                  int colCount, bool complex) {
  Check(row + rowCount > dst.Rows(), "(Row + RowCount) > Dst.Rows");
  Check(col + colCount > dst.Cols(), "(Col + ColCount) > fCols");
  Check(srcRow + rowCount > src.rowCount(), "(SrcRow + RowCount) > Src.RowCount");
  Check(srcCol + colCount * ((complex ? 1 : 0) + 1) > src.columnCount(),
        "(SrcCol + SrcColCount*(Byte(IsComplex)+1)) > Src.ColCount)");
  const bool single = IsSingle(dst);
  TZel tmp(rowCount, colCount, complex);  // parsed first, so a bad cell leaves dst unchanged
  for (int r = 0; r < rowCount; ++r) {
    for (int c = 0; c < colCount; ++c) {
      const int gc = srcCol + (complex ? 2 * c : c);
      const double re = ParseCell(src, gc, srcRow + r, single);
      if (complex)
        tmp.CValues(r, c) = TCplx(re, ParseCell(src, gc + 1, srcRow + r, single));
      else
        tmp.Values(r, c) = re;
    }
  }
  if (complex && !dst.Complex()) dst.ExtendToComplex();
  if (!complex && dst.Complex()) tmp.ExtendToComplex();
  dst.Copy(tmp, 0, 0, row, col, rowCount, colCount);
}

// The matrix takes the grid's shape (less the headers; two columns per complex value) and is read all.
void GridToValues(TZel& dst, const QTableWidget& src, bool complex, bool headers) {
  const int h = headers ? 1 : 0;
  const int rows = std::max(0, src.rowCount() - h);
  const int cols = std::max(0, (src.columnCount() - h) / (complex ? 2 : 1));
  dst.Size(rows, cols, complex);
  GridToValues(dst, src, 0, 0, h, h, rows, cols, complex);
}

}  // namespace zel
