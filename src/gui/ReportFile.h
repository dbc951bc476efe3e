// Where the report goes and how it is shown: a relative report name belongs to the document's folder,
// and the written report opens in the desktop's default viewer for its type.
#pragma once

#include <QString>

namespace tolvex::gui {

// `name` as an absolute path: as it is when absolute, otherwise inside `folder`.
[[nodiscard]] QString resolveReportPath(const QString& name, const QString& folder);

// The name to keep for a report file the user chose: relative when it lies in `folder` (so the document
// can move with its report), absolute otherwise.
[[nodiscard]] QString storedReportName(const QString& chosen, const QString& folder);

// Whether `path` names a file directly inside `folder` (the names are compared as written, cleaned).
[[nodiscard]] bool liesInFolder(const QString& path, const QString& folder);

// The question asked before the report goes where the document's report name points outside its folder:
// a document from someone else must not write over the user's files unasked.
[[nodiscard]] QString outsideFolderQuestion(const QString& path, const QString& folder);

// The message shown when no program opens the report.
[[nodiscard]] QString noViewerMessage(const QString& path);

}  // namespace tolvex::gui
