// The accuracy of the well functions (standard or high), a setting of the program: the Integration
// dialog sets it, and every command runs with it, whatever document is open.
#pragma once

#include <QSettings>

#include "core/state/Accuracy.h"

namespace tolvex::gui {

inline constexpr char kAccuracyKey[] = "numerics/accuracy";

[[nodiscard]] inline int storedAccuracy(const QSettings& settings) {
    const int value = settings.value(QLatin1String(kAccuracyKey), 0).toInt();
    return value == static_cast<int>(Accuracy::High) ? value : static_cast<int>(Accuracy::Standard);
}

inline void storeAccuracy(QSettings& settings, int accuracy) {
    settings.setValue(QLatin1String(kAccuracyKey), accuracy);
    settings.sync();
}

}  // namespace tolvex::gui
