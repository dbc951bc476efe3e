// The GUI tests need one QApplication for the whole run; widgets are drawn on the offscreen platform.
// The whole program runs a second time under a comma locale (de_DE.UTF-8), as a German user's desktop
// runs it: with TOLVEX_TEST_COMMA_LOCALE set, the run fails at once unless the locale really is in effect
// (QApplication takes it from the environment for Qt and for the C library), so it never passes by
// testing the C locale again.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>
#include <clocale>
#include <cstdio>
#include <cstring>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!qEnvironmentVariableIsEmpty("TOLVEX_TEST_COMMA_LOCALE")) {
        const char* decimal = std::localeconv()->decimal_point;
        if (std::strcmp(decimal, ",") != 0 || QLocale().decimalPoint() != QStringLiteral(",")) {
            std::fprintf(
                stderr,
                "test_gui: the comma locale is not in effect (C library decimal point '%s', Qt '%s'); "
                "generate de_DE.UTF-8 with scripts/install-deps\n",
                decimal, qPrintable(QLocale().decimalPoint()));
            return 1;
        }
    }
    QApplication::setOrganizationName(QStringLiteral("TolvexTests"));
    QApplication::setApplicationName(QStringLiteral("TolvexGuiTests"));
    // Each test program keeps its settings (the recent-file list) in a folder of its own, so that
    // neither earlier runs nor test programs running beside it change what a test sees.
    const QTemporaryDir settingsFolder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
