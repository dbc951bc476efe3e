// tolvex: the desktop program. `tolvex FILE.tvx` opens a document, `tolvex --print FILE.tvx` prints it on
// the default printer and ends.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "core/persist/FileReplace.h"
#include "core/state/AnalysisState.h"
#include "gui/CommandScript.h"
#include "gui/MainWindow.h"

int main(int argc, char* argv[]) {
    tolvex::ignoreFileSizeLimitSignal();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Tolvex"));
    QApplication::setApplicationName(QStringLiteral("Tolvex"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("tolvex"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Interpretation of pumping tests and slug tests."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption printOption(
        {QStringLiteral("p"), QStringLiteral("print")},
        QStringLiteral("Print the document on the default printer and quit."));
    parser.addOption(printOption);
    // For unattended runs (the smoke test, documentation screenshots); not shown in --help.
    QCommandLineOption scriptOption(
        QStringLiteral("run-commands"),
        QStringLiteral("Run these command ids, answering every dialog, then quit."), QStringLiteral("ids"));
    scriptOption.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption screenshotOption(QStringLiteral("screenshot"),
                                        QStringLiteral("After the commands, save the window as a picture."),
                                        QStringLiteral("file"));
    screenshotOption.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(scriptOption);
    parser.addOption(screenshotOption);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A Tolvex document (.tvx) to open."));
    parser.process(application);
    const QStringList files = parser.positionalArguments();

    tolvex::AnalysisState state = tolvex::makeDefaultState();
    tolvex::gui::MainWindow window(state);
    if (parser.isSet(printOption)) {
        if (files.isEmpty()) parser.showHelp(1);
        // Nobody watches the window: what went wrong goes to stderr, and the exit status says it failed.
        if (const auto failure = window.printDocument(files.first())) {
            std::fprintf(stderr, "tolvex: cannot print %s: %s\n", qPrintable(files.first()),
                         qPrintable(*failure));
            return 1;
        }
        return 0;
    }
    if (!files.isEmpty()) window.openDocumentFile(files.first());
    window.show();
    if (parser.isSet(scriptOption) || parser.isSet(screenshotOption)) {
        const auto commands = tolvex::gui::parseCommandList(parser.value(scriptOption));
        if (!commands) {
            std::fprintf(stderr, "tolvex: --run-commands wants command ids separated by ';'\n");
            return 2;
        }
        tolvex::gui::startCommandScript(window, {*commands, parser.value(screenshotOption)});
    }
    return QApplication::exec();
}
