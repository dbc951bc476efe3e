// The document's side of the window: the file it was opened from or saved to, and its title. The analysis
// itself lives in AnalysisState; this only says where it goes on disk.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace tolvex::gui {

class Document {
public:
    [[nodiscard]] const QString& path() const { return path_; }
    void setPath(const QString& path) {
        path_ = path.isEmpty() ? QString{} : QFileInfo(path).absoluteFilePath();
    }
    void clear() { path_.clear(); }

    // The name the title bar shows: the file's name, "Untitled" before the first save.
    [[nodiscard]] QString title() const {
        return path_.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path_).fileName();
    }
    // Where relative names of the document (its report file) and the file dialogs start: the document's
    // folder, or the home folder for an untitled document. Never the process's working directory.
    [[nodiscard]] QString folder() const {
        return path_.isEmpty() ? QDir::homePath() : QFileInfo(path_).absolutePath();
    }

private:
    QString path_;
};

// "name - Tolvex".
[[nodiscard]] inline QString windowTitleFor(const Document& document) {
    return QStringLiteral("%1 - Tolvex").arg(document.title());
}

}  // namespace tolvex::gui
