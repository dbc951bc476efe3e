// The accuracy of the well functions last chosen in the Integration dialog: new documents take it; a
// document read from a file keeps its own (its extension block holds it).
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
