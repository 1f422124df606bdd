// The dialog component base and the configuration files (see zeldialog.h).
#include "ui/zeldialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "core/errors.h"

namespace zel {

const char* const ConfigFileFilter = "Config files (*.cfg);;All files (*)";

// Leaves the source's holder list.
TZelDialog::~TZelDialog() {
  if (fSource) fSource->RemoveReference(this, false);
}

// Moves the dialog from the old source's holders to the new one's.
void TZelDialog::SetSource(TZelComponent* source) {
  if (source == fSource) return;
  if (fSource) fSource->RemoveReference(this, false);
  fSource = source;
  if (fSource) fSource->AddReference(this);
}

// The source is gone: forget it.
void TZelDialog::ReferenceRemoved(TZelComponent* component) {
  if (component == fSource) fSource = nullptr;
  TZelComponent::ReferenceRemoved(component);
}

// The base class has no editor.
void TZelDialog::InternalExecute(bool modal, QWidget* parent) {
  (void)modal;
  (void)parent;
}

// The dialog's settings.
void TZelDialog::WriteProperties(TProperties& dst) const {
  TZelComponent::WriteProperties(dst);
  auto b = [](bool v) { return std::string(v ? "true" : "false"); };
  dst.insert(dst.end(), {{"FormCaption", FormCaption},
                         {"ShowLive", b(ShowLive)},
                         {"StayOnTop", b(StayOnTop)},
                         {"Docking", b(Docking)},
                         {"StoreInRegistry", b(StoreInRegistry)},
                         {"RegistryPath", RegistryPath}});
}

// Reads the settings written by WriteProperties.
void TZelDialog::ReadProperties(const TProperties& src) {
  TZelComponent::ReadProperties(src);
  if (auto* p = FindProperty(src, "FormCaption")) FormCaption = *p;
  if (auto* p = FindProperty(src, "RegistryPath")) RegistryPath = *p;
  const std::pair<const char*, bool*> flags[] = {{"ShowLive", &ShowLive},
                                                 {"StayOnTop", &StayOnTop},
                                                 {"Docking", &Docking},
                                                 {"StoreInRegistry", &StoreInRegistry}};
  for (auto [name, field] : flags)
    if (auto* p = FindProperty(src, name)) *field = *p == "true";
}

// The component reads itself from an existing file.
void LoadConfigurationFile(TZelComponent& component, const QString& fileName) {
  if (!QFileInfo::exists(fileName)) ERaise("File not found!");
  component.LoadFromFile(fileName.toStdString());
}

// The component writes itself; the configuration filter forces the ".cfg" extension.
void SaveConfigurationFile(const TZelComponent& component, const QString& fileName, int filterIndex) {
  QString name = fileName;
  if (filterIndex == 1) {
    const QFileInfo info(fileName);
    name = info.path() + "/" + info.completeBaseName() + ".cfg";
  }
  component.SaveToFile(name.toStdString());
}

// Asks for an existing file and loads it.
bool LoadConfiguration(TZelComponent& component, QWidget* parent) {
  const QString name = QFileDialog::getOpenFileName(parent, "Load configuration", {}, ConfigFileFilter);
  if (name.isEmpty()) return false;
  LoadConfigurationFile(component, name);
  return true;
}

// Asks for a file name and saves.
bool SaveConfiguration(const TZelComponent& component, QWidget* parent) {
  QString filter;
  const QString name =
      QFileDialog::getSaveFileName(parent, "Save configuration", {}, ConfigFileFilter, &filter);
  if (name.isEmpty()) return false;
  SaveConfigurationFile(component, name, filter.startsWith("Config") ? 1 : 2);
  return true;
}

// Template mode around LoadConfiguration.
bool LoadTemplate(TZelComponent& component, QWidget* parent) {
  component.SetTemplateMode(true);
  struct Off {
    TZelComponent& c;
    ~Off() { c.SetTemplateMode(false); }
  } off{component};
  return LoadConfiguration(component, parent);
}

// Template mode around SaveConfiguration.
bool SaveTemplate(TZelComponent& component, QWidget* parent) {
  component.SetTemplateMode(true);
  struct Off {
    TZelComponent& c;
    ~Off() { c.SetTemplateMode(false); }
  } off{component};
  return SaveConfiguration(component, parent);
}

}  // namespace zel
