// The GUI tests need one QApplication for the whole run; widgets are drawn on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("TolvexTests"));
    QApplication::setApplicationName(QStringLiteral("TolvexGuiTests"));
    // Each test program keeps its settings (the recent-file list) in a folder of its own, so that
    // neither earlier runs nor test programs running beside it change what a test sees.
    const QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
