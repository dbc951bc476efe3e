// The document's side of the window: the file it was opened from or saved to, its title and whether the
// analysis changed since then (the core's DocumentInfo, which the file commands update), and the folder
// its relative names start from.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "core/commands/FileCommands.h"

namespace tolvex::gui {

class Document {
public:
    [[nodiscard]] DocumentInfo& info() { return info_; }
    [[nodiscard]] QString path() const { return QString::fromStdString(info_.path); }
    [[nodiscard]] bool changed() const { return info_.changed; }

    // The name the title bar shows: the file's name, or the core's title before the first save.
    [[nodiscard]] QString title() const {
        return info_.path.empty() ? QString::fromStdString(info_.title) : QFileInfo(path()).fileName();
    }
    // Where relative names of the document (its report file) and the file dialogs start: the document's
    // folder, or the home folder for an untitled document. Never the process's working directory.
    [[nodiscard]] QString folder() const {
        return info_.path.empty() ? QDir::homePath() : QFileInfo(path()).absolutePath();
    }

private:
    DocumentInfo info_;
};

// "name - Tolvex", or "*name - Tolvex" while the analysis holds changes that are not saved.
[[nodiscard]] inline QString windowTitleFor(const Document& document) {
    const QString mark = document.changed() ? QStringLiteral("*") : QString{};
    return QStringLiteral("%1%2 - Tolvex").arg(mark, document.title());
}

}  // namespace tolvex::gui
