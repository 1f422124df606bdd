// The editor window's data handling: taking and giving back the source, files, delimited text, resizing
// and element operations (see editform.h).
#include <QDir>
#include <QFileInfo>
#include <fstream>
#include <sstream>

#include "core/errors.h"
#include "core/matrix_market.h"
#include "ui/editform.h"

namespace zel {

namespace {

// Opens a file for binary reading or raises the core's error.
std::ifstream OpenIn(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  if (!in) ERaise("File not found: " + path.toStdString());
  return in;
}

// Opens a file for binary writing or raises the core's error.
std::ofstream OpenOut(const QString& path) {
  std::ofstream out(path.toStdString(), std::ios::binary);
  if (!out) ERaise("Cannot create file: " + path.toStdString());
  return out;
}

// Splits text into lines at LF, dropping the CR of CR LF line ends.
std::vector<std::string> Lines(const QString& text) {
  std::vector<std::string> lines;
  for (const QString& line : text.split('\n')) lines.push_back(QString(line).remove('\r').toStdString());
  return lines;
}

}  // namespace

// A matrix is taken as it is.
void TNubraEditForm::SetSource(TZel* source) {
  fSrcZel = source;
  fVectorMode = false;
  fWorking.Copy(*source);
  DataChanged();
}

// A vector becomes one column of its length.
void TNubraEditForm::SetSource(TVec* source) {
  fSrcVec = source;
  fVectorMode = true;
  fWorking.Copy(*source);
  fWorking.Size(source->Length(), 1);
  DataChanged();
}

// An integer vector becomes one real column.
void TNubraEditForm::SetSource(TVecInt* source) {
  fSrcVecInt = source;
  fVectorMode = true;
  fWorking.CopyFromInt(*source);
  fWorking.Size(source->Length(), 1);
  DataChanged();
}

// An integer matrix becomes a real matrix.
void TNubraEditForm::SetSource(TZelInt* source) {
  fSrcZelInt = source;
  fVectorMode = false;
  fWorking.CopyFromInt(*source);
  DataChanged();
}

// Copies the working data into the source; integers are rounded to the source's width.
void TNubraEditForm::WriteBack() {
  if (fSrcZel) fSrcZel->Copy(fWorking);
  if (fSrcVec) fSrcVec->Copy(fWorking);
  if (fSrcVecInt) fSrcVecInt->CopyFromReal(fWorking, TRounding::rnRound);
  if (fSrcZelInt) fSrcZelInt->CopyFromReal(fWorking, TRounding::rnRound);
}

// Reads the core's matrix file, a vector file as one row, or delimited text.
void TNubraEditForm::LoadFromFile(const QString& path, int filterIndex) {
  SetLastOpenDir(QFileInfo(path).absolutePath());
  if (filterIndex == 1) {
    auto in = OpenIn(path);
    fWorking.LoadFromStream(in);
  } else if (filterIndex == 2) {
    auto in = OpenIn(path);
    TVec v;
    v.LoadFromStream(in);
    fWorking.Copy(v);
  } else {
    auto in = OpenIn(path);
    std::stringstream text;
    text << in.rdbuf();
    fWorking.StringsToValues(Lines(QString::fromStdString(text.str())), fDelimiter);
  }
  DataChanged();
}

// Writes the core's matrix file, a vector file, delimited text or a Matrix Market file.
void TNubraEditForm::SaveToFile(const QString& path, int filterIndex) const {
  const_cast<TNubraEditForm*>(this)->SetLastSaveDir(QFileInfo(path).absolutePath());
  if (filterIndex == 4) return SaveToMatrixMarketFile(fWorking, path.toStdString());
  auto out = OpenOut(path);
  if (filterIndex == 1) {
    fWorking.SaveToStream(out);
  } else if (filterIndex == 2) {
    TVec v;
    v.Copy(fWorking);
    v.SaveToStream(out);
  } else {
    out << ValuesText().toStdString() << '\n';
  }
  if (!out) ERaise("Cannot write file: " + path.toStdString());
}

// Delimited lines of the working data; as real, complex values give two columns each.
QString TNubraEditForm::ValuesText(bool asReal) const {
  std::vector<std::string> lines;
  if (asReal && fWorking.Complex()) {
    TZel real;
    real.Copy(fWorking);
    real.SetComplex(false);
    real.ValuesToStrings(lines, fDelimiter);
  } else {
    fWorking.ValuesToStrings(lines, fDelimiter);
  }
  QStringList out;
  for (const std::string& line : lines) out << QString::fromStdString(line);
  return out.join('\n');
}

// Parses delimited text into the working data (spreadsheets' tab-separated rows included).
void TNubraEditForm::PasteText(const QString& text, bool asComplex) {
  TZel parsed;
  parsed.StringsToValues(Lines(text), fDelimiter);
  if (asComplex && !parsed.Complex()) {
    if (parsed.Cols() % 2 != 0) ERaise("Paste as complex needs an even number of columns");
    parsed.SetComplex(true);
  }
  fWorking.Copy(parsed);
  DataChanged();
}

// "#code" or the delimiter itself; the menu caption shows the input.
void TNubraEditForm::SetDelimiterInput(const QString& input) {
  const int hash = input.indexOf('#');
  if (hash >= 0) {
    bool ok = false;
    const int code = input.mid(hash + 1).toInt(&ok);
    if (!ok) ERaise("'" + input.mid(hash + 1).toStdString() + "' is not a valid character code");
    fDelimiter = std::string(1, static_cast<char>(code & 0xFF));
  } else {
    if (input.isEmpty()) ERaise("The delimiter cannot be empty");
    fDelimiter = input.toStdString();
  }
  ASetDelimiter->setText("&Delimiter = " + input);
}

// Resizes keeping the values that remain; new elements are zero.
void TNubraEditForm::ResizeData(int rows, int cols) {
  fWorking.Resize(rows, fVectorMode ? 1 : cols);
  DataChanged();
}

// Applies an element operation to the working data.
void TNubraEditForm::Replace(void (*op)(const TZel& src, TZel& dst)) {
  TZel result;
  op(fWorking, result);
  fWorking.Copy(result);
  DataChanged();
}

// The grid takes the new shape and the actions the new type.
void TNubraEditForm::DataChanged() {
  fGrid->Recreate();
  fGrid->Repaint();
  UpdateActions();
}

}  // namespace zel
