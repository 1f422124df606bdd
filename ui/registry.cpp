// Settings store of the desktop components (see registry.h).
#include "ui/registry.h"

#include <QRegularExpression>
#include <QStringList>

#include "core/controller.h"

namespace zel {

// The last two parts of the key name the organisation and the application.
std::unique_ptr<QSettings> OpenRegistry() {
  const QStringList parts =
      QString::fromStdString(RegistryKey()).split(QRegularExpression("[\\\\/]"), Qt::SkipEmptyParts);
  const QString app = parts.value(parts.size() - 1, "Nubra");
  const QString org = parts.value(parts.size() - 2, "Kelmoor");
  return std::make_unique<QSettings>(org, app);
}

}  // namespace zel
