#include "render/HeadlessGui.h"

#include <QGuiApplication>
#include <clocale>
#include <cstdio>

namespace tolvex::render {
namespace {

// The offscreen platform complains on start about a desktop session it does not need (no runtime
// directory, no display); a command-line run should not print that. Real errors still come through.
void quietStartMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

GuiSession::GuiSession() {
    if (QCoreApplication::instance() != nullptr) return;
    for (std::size_t i = 0; i < words_.size(); ++i) argv_[i] = words_[i].data();
    const QtMessageHandler previous = qInstallMessageHandler(quietStartMessages);
    application_ = std::make_unique<QGuiApplication>(argc_, argv_.data());
    // QGuiApplication sets the C library to the user's locale; the command line writes every number with
    // a decimal point, before a picture and after it.
    std::setlocale(LC_NUMERIC, "C");
    qInstallMessageHandler(previous);
}

GuiSession::~GuiSession() = default;

}  // namespace tolvex::render
