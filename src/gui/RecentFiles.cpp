#include "gui/RecentFiles.h"

#include <QFileInfo>

namespace tolvex::gui {
namespace {

constexpr char kKey[] = "recentFiles";

}  // namespace

RecentFiles::RecentFiles(QSettings& settings) : settings_(settings) {
    files_ = settings_.value(QLatin1String(kKey)).toStringList();
    files_.removeAll(QString{});
    while (files_.size() > kCapacity) files_.removeLast();
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kCapacity) files_.removeLast();
    store();
}

void RecentFiles::remove(const QString& path) {
    files_.removeAll(QFileInfo(path).absoluteFilePath());
    store();
}

void RecentFiles::store() {
    settings_.setValue(QLatin1String(kKey), files_);
    settings_.sync();
}

}  // namespace tolvex::gui
