#include "gui/KeyStateIndicators.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>

#include "gui/LockKeyStates.h"

namespace tolvex::gui {
namespace {

QLabel* indicator(const QString& text, QStatusBar* bar) {
    auto* label = new QLabel(text, bar);
    label->setObjectName(text);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
    bar->addPermanentWidget(label);
    return label;
}

}  // namespace

KeyStateIndicators::KeyStateIndicators(QStatusBar* bar) : QObject(bar) {
    caps_ = indicator(QStringLiteral("CAP"), bar);
    num_ = indicator(QStringLiteral("NUM"), bar);
    scroll_ = indicator(QStringLiteral("SCRL"), bar);
    qApp->installEventFilter(this);
    update();
}

void KeyStateIndicators::update() {
    const LockKeyStates states = readLockKeyStates();
    // A pane whose key is off is drawn greyed, as the indicators of the desktop framework are.
    caps_->setEnabled(states.caps);
    num_->setEnabled(states.num);
    scroll_->setEnabled(states.scroll);
}

bool KeyStateIndicators::eventFilter(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type == QEvent::KeyRelease || type == QEvent::ApplicationActivate) update();
    return QObject::eventFilter(watched, event);
}

}  // namespace tolvex::gui
