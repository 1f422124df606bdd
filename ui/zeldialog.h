// TZelDialog: the base of non-visual "dialog" components that open an editor form for another component
// (their source), and the configuration and template file routines for any component of the core.
//
// The dialog holds its source through the core's reference list, so it learns when the source is
// destroyed; it holds the open editor form by a guarded pointer that clears itself when the form goes.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "core/component.h"

namespace zel {

class TZelDialog : public TZelComponent {
 public:
  TZelDialog() = default;
  ~TZelDialog() override;

  std::string FormCaption;
  bool ShowLive = false;
  bool StayOnTop = false;
  bool Docking = false;
  bool StoreInRegistry = false;
  std::string RegistryPath;
  std::function<void(TZelDialog&)> OnBeforeUpdate;

  // Opens the editor: modeless, modal, modeless in `parent`, or as given.
  void Execute() { Execute(false, nullptr); }
  void ExecuteModal() { Execute(true, nullptr); }
  void Execute(QWidget* parent) { Execute(false, parent); }
  void Execute(bool modal, QWidget* parent) { InternalExecute(modal, parent); }

  // The component the editor works on; the dialog becomes one of its holders.
  void SetSource(TZelComponent* source);
  TZelComponent* GetSource() const { return fSource; }
  TZelComponent* CurrentSource() const { return fSource; }
  void ReferenceRemoved(TZelComponent* component) override;

  // Remembers the open editor form; the reference clears itself when the form is destroyed.
  void SetEditorForm(QWidget* form) { fEditorForm = form; }
  QWidget* EditorForm() const { return fEditorForm; }

  void WriteProperties(TProperties& dst) const override;
  void ReadProperties(const TProperties& src) override;
  std::string ClassName() const override { return "TZelDialog"; }

 protected:
  // Derived dialogs create and show their editor form here.
  virtual void InternalExecute(bool modal, QWidget* parent);

 private:
  TZelComponent* fSource = nullptr;
  QPointer<QWidget> fEditorForm;
};

// The file filter of configuration files.
extern const char* const ConfigFileFilter;

// Loads `component` from `fileName`; raises "File not found!" when the file does not exist.
void LoadConfigurationFile(TZelComponent& component, const QString& fileName);
// Saves `component` to `fileName`; with the first filter (filterIndex 1) the extension becomes ".cfg".
void SaveConfigurationFile(const TZelComponent& component, const QString& fileName, int filterIndex);
// Asks for a file and loads or saves; false when the file dialog is cancelled.
bool LoadConfiguration(TZelComponent& component, QWidget* parent = nullptr);
bool SaveConfiguration(const TZelComponent& component, QWidget* parent = nullptr);
// The same in template mode: only the component's settings, not its data.
bool LoadTemplate(TZelComponent& component, QWidget* parent = nullptr);
bool SaveTemplate(TZelComponent& component, QWidget* parent = nullptr);

}  // namespace zel
