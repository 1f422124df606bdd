// TZelViewDialog: a non-visual component that opens the vector/matrix editor with settings it keeps
// between runs (and in its configuration file), and takes the settings back when the editor closes.
#pragma once

#include <QPointer>
#include <string>

#include "core/component.h"
#include "ui/editform.h"

namespace zel {

class TZelViewDialog : public TZelComponent {
 public:
  TZelViewDialog() = default;
  // Closes an editor still open from an earlier run.
  ~TZelViewDialog() override;

  // Opens the editor on a copy of the data with the dialog's settings (modal when ShowModal).
  void Execute(TZel& m);
  void Execute(TVec& v);
  // The editor of the current run, or null.
  TNubraEditForm* Form() const { return fForm; }
  // Takes the settings from an editor (called when it closes).
  void SaveSettings(const TNubraEditForm& form);

  std::string LastOpenDir, LastSaveDir;
  std::string Delimiter = "\t";
  int ColumnWidth = 0;
  std::string StringFormat = "0.####";
  bool Scientific = false;
  bool ShowModal = false;
  bool StayOnTop = false;
  std::string Caption = "Matrix/vector editor";
  int WindowLeft = 0, WindowTop = 0;
  int Position = 4;  // 0: at WindowLeft/WindowTop; 4: centred on the screen
  bool Editable = false;

  void WriteProperties(TProperties& dst) const override;
  void ReadProperties(const TProperties& src) override;
  std::string ClassName() const override { return "TZelViewDialog"; }

 private:
  template <class Source>
  void Run(Source& src);
  QPointer<TNubraEditForm> fForm;
};

}  // namespace zel
