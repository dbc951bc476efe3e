#include "gui/ReportFile.h"

#include <QDir>
#include <QFileInfo>

namespace tolvex::gui {

QString effectiveReportName(const QString& stored, const QString& documentPath) {
    const QString trimmed = stored.trimmed();
    const QString fallback = QString::fromLatin1(kDefaultReportName);
    if (!trimmed.isEmpty() && trimmed != fallback) return stored;
    if (documentPath.isEmpty()) return fallback;
    const QFileInfo document(documentPath);
    QString derived = document.completeBaseName() + QStringLiteral(".out");
    // A document itself named *.out must not be overwritten by its own report.
    if (derived == document.fileName()) derived += QStringLiteral(".out");
    return derived;
}

QString resolveReportPath(const QString& name, const QString& folder) {
    const QString trimmed = name.trimmed();
    if (QFileInfo(trimmed).isAbsolute()) return QDir::cleanPath(trimmed);
    return QDir::cleanPath(
        QDir(folder).absoluteFilePath(trimmed.isEmpty() ? QString::fromLatin1(kDefaultReportName) : trimmed));
}

QString storedReportName(const QString& chosen, const QString& folder) {
    const QString relative = QDir(folder).relativeFilePath(chosen);
    const bool inside = !relative.startsWith(QLatin1String("..")) && !QFileInfo(relative).isAbsolute();
    if (!inside) return QDir::cleanPath(chosen);
    return relative == QLatin1String(kDefaultReportName) ? QStringLiteral("./") + relative : relative;
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
               "The report was written to\n%1\nbut it could not be opened to show it. "
               "Open the file with a text editor.")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace tolvex::gui
