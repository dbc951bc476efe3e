// The list of the four most recently opened or saved documents, kept in the program's settings.
#pragma once

#include <QSettings>
#include <QStringList>

namespace tolvex::gui {

class RecentFiles {
public:
    static constexpr int kCapacity = 4;

    // Reads the list from `settings`; the object keeps using it for every change.
    explicit RecentFiles(QSettings& settings);

    [[nodiscard]] const QStringList& files() const { return files_; }
    // Puts `path` first (moving it when it is already listed) and drops what falls beyond the capacity.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void store();

    QSettings& settings_;
    QStringList files_;
};

}  // namespace tolvex::gui
