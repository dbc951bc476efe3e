// Where the report goes and how it is shown: a relative report name belongs to the document's folder,
// and the written report opens in the program's report window.
#pragma once

#include <QString>

namespace tolvex::gui {

// The report name a document holds until the user chooses one with Report As.
inline constexpr char kDefaultReportName[] = "test.out";

// The report name to write now. A name the user chose is kept. The default name (or none) follows the
// document: "foo.tvx" reports to "foo.out" beside it; an untitled document keeps "test.out". The
// document itself is never changed by this: it keeps the default until the user chooses a name.
[[nodiscard]] QString effectiveReportName(const QString& stored, const QString& documentPath);

// `name` as an absolute path: as it is when absolute, otherwise inside `folder`.
[[nodiscard]] QString resolveReportPath(const QString& name, const QString& folder);

// The name to keep for a report file the user chose: relative when it lies in `folder` (so the document
// can move with its report), absolute otherwise. The default name chosen on purpose is kept as
// "./test.out", so that it is not taken for the default the document's name replaces.
[[nodiscard]] QString storedReportName(const QString& chosen, const QString& folder);

// Whether `path` names a file directly inside `folder` (the names are compared as written, cleaned).
[[nodiscard]] bool liesInFolder(const QString& path, const QString& folder);

// The question asked before the report goes where the document's report name points outside its folder:
// a document from someone else must not write over the user's files unasked.
[[nodiscard]] QString outsideFolderQuestion(const QString& path, const QString& folder);

// The message shown when the written report cannot be shown.
[[nodiscard]] QString noViewerMessage(const QString& path);

}  // namespace tolvex::gui
