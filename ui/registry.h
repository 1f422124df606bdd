// Where the desktop components keep their settings: QSettings under the numeric core's registry key
// ("\Software\Kelmoor\Nubra" gives organisation "Kelmoor", application "Nubra"), one group per component.
#pragma once

#include <QSettings>
#include <memory>

namespace zel {

// The settings store for the core's current registry key.
std::unique_ptr<QSettings> OpenRegistry();

}  // namespace zel
