// The table model behind the vector and matrix grid: it reads and writes one vector or matrix of the
// numeric core in place and turns cells into text only when the view asks for them, so opening a large
// matrix costs the visible cells, not all of them.
//
// Coordinates: the grid counts its fixed header row and column, so data cells start at grid row 1 and
// grid column 1 (FirstRowNum, FirstColNum); model index (r, c) is grid cell (r + 1, c + 1). Header texts
// come through headerData. A complex source is shown either as one "re+imi" text per element or, split,
// as two columns per element (real, imaginary).
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <string>

#include "core/cplx.h"
#include "core/nubra.h"

namespace zel {

// What the data source is; taken from the source when it is set.
enum class TGridDataKind { gkVector, gkMatrix, gkIntVector, gkIntMatrix };

// Alignment of data cells.
enum TCellTextAlign { alLeft, alRight, alCenter };

class TNubraGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit TNubraGridModel(QObject* parent = nullptr);

  // Shows `source` (not owned; nil shows an empty grid). Resets the model when the source changes.
  void SetDatasource(TNubra* source);
  TNubra* Datasource() const { return fSource; }
  TGridDataKind DataKind() const { return fKind; }
  TVec* SourceVector() const { return fVec; }
  TZel* SourceMatrix() const { return fZel; }
  TVecInt* SourceIntVector() const { return fVecInt; }
  TZelInt* SourceIntMatrix() const { return fZelInt; }

  bool Scientific() const { return fScientific; }
  void SetScientific(bool on);
  const std::string& StringFormat() const { return fStringFormat; }
  void SetStringFormat(const std::string& format);
  bool SplitComplexNumbers() const { return fSplit; }
  void SetSplitComplexNumbers(bool on);
  bool Editable() const { return fEditable; }
  void SetEditable(bool on) { fEditable = on; }
  TCellTextAlign TextAlign() const { return fAlign; }
  void SetTextAlign(TCellTextAlign a);

  // Data rows and columns of the source (0 without one); split complex data counts two columns each.
  int MaxDataRows() const;
  int MaxDataCols() const;
  // False for integer sources; otherwise the source's complex flag.
  bool DataSourceIsComplex() const;
  // The element index of grid cell (row, col), both counted from the header row and column.
  int CellToIndex(int row, int col) const;
  double CellToReal(int row, int col) const;
  TCplx CellToCplx(int row, int col) const;
  std::int32_t CellToInt(int row, int col) const;

  // Text of grid cell (col, row) as drawn and edited; headers in row 0 and column 0.
  std::string GetEditText(int col, int row) const;
  // Parses `text` into grid cell (col, row); raises the core's conversion error on text that does not
  // parse. Empty text and a missing source change nothing.
  void SetEditText(int col, int row, const std::string& text);

  // Re-reads the source's shape (after the host resized or replaced its contents).
  void Reload();
  // Tells the view that every visible cell's text may have changed.
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // A cell's text did not parse; the message is the conversion error's.
  void editRejected(const QString& message);

 private:
  bool Split() const { return fSplit && DataSourceIsComplex(); }
  int SourceLength() const { return fSource ? fSource->Length() : 0; }
  void WriteInt(int index, std::int64_t v);

  TNubra* fSource = nullptr;
  TVec* fVec = nullptr;
  TZel* fZel = nullptr;
  TVecInt* fVecInt = nullptr;
  TZelInt* fZelInt = nullptr;
  TGridDataKind fKind = TGridDataKind::gkMatrix;
  bool fScientific = false;
  std::string fStringFormat;
  bool fSplit = false;
  bool fEditable = false;
  TCellTextAlign fAlign = alRight;
  int fRows = 1;  // model shape as last announced to the view
  int fCols = 1;
};

}  // namespace zel
