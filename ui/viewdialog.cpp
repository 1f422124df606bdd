// The view dialog component (see viewdialog.h).
#include "ui/viewdialog.h"

namespace zel {

// An editor still open goes with the dialog.
TZelViewDialog::~TZelViewDialog() {
  if (fForm) {
    fForm->OnClosing = nullptr;
    fForm->close();
  }
}

// Matrix data.
void TZelViewDialog::Execute(TZel& m) { Run(m); }

// Vector data.
void TZelViewDialog::Execute(TVec& v) { Run(v); }

// Closes the previous editor, opens a new one with every property applied and shows it.
template <class Source>
void TZelViewDialog::Run(Source& src) {
  if (fForm) fForm->close();
  auto* form = new TNubraEditForm;
  fForm = form;
  form->SetSource(&src);
  form->setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTop);
  form->setWindowTitle(QString::fromStdString(Caption));
  form->SetFormPosition(Position);
  if (Position == 0) form->move(WindowLeft, WindowTop);
  form->Grid().SetEditable(Editable);
  form->Grid().SetScientific(Scientific);
  form->SetDelimiterInput(DelimiterInput(Delimiter));
  form->Grid().SetStringFormat(StringFormat);
  form->Grid().SetColumnWidth(ColumnWidth);
  form->SetLastOpenDir(QString::fromStdString(LastOpenDir));
  form->SetLastSaveDir(QString::fromStdString(LastSaveDir));
  form->OnClosing = [this](TNubraEditForm& f) { SaveSettings(f); };
  form->Present(ShowModal);
}

// Copies the editor's settings into the properties.
void TZelViewDialog::SaveSettings(const TNubraEditForm& form) {
  StayOnTop = form.windowFlags() & Qt::WindowStaysOnTopHint;
  WindowLeft = form.x();
  WindowTop = form.y();
  Position = form.FormPosition();
  Delimiter = form.Delimiter();
  auto& grid = const_cast<TNubraEditForm&>(form).Grid();
  StringFormat = grid.StringFormat();
  ColumnWidth = grid.ColumnWidth();
  Scientific = grid.Scientific();
  LastSaveDir = form.LastSaveDir().toStdString();
  LastOpenDir = form.LastOpenDir().toStdString();
}

// The settings as name/value text.
void TZelViewDialog::WriteProperties(TProperties& dst) const {
  TZelComponent::WriteProperties(dst);
  auto b = [](bool v) { return std::string(v ? "true" : "false"); };
  dst.insert(dst.end(), {{"LastOpenDir", LastOpenDir},
                         {"LastSaveDir", LastSaveDir},
                         {"Delimiter", Delimiter},
                         {"ColumnWidth", std::to_string(ColumnWidth)},
                         {"StringFormat", StringFormat},
                         {"Scientific", b(Scientific)},
                         {"ShowModal", b(ShowModal)},
                         {"StayOnTop", b(StayOnTop)},
                         {"Caption", Caption},
                         {"WindowLeft", std::to_string(WindowLeft)},
                         {"WindowTop", std::to_string(WindowTop)},
                         {"Position", std::to_string(Position)},
                         {"Editable", b(Editable)}});
}

// Reads the settings written by WriteProperties; unknown names are ignored.
void TZelViewDialog::ReadProperties(const TProperties& src) {
  TZelComponent::ReadProperties(src);
  auto str = [&](const char* name, std::string& v) {
    if (const std::string* p = FindProperty(src, name)) v = *p;
  };
  auto num = [&](const char* name, int& v) {
    if (const std::string* p = FindProperty(src, name)) v = std::stoi(*p);
  };
  auto flag = [&](const char* name, bool& v) {
    if (const std::string* p = FindProperty(src, name)) v = *p == "true";
  };
  str("LastOpenDir", LastOpenDir);
  str("LastSaveDir", LastSaveDir);
  str("Delimiter", Delimiter);
  num("ColumnWidth", ColumnWidth);
  str("StringFormat", StringFormat);
  flag("Scientific", Scientific);
  flag("ShowModal", ShowModal);
  flag("StayOnTop", StayOnTop);
  str("Caption", Caption);
  num("WindowLeft", WindowLeft);
  num("WindowTop", WindowTop);
  num("Position", Position);
  flag("Editable", Editable);
}

}  // namespace zel
