#include "gui/LockKeyStates.h"

#include <QGuiApplication>

#ifdef TOLVEX_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace tolvex::gui {

LockKeyStates readLockKeyStates() {
    LockKeyStates states;
#ifdef TOLVEX_HAVE_XKB
    auto* x11 = qGuiApp == nullptr ? nullptr : qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) return states;
    unsigned int indicators = 0;
    if (XkbGetIndicatorState(x11->display(), XkbUseCoreKbd, &indicators) != 0) return states;
    // The core keyboard's first three indicators are Caps Lock, Num Lock and Scroll Lock.
    states.caps = (indicators & 0x1U) != 0;
    states.num = (indicators & 0x2U) != 0;
    states.scroll = (indicators & 0x4U) != 0;
#endif
    return states;
}

}  // namespace tolvex::gui
