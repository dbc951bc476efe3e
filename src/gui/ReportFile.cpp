#include "gui/ReportFile.h"

#include <QDir>
#include <QFileInfo>

namespace tolvex::gui {

QString resolveReportPath(const QString& name, const QString& folder) {
    const QString trimmed = name.trimmed();
    if (QFileInfo(trimmed).isAbsolute()) return QDir::cleanPath(trimmed);
    return QDir::cleanPath(
        QDir(folder).absoluteFilePath(trimmed.isEmpty() ? QStringLiteral("test.out") : trimmed));
}

QString storedReportName(const QString& chosen, const QString& folder) {
    const QString relative = QDir(folder).relativeFilePath(chosen);
    const bool inside = !relative.startsWith(QLatin1String("..")) && !QFileInfo(relative).isAbsolute();
    return inside ? relative : QDir::cleanPath(chosen);
}

bool liesInFolder(const QString& path, const QString& folder) {
    return QDir::cleanPath(QFileInfo(path).absolutePath()) == QDir::cleanPath(QDir(folder).absolutePath());
}

QString outsideFolderQuestion(const QString& path, const QString& folder) {
    return QStringLiteral(
               "The document names a report file outside its own folder:\n%1\n(the document is in %2).\n"
               "Write the report there?")
        .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder));
}

QString noViewerMessage(const QString& path) {
    return QStringLiteral(
               "The report was written to\n%1\nbut no program could be found to open it. "
               "Open the file with a text editor.")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace tolvex::gui
