// The vector and matrix grid view (see nubragrid.h).
#include "ui/nubragrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

namespace zel {

namespace {

// Removes `n` elements at `start` from a real or complex object by shifting the rest down; the caller
// shrinks the object afterwards.
void ShiftOut(TNubraVec& v, int start, int n) {
  TVec tmp;
  tmp.Copy(v);
  v.Copy(tmp, start + n, start, v.Length() - start - n);
}

// The same for integer objects.
void ShiftOut(TNubraInt& v, int start, int n) {
  TVecInt tmp;
  tmp.Copy(v);
  v.Copy(tmp, start + n, start, v.Length() - start - n);
}

}  // namespace

// One fixed row and column, row height 16, column 0 at least 60 wide, headers aligned as drawn by the
// classic grid; the corner shows the dimensions.
TCustomNubraGrid::TCustomNubraGrid(QWidget* parent)
    : QTableView(parent), fModel(new TNubraGridModel(this)), fInfo(new QLabel(this)) {
  setModel(fModel);
  setCornerButtonEnabled(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(8);
  verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
  verticalHeader()->setMinimumWidth(60);
  SetDefaultRowHeight(std::max(16, fontMetrics().height() + 2));
  fInfo->setFrameShape(QFrame::Box);
  fInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  fInfo->setContentsMargins(3, 1, 0, 0);
  fInfo->setAutoFillBackground(true);
  connect(fModel, &TNubraGridModel::editRejected, this, &TCustomNubraGrid::EditRejected);
  SetShowInfo(true);
  UpdateInfo();
  Recreate();
  Repaint();
}

// Shows a new source and selects its first cell.
void TCustomNubraGrid::SetDatasource(TNubra* source) {
  if (source == fModel->Datasource()) return;
  fModel->SetDatasource(source);
  Recreate();
  Repaint();
}

// Writes a cell through the model so views of it update.
void TCustomNubraGrid::SetEditText(int col, int row, const std::string& text) {
  fModel->SetEditText(col, row, text);
  fModel->Refresh();
}

// The current cell's grid row (1 for the first data row).
int TCustomNubraGrid::Row() const { return currentIndex().isValid() ? currentIndex().row() + 1 : 1; }

// The current cell's grid column.
int TCustomNubraGrid::Col() const { return currentIndex().isValid() ? currentIndex().column() + 1 : 1; }

// New dimensions from the source; the selection returns to the first data cell.
void TCustomNubraGrid::Recreate() {
  CalcDimensions();
  setCurrentIndex(fModel->index(0, 0));
  UpdateInfo();
}

// Column widths by the current settings, then every visible cell is drawn again.
void TCustomNubraGrid::Repaint() {
  int width;
  if (fAutoSize) {
    width = BestColWidth();
  } else {
    if (fColumnWidth == 0) fColumnWidth = BestColWidth();
    width = fColumnWidth;
  }
  AdjustColWidths(width);
  UpdateInfo();
  fModel->Refresh();
  viewport()->update();
}

// The width of the widest text the current format can produce, plus the cell's margins.
int TCustomNubraGrid::BestColWidth() const {
  std::string sample = StringFormat();
  if (Scientific()) {
    const auto* real = dynamic_cast<const TNubraVec*>(Datasource());
    const bool single =
        real && (real->FloatPrecision() == npSingle || real->FloatPrecision() == npSingleComplex);
    sample = single ? "-0.0000000" : "-0.000000000000000";
  }
  if (DataSourceIsComplex() && !SplitComplexNumbers()) sample = sample + "+" + sample + "i";
  const int margin = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  return fontMetrics().horizontalAdvance(QString::fromStdString(sample)) + 4 + margin;
}

// One width for every data column: the default section size, which Qt applies to every existing column
// in one pass and to columns added later.
void TCustomNubraGrid::AdjustColWidths(int width) { horizontalHeader()->setDefaultSectionSize(width); }

// Grows the source by one element or row and selects the new last row.
void TCustomNubraGrid::AppendRow() {
  TNubra* src = Datasource();
  if (!src || !fAllowAppend || !Editable()) return;
  switch (DataKind()) {
    case TGridDataKind::gkVector:
      fModel->SourceVector()->Resize(src->Length() + 1);
      break;
    case TGridDataKind::gkIntVector:
      fModel->SourceIntVector()->Resize(src->Length() + 1);
      break;
    case TGridDataKind::gkMatrix:
      fModel->SourceMatrix()->Resize(src->Rows() + 1, std::max(1, src->Cols()));
      break;
    case TGridDataKind::gkIntMatrix:
      fModel->SourceIntMatrix()->Resize(src->Rows() + 1, std::max(1, src->Cols()));
      break;
  }
  const int col = currentIndex().isValid() ? currentIndex().column() : 0;
  CalcDimensions();
  setCurrentIndex(fModel->index(fModel->rowCount() - 1, col));
  Repaint();
  emit SourceResized();
}

// Removes the current element (vectors longer than 1) or row (matrices of 2 rows or more).
void TCustomNubraGrid::RemoveRow() {
  TNubra* src = Datasource();
  if (!src || !Editable()) return;
  const int r = Row() - 1;
  if (src->IsMatrix()) {
    const int rows = src->Rows(), cols = src->Cols();
    if (rows < 2 || r >= rows) return;
    if (auto* m = fModel->SourceMatrix()) {
      ShiftOut(*m, r * cols, cols);
      m->Resize(rows - 1, cols);
    } else {
      ShiftOut(*fModel->SourceIntMatrix(), r * cols, cols);
      fModel->SourceIntMatrix()->Resize(rows - 1, cols);
    }
  } else {
    const int len = src->Length();
    if (len < 2 || r >= len) return;
    if (auto* v = fModel->SourceVector()) {
      ShiftOut(*v, r, 1);
      v->Resize(len - 1);
    } else {
      ShiftOut(*fModel->SourceIntVector(), r, 1);
      fModel->SourceIntVector()->Resize(len - 1);
    }
  }
  const QModelIndex at = currentIndex();
  CalcDimensions();
  setCurrentIndex(fModel->index(std::min(at.row(), fModel->rowCount() - 1), std::max(0, at.column())));
  Repaint();
  emit SourceResized();
}

// Opens the editor on the current cell, remembering its text for a cancel.
void TCustomNubraGrid::StartEditing() {
  if (!Editable() || state() == QAbstractItemView::EditingState || !currentIndex().isValid()) return;
  fEditStartText = GetEditText(Col(), Row());
  edit(currentIndex());
}

// Closes the editor: commits its text, or on cancel drops it so the cell keeps its earlier value.
void TCustomNubraGrid::StopEditing(bool cancel) {
  QWidget* editor = indexWidget(currentIndex());
  if (state() != QAbstractItemView::EditingState || !editor) return;
  if (!cancel) commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

// Scientific notation on or off.
void TCustomNubraGrid::SetScientific(bool on) {
  if (on == Scientific()) return;
  fModel->SetScientific(on);
  Repaint();
}

// The number picture of real and complex parts.
void TCustomNubraGrid::SetStringFormat(const std::string& format) {
  if (format == StringFormat()) return;
  fModel->SetStringFormat(format);
  Repaint();
}

// Two columns per complex value, or one text.
void TCustomNubraGrid::SetSplitComplexNumbers(bool on) {
  if (on == SplitComplexNumbers()) return;
  fModel->SetSplitComplexNumbers(on);
  Recreate();
  Repaint();
}

// Cells editable by double click, F2 or typing.
void TCustomNubraGrid::SetEditable(bool on) {
  if (on == Editable()) return;
  fModel->SetEditable(on);
  setEditTriggers(on ? QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed
                     : QAbstractItemView::NoEditTriggers);
  Repaint();
}

// Widths from the format (on) or the fixed ColumnWidth (off).
void TCustomNubraGrid::SetAutoSizeColumns(bool on) {
  if (on == fAutoSize) return;
  fAutoSize = on;
  Repaint();
}

// A fixed width; 0 returns to widths from the format.
void TCustomNubraGrid::SetColumnWidth(int width) {
  if (width == fColumnWidth) return;
  fColumnWidth = width;
  fAutoSize = width == 0;
  Repaint();
}

// The corner cell with dimensions (two text lines in the header) or a plain header.
void TCustomNubraGrid::SetShowInfo(bool on) {
  fShowInfo = on;
  const int line = fontMetrics().height();
  horizontalHeader()->setFixedHeight(on ? std::max(32, 2 * line + 6) : std::max(16, line + 4));
  horizontalHeader()->setDefaultAlignment(Qt::AlignHCenter | (on ? Qt::AlignBottom : Qt::AlignVCenter));
  fInfo->setVisible(on);
  updateGeometries();
  Repaint();
}

// Height of every data row.
void TCustomNubraGrid::SetDefaultRowHeight(int height) { verticalHeader()->setDefaultSectionSize(height); }

// "rows x cols" (matrices), "length x 1" (vectors), "0 x 0" without data; then "Real" or "Complex".
QString TCustomNubraGrid::InfoText() const {
  const TNubra* src = Datasource();
  QString dims = "0 x 0";
  if (src && src->IsMatrix())
    dims = QString("%1 x %2").arg(src->Rows()).arg(src->Cols());
  else if (src && src->Length() > 0)
    dims = QString("%1 x 1").arg(src->Length());
  return dims + "\n" + (DataSourceIsComplex() ? "Complex" : "Real");
}

// Refreshes the corner text and widens the row header so the text fits.
void TCustomNubraGrid::UpdateInfo() {
  const QString text = InfoText();
  fInfo->setText(text);
  const int w = fontMetrics().horizontalAdvance(text.section('\n', 0, 0)) + 10;
  verticalHeader()->setMinimumWidth(std::max(60, fShowInfo ? w : 0));
  updateGeometries();
}

// Escape cancels editing, Enter on the last row appends, Delete and F2 open the editor, Ctrl+Delete
// removes the current row; everything else (and other Ctrl combinations) is the view's own.
void TCustomNubraGrid::keyPressEvent(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  if (ctrl && event->key() == Qt::Key_Delete) return RemoveRow();
  if (!ctrl) {
    switch (event->key()) {
      case Qt::Key_Escape:
        return StopEditing(true);
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (Row() == RowCount() - 1 && fAllowAppend && Editable()) return AppendRow();
        break;
      case Qt::Key_Delete:
        StartEditing();
        break;
      case Qt::Key_F2:
        return StartEditing();
      default:
        break;
    }
  }
  QTableView::keyPressEvent(event);
}

// Keeps the corner label over the cell where the two headers meet.
void TCustomNubraGrid::updateGeometries() {
  QTableView::updateGeometries();
  const QRect h = horizontalHeader()->geometry();
  fInfo->setGeometry(h.left() - verticalHeader()->width(), h.top(), verticalHeader()->width(), h.height());
  fInfo->raise();
}

// The form defaults: columns 64 wide, rows 24 high, both scroll bars as needed.
TNubraGrid::TNubraGrid(QWidget* parent) : TCustomNubraGrid(parent) {
  horizontalHeader()->setDefaultSectionSize(64);
  SetDefaultRowHeight(24);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Repaint();
}

}  // namespace zel
