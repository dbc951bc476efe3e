#include "gui/FitSettings.h"

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "core/typecurves/ParameterVector.h"

namespace tolvex::gui {
namespace {

constexpr char kStopKey[] = "fit/stopWhenConverged";

QString fieldGroup(int modelKind, std::string_view field) {
    return QStringLiteral("fit/model%1/%2").arg(modelKind).arg(QString::fromUtf8(field.data(), field.size()));
}

// A stored bound, or the infinity `none` when there is none (or it is not a number).
double storedBound(const QSettings& settings, const QString& key, double none) {
    bool ok = false;
    const double value = settings.value(key).toDouble(&ok);
    return ok && std::isfinite(value) ? value : none;
}

}  // namespace

bool FitSettings::stopWhenConverged() const {
    return settings_.value(QLatin1String(kStopKey), true).toBool();
}

void FitSettings::setStopWhenConverged(bool on) {
    settings_.setValue(QLatin1String(kStopKey), on);
    settings_.sync();
}

FitControls FitSettings::controls(int modelKind) const {
    constexpr double inf = std::numeric_limits<double>::infinity();
    FitControls c;
    c.stopWhenConverged = stopWhenConverged();
    for (std::string_view name : fittedFieldNames(modelKind)) {
        const QString group = fieldGroup(modelKind, name);
        if (settings_.value(group + QStringLiteral("/fixed"), false).toBool())
            c.fixed.insert(std::string(name));
        const ParameterBounds b{storedBound(settings_, group + QStringLiteral("/lower"), -inf),
                                storedBound(settings_, group + QStringLiteral("/upper"), inf)};
        // A pair edited outside the program that no longer holds lower < upper is dropped.
        if ((std::isfinite(b.lower) || std::isfinite(b.upper)) && b.lower < b.upper)
            c.bounds[std::string(name)] = b;
    }
    return c;
}

void FitSettings::store(int modelKind, const FitControls& c) {
    settings_.setValue(QLatin1String(kStopKey), c.stopWhenConverged);
    for (std::string_view name : fittedFieldNames(modelKind)) {
        const QString group = fieldGroup(modelKind, name);
        const std::string key(name);
        settings_.setValue(group + QStringLiteral("/fixed"), c.fixed.count(key) != 0);
        const auto it = c.bounds.find(key);
        const auto keep = [&](const QString& suffix, double value) {
            if (it != c.bounds.end() && std::isfinite(value))
                settings_.setValue(group + suffix, value);
            else
                settings_.remove(group + suffix);
        };
        keep(QStringLiteral("/lower"), it != c.bounds.end() ? it->second.lower : 0.0);
        keep(QStringLiteral("/upper"), it != c.bounds.end() ? it->second.upper : 0.0);
    }
    settings_.sync();
}

}  // namespace tolvex::gui
