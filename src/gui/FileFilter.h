// File-dialog filters: the program writes them in the "Text (*.x)|*.x|All Files (*.*)|*.*||" form; Qt wants
// "Text (*.x);;All Files (*)".
#pragma once

#include <QString>

namespace tolvex::gui {

// Converts a "name|patterns|name|patterns||" filter. "*.*" becomes "*", so that files without an
// extension are listed too, as they are on the system the form comes from.
[[nodiscard]] QString qtFileFilter(const QString& filter);

// The extension of the first pattern ("*.tvx" gives "tvx"); empty when the first pattern has none.
[[nodiscard]] QString firstFilterExtension(const QString& filter);

}  // namespace tolvex::gui
