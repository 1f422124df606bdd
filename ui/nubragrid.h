// The vector and matrix grid: a table view that shows and edits one vector or matrix of the numeric core
// in place, through TNubraGridModel. TCustomNubraGrid holds the behaviour; TNubraGrid only sets the
// defaults a form designer sees.
//
// The grid never owns its data source: the host keeps it alive while it is shown, and calls Recreate after
// it changed the source's shape behind the grid's back. Row and column counts follow the classic string
// grid: they include the fixed header row and column, so an empty grid is 2 x 2.
#pragma once

#include <QLabel>
#include <QTableView>
#include <string>

#include "ui/gridmodel.h"

namespace zel {

class TCustomNubraGrid : public QTableView {
  Q_OBJECT
  Q_PROPERTY(bool AllowAppend READ AllowAppend WRITE SetAllowAppend)
  Q_PROPERTY(bool Scientific READ Scientific WRITE SetScientific)
  Q_PROPERTY(QString StringFormat READ StringFormatQ WRITE SetStringFormatQ)
  Q_PROPERTY(bool SplitComplexNumbers READ SplitComplexNumbers WRITE SetSplitComplexNumbers)
  Q_PROPERTY(bool Editable READ Editable WRITE SetEditable)
  Q_PROPERTY(bool AutoSizeColumns READ AutoSizeColumns WRITE SetAutoSizeColumns)
  Q_PROPERTY(bool ShowInfo READ ShowInfo WRITE SetShowInfo)
  Q_PROPERTY(int ColumnWidth READ ColumnWidth WRITE SetColumnWidth)

 public:
  explicit TCustomNubraGrid(QWidget* parent = nullptr);

  // Shows `source` (vector, matrix, integer vector or integer matrix; nil for none).
  void SetDatasource(TNubra* source);
  TNubra* Datasource() const { return fModel->Datasource(); }
  TGridDataKind DataKind() const { return fModel->DataKind(); }
  TNubraGridModel& Model() const { return *fModel; }

  // Grid shape including the fixed header row and column.
  int RowCount() const { return fModel->rowCount() + 1; }
  int ColCount() const { return fModel->columnCount() + 1; }
  int FixedRows() const { return 1; }
  int FixedCols() const { return 1; }
  int FirstRowNum() const { return 1; }
  int FirstColNum() const { return 1; }
  int MaxDataRows() const { return fModel->MaxDataRows(); }
  int MaxDataCols() const { return fModel->MaxDataCols(); }
  bool DataSourceIsComplex() const { return fModel->DataSourceIsComplex(); }
  int CellToIndex(int row, int col) const { return fModel->CellToIndex(row, col); }
  double CellToReal(int row, int col) const { return fModel->CellToReal(row, col); }
  TCplx CellToCplx(int row, int col) const { return fModel->CellToCplx(row, col); }
  std::int32_t CellToInt(int row, int col) const { return fModel->CellToInt(row, col); }
  std::string GetEditText(int col, int row) const { return fModel->GetEditText(col, row); }
  void SetEditText(int col, int row, const std::string& text);
  // The current grid cell (row, col), counted like the grid's RowCount.
  int Row() const;
  int Col() const;

  // Re-reads the source's shape and selects the first data cell.
  void Recreate();
  void CalcDimensions() { fModel->Reload(); }
  // Applies column widths and redraws every cell.
  void Repaint();
  // Width of a data column from the widest sample text of the current format.
  int BestColWidth() const;
  // Gives every data column the width.
  void AdjustColWidths(int width);
  // Adds an element (vector) or a row (matrix) when AllowAppend and Editable are on.
  void AppendRow();
  // Removes the current element or row while editing is on (never the last one).
  void RemoveRow();
  // Opens the in-place editor on the current cell.
  void StartEditing();
  // True while the in-place editor is open.
  bool IsEditing() const { return state() == QAbstractItemView::EditingState; }
  // Closes the in-place editor; with `cancel` the cell keeps its text from before editing.
  void StopEditing(bool cancel);

  bool AllowAppend() const { return fAllowAppend; }
  void SetAllowAppend(bool on) { fAllowAppend = on; }
  bool Scientific() const { return fModel->Scientific(); }
  void SetScientific(bool on);
  const std::string& StringFormat() const { return fModel->StringFormat(); }
  void SetStringFormat(const std::string& format);
  bool SplitComplexNumbers() const { return fModel->SplitComplexNumbers(); }
  void SetSplitComplexNumbers(bool on);
  bool Editable() const { return fModel->Editable(); }
  void SetEditable(bool on);
  TCellTextAlign TextAlign() const { return fModel->TextAlign(); }
  void SetTextAlign(TCellTextAlign a) { fModel->SetTextAlign(a); }
  bool AutoSizeColumns() const { return fAutoSize; }
  void SetAutoSizeColumns(bool on);
  bool ShowInfo() const { return fShowInfo; }
  void SetShowInfo(bool on);
  int ColumnWidth() const { return fColumnWidth; }
  void SetColumnWidth(int width);
  // Row height of data rows.
  void SetDefaultRowHeight(int height);
  // The dimensions and "Real"/"Complex" shown in the top-left cell.
  QString InfoText() const;

 signals:
  // The source's shape changed through the grid (AppendRow, RemoveRow).
  void SourceResized();
  // A typed cell text was not accepted.
  void EditRejected(const QString& message);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void updateGeometries() override;

 private:
  QString StringFormatQ() const { return QString::fromStdString(StringFormat()); }
  void SetStringFormatQ(const QString& f) { SetStringFormat(f.toStdString()); }
  void UpdateInfo();

  TNubraGridModel* fModel;
  QLabel* fInfo;
  std::string fEditStartText;
  bool fAllowAppend = false;
  bool fAutoSize = true;
  bool fShowInfo = true;
  int fColumnWidth = 0;
};

// The grid as placed on forms: default column width 64, row height 24, both scroll bars.
class TNubraGrid : public TCustomNubraGrid {
  Q_OBJECT

 public:
  explicit TNubraGrid(QWidget* parent = nullptr);
};

}  // namespace zel
