// The vector/matrix editor window: a working copy of one vector or matrix shown in a TNubraGrid, with
// load, save, copy, paste, resizing, element operations and display options in menus and shortcuts.
//
// The form edits its own matrix; a vector is held as a matrix of one column and integer data as reals.
// When it was shown modally and is editable, closing copies the working data back into the source
// (integer sources are rounded). Settings (position, size, delimiter, formats, folders) live in the
// settings group "NubraEditor". The file dialogs and input boxes only ask; the work is done by public
// members (LoadFromFile, SaveToFile, PasteText, SetDelimiterInput, ...) that hosts and tests call directly.
#pragma once

#include <QFileDialog>
#include <QMainWindow>
#include <QSettings>
#include <functional>
#include <string>

#include "core/nubra.h"
#include "ui/nubragrid.h"

namespace zel {

class TNubraEditForm : public QMainWindow {
  Q_OBJECT

 public:
  explicit TNubraEditForm(QWidget* parent = nullptr);

  // Copies the data into the working matrix and remembers the source (not owned).
  void SetSource(TZel* source);
  void SetSource(TVec* source);
  void SetSource(TVecInt* source);
  void SetSource(TZelInt* source);
  bool VectorMode() const { return fVectorMode; }
  TZel& Working() { return fWorking; }
  const TZel& Working() const { return fWorking; }
  TNubraGrid& Grid() { return *fGrid; }

  // Reads the settings, applies the arguments and shows the form; a modal form returns after it closed
  // (and has freed itself by then).
  void ShowValues(const QString& caption, bool modal, bool editable, bool stayOnTop);
  // Shows the form as it is set up (modal: returns after it closed).
  void Present(bool modal);

  // Loads a file by the open dialog's filter: 1 matrix file, 2 vector file (one row), 3 text.
  void LoadFromFile(const QString& path, int filterIndex);
  // Saves by the save dialog's filter: 1 matrix file, 2 vector file, 3 text, 4 Matrix Market.
  void SaveToFile(const QString& path, int filterIndex) const;
  // The values as delimited lines; `asReal` writes real and imaginary parts as separate columns.
  QString ValuesText(bool asReal = false) const;
  // Replaces the values by delimited text; `asComplex` then pairs the columns into complex values.
  void PasteText(const QString& text, bool asComplex);
  // "#" followed by a decimal code gives that character (low 8 bits), other input is the delimiter.
  void SetDelimiterInput(const QString& input);
  const std::string& Delimiter() const { return fDelimiter; }
  // New shape; in vector mode `cols` is ignored (one column).
  void ResizeData(int rows, int cols);
  // After any change of the working data: new grid dimensions, actions, redraw.
  void DataChanged();

  // Fills the Chart menu from the registered extension items.
  void UpdateChartActions();
  bool SeriesInColumns() const;
  QMenu* ChartMenu() const { return fChartMenu; }
  // Called while the form closes, after the write-back (TZelViewDialog keeps its settings this way).
  std::function<void(TNubraEditForm&)> OnClosing;

  QString LastOpenDir() const { return fOpenDialog->directory().absolutePath(); }
  QString LastSaveDir() const { return fSaveDialog->directory().absolutePath(); }
  void SetLastOpenDir(const QString& dir) { fOpenDialog->setDirectory(dir); }
  void SetLastSaveDir(const QString& dir) { fSaveDialog->setDirectory(dir); }
  // Form position kind: 0 at FormLeft/FormTop, 4 centred on the screen, others left to the window system.
  int FormPosition() const { return fPosition; }
  void SetFormPosition(int p) { fPosition = p; }

  QAction *ALoad, *ASave, *AClose, *ACopy, *ACopyReal, *APaste, *APasteComplex, *ASize, *ASetZero;
  QAction *ARealPart, *AImagPart, *ATransp, *AAdjung, *AMag;
  QAction *AEditable, *AColWidth, *ASetDelimiter, *AStrFmt, *SciFormatAction, *ASplitCplx;
  QAction *ChartColsAction, *ChartRowsAction;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildActions();
  void UpdateActions();
  void ReadSettings(QSettings& s);
  void WriteSettings(QSettings& s) const;
  void WriteBack();
  // Replaces the working data by op(working).
  void Replace(void (*op)(const TZel& src, TZel& dst));

  TZel fWorking;
  TNubraGrid* fGrid;
  std::string fDelimiter = "\t";
  QFileDialog* fOpenDialog;
  QFileDialog* fSaveDialog;
  QMenu* fChartMenu;
  TZel* fSrcZel = nullptr;
  TVec* fSrcVec = nullptr;
  TVecInt* fSrcVecInt = nullptr;
  TZelInt* fSrcZelInt = nullptr;
  bool fVectorMode = false;
  bool fModal = false;
  int fPosition = 4;
};

// The delimiter as typed into the delimiter box: "#" and the code for control characters, otherwise the
// delimiter itself.
QString DelimiterInput(const std::string& delimiter);

// Opens an editor on a copy of the data. Modal and editable: the edits go back into the source when the
// form closes. An empty caption gives "Vector values" or "Matrix values".
void ViewValues(TZel& m, const QString& caption = {}, bool modal = false, bool editable = false,
                bool stayOnTop = false);
void ViewValues(TVec& v, const QString& caption = {}, bool modal = false, bool editable = false,
                bool stayOnTop = false);
void ViewValues(TVecInt& v, const QString& caption = {}, bool modal = false, bool editable = false,
                bool stayOnTop = false);
void ViewValues(TZelInt& m, const QString& caption = {}, bool modal = false, bool editable = false,
                bool stayOnTop = false);

}  // namespace zel
