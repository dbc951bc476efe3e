#include "gui/FileFilter.h"

#include <QStringList>

namespace tolvex::gui {
namespace {

QString qtPatterns(const QString& patterns) {
    QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : list) {
        p = p.trimmed();
        if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    return list.join(QLatin1Char(' '));
}

// "Tolvex Files (*.tvx)" gives "Tolvex Files": Qt reads the patterns from the parentheses, so the
// name keeps only its text and the patterns come from the pattern part.
QString displayName(const QString& name) {
    const auto open = name.lastIndexOf(QLatin1Char('('));
    return (open > 0 ? name.left(open) : name).trimmed();
}

}  // namespace

QString qtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) break;
        entries << QStringLiteral("%1 (%2)").arg(displayName(parts[i]), qtPatterns(parts[i + 1]));
    }
    return entries.join(QStringLiteral(";;"));
}

QString firstFilterExtension(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2) return {};
    const QString first = parts[1].split(QLatin1Char(';')).first().trimmed();
    if (!first.startsWith(QLatin1String("*."))) return {};
    const QString extension = first.mid(2);
    return extension.contains(QLatin1Char('*')) || extension.contains(QLatin1Char('?')) ? QString{}
                                                                                        : extension;
}

}  // namespace tolvex::gui
