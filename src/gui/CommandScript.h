// Unattended runs of the real program (the smoke test, screenshots for the documentation): runs a list
// of command ids as their menu items would, answering every dialog on its own (OK for forms, No for
// questions, Cancel for file dialogs), prints the window title, grabs the window into a picture and
// closes it.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <optional>

namespace tolvex::gui {

class MainWindow;

struct CommandScript {
    QList<int> commands;
    QString screenshotPath;  // empty for none
};

// Reads "32771;57665" (ids separated by semicolons or commas); nothing when a part is not a number.
[[nodiscard]] std::optional<QList<int>> parseCommandList(const QString& text);

// Runs the script once the event loop is running, then quits the application with 0, or with 1 when the
// screenshot cannot be written.
void startCommandScript(MainWindow& window, const CommandScript& script);

}  // namespace tolvex::gui
