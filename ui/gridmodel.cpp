// The table model of the vector and matrix grid (see gridmodel.h).
#include "ui/gridmodel.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "core/controller.h"
#include "core/errors.h"
#include "core/text.h"

namespace zel {

namespace {

// Parses a whole decimal integer (blanks around it allowed); anything else raises the conversion error.
std::int64_t StrToInt64(const std::string& s) {
  const char* begin = s.c_str();
  char* end = nullptr;
  errno = 0;
  const long long v = std::strtoll(begin, &end, 10);
  while (end && (*end == ' ' || *end == '\t')) ++end;
  if (end == begin || *end != '\0' || errno == ERANGE) ERaise("'" + s + "' is not a valid integer value");
  return v;
}

}  // namespace

// An empty model with the default number format.
TNubraGridModel::TNubraGridModel(QObject* parent)
    : QAbstractTableModel(parent), fStringFormat(DefaultNumberFormat()) {}

// Stores the source and its typed reference, then resets the model.
void TNubraGridModel::SetDatasource(TNubra* source) {
  if (source == fSource) return;
  beginResetModel();
  fSource = source;
  fVec = nullptr;
  fZel = nullptr;
  fVecInt = nullptr;
  fZelInt = nullptr;
  if ((fZel = dynamic_cast<TZel*>(source))) {
    fKind = TGridDataKind::gkMatrix;
  } else if ((fVec = dynamic_cast<TVec*>(source))) {
    fKind = TGridDataKind::gkVector;
  } else if ((fZelInt = dynamic_cast<TZelInt*>(source))) {
    fKind = TGridDataKind::gkIntMatrix;
  } else if ((fVecInt = dynamic_cast<TVecInt*>(source))) {
    fKind = TGridDataKind::gkIntVector;
  }
  fRows = rowCount();
  fCols = columnCount();
  endResetModel();
}

// Switches scientific notation and redraws.
void TNubraGridModel::SetScientific(bool on) {
  if (on == fScientific) return;
  fScientific = on;
  Refresh();
}

// Sets the number picture and redraws.
void TNubraGridModel::SetStringFormat(const std::string& format) {
  if (format == fStringFormat) return;
  fStringFormat = format;
  Refresh();
}

// Switches split complex columns; the column count changes, so the model is reset.
void TNubraGridModel::SetSplitComplexNumbers(bool on) {
  if (on == fSplit) return;
  fSplit = on;
  Reload();
}

// Sets the data cells' alignment and redraws.
void TNubraGridModel::SetTextAlign(TCellTextAlign a) {
  if (a == fAlign) return;
  fAlign = a;
  Refresh();
}

// Rows of data: a vector's length, a matrix's row count.
int TNubraGridModel::MaxDataRows() const {
  if (!fSource || fSource->Length() == 0) return 0;
  return fSource->IsMatrix() ? fSource->Rows() : fSource->Length();
}

// Columns of data: 1 for vectors, a matrix's column count; doubled for split complex data.
int TNubraGridModel::MaxDataCols() const {
  if (!fSource) return 0;
  const int cols = fSource->IsMatrix() ? fSource->Cols() : 1;
  return Split() ? 2 * cols : cols;
}

// Integer sources are never complex.
bool TNubraGridModel::DataSourceIsComplex() const {
  const auto* real = dynamic_cast<const TNubraVec*>(fSource);
  return real && real->Complex();
}

// Element index of a data cell: row-major for matrices, the row for vectors.
int TNubraGridModel::CellToIndex(int row, int col) const {
  const int c = Split() ? (col - 1) / 2 : col - 1;
  if (fSource && fSource->IsMatrix()) return (row - 1) * fSource->Cols() + c;
  return row - 1;
}

// The real value at a cell (the part shown there for split complex data); 0 past the end.
double TNubraGridModel::CellToReal(int row, int col) const {
  const int i = CellToIndex(row, col);
  if (i < 0 || i >= SourceLength()) return 0;
  if (auto* ints = dynamic_cast<const TNubraInt*>(fSource)) return ints->Get(i);
  const auto& v = static_cast<const TNubraVec&>(*fSource);
  if (!v.Complex()) return v.Values(i);
  return (Split() && (col - 1) % 2 == 1) ? v.CValues(i).imag() : v.CValues(i).real();
}

// The complex value at a cell; 0 past the end.
TCplx TNubraGridModel::CellToCplx(int row, int col) const {
  const int i = CellToIndex(row, col);
  if (i < 0 || i >= SourceLength()) return {0, 0};
  if (DataSourceIsComplex()) return static_cast<const TNubraVec&>(*fSource).CValues(i);
  return {CellToReal(row, col), 0};
}

// The integer at a cell of an integer source; 0 past the end or for real sources.
std::int32_t TNubraGridModel::CellToInt(int row, int col) const {
  const int i = CellToIndex(row, col);
  auto* ints = dynamic_cast<const TNubraInt*>(fSource);
  if (!ints || i < 0 || i >= ints->Length()) return 0;
  return ints->Get(i);
}

// Header texts, element indices and formatted values.
std::string TNubraGridModel::GetEditText(int col, int row) const {
  if (!fSource || fSource->Length() == 0) return {};
  if (row == 0) {
    if (col == 0) return {};
    if (Split()) return std::to_string((col - 1) / 2) + ((col - 1) % 2 == 0 ? "-Re" : "-Im");
    return std::to_string(col - 1);
  }
  if (col == 0) return std::to_string(row - 1);
  const int i = CellToIndex(row, col);
  if (i < 0 || i >= SourceLength()) return {};
  if (auto* ints = dynamic_cast<const TNubraInt*>(fSource)) return std::to_string(ints->Get(i));
  const std::string& f = fScientific ? std::string() : fStringFormat;
  if (!DataSourceIsComplex() || Split()) return FormatSample(CellToReal(row, col), f);
  if (fScientific) return FormatCplx(CellToCplx(row, col), "", "");
  return FormatCplx(CellToCplx(row, col), f + ";-" + f, "+" + f + "i;-" + f + "i");
}

// Clamps to the source's integer width (16-bit signed, 8-bit unsigned); 32-bit values must fit.
void TNubraGridModel::WriteInt(int index, std::int64_t v) {
  auto& ints = static_cast<TNubraInt&>(*fSource);
  switch (ints.IntPrecision()) {
    case prInt16:
      v = std::clamp<std::int64_t>(v, -32768, 32767);
      break;
    case prUInt8:
      v = std::clamp<std::int64_t>(v, 0, 255);
      break;
    default:
      if (v < INT32_MIN || v > INT32_MAX) ERaise(std::to_string(v) + " is not a valid 32-bit integer value");
  }
  ints.Set(index, static_cast<std::int32_t>(v));
}

// Parses the text by the source's kind and stores it in place.
void TNubraGridModel::SetEditText(int col, int row, const std::string& text) {
  if (!fSource || text.empty() || row < 1 || col < 1) return;
  const int i = CellToIndex(row, col);
  if (i < 0 || i >= SourceLength()) return;
  if (dynamic_cast<TNubraInt*>(fSource)) return WriteInt(i, StrToInt64(text));
  auto& v = static_cast<TNubraVec&>(*fSource);
  if (!v.Complex()) {
    v.Values(i) = StrToDouble(text);
  } else if (Split()) {
    const double x = StrToDouble(text);
    TCplx& z = v.CValues(i);
    z = (col - 1) % 2 == 0 ? TCplx(x, z.imag()) : TCplx(z.real(), x);
  } else {
    v.CValues(i) = StrToCplx(text);
  }
}

// Resets the model so the view takes the source's current shape.
void TNubraGridModel::Reload() {
  beginResetModel();
  fRows = rowCount();
  fCols = columnCount();
  endResetModel();
}

// Announces a change of every cell's text (the view re-reads the visible ones).
void TNubraGridModel::Refresh() {
  if (rowCount() != fRows || columnCount() != fCols) return Reload();
  emit dataChanged(index(0, 0), index(fRows - 1, fCols - 1));
  emit headerDataChanged(Qt::Horizontal, 0, fCols - 1);
}

// At least one row: without data the grid still shows one empty cell.
int TNubraGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(1, MaxDataRows());
}

// At least one column, as rowCount.
int TNubraGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : std::max(1, MaxDataCols());
}

// Text for display and editing, formatted on demand; the alignment for data cells.
QVariant TNubraGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole)
    return QString::fromStdString(GetEditText(index.column() + 1, index.row() + 1));
  if (role == Qt::TextAlignmentRole) {
    const Qt::Alignment h = fAlign == alLeft     ? Qt::AlignLeft
                            : fAlign == alCenter ? Qt::AlignHCenter
                                                 : Qt::AlignRight;
    return QVariant::fromValue(h | Qt::AlignVCenter);
  }
  return {};
}

// Column headers from row 0, row headers from column 0 of the grid.
QVariant TNubraGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  const std::string text =
      orientation == Qt::Horizontal ? GetEditText(section + 1, 0) : GetEditText(0, section + 1);
  return QString::fromStdString(text);
}

// Stores an edited cell; text that does not parse leaves the value and reports the reason.
bool TNubraGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  try {
    SetEditText(index.column() + 1, index.row() + 1, value.toString().trimmed().toStdString());
  } catch (const ENubraException& e) {
    emit editRejected(QString::fromStdString(e.what()));
    return false;
  }
  emit dataChanged(index, index);
  return true;
}

// Data cells are editable while editing is on and a source is shown.
Qt::ItemFlags TNubraGridModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (fEditable && fSource && fSource->Length() > 0) f |= Qt::ItemIsEditable;
  return f;
}

}  // namespace zel
