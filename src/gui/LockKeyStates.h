// Whether Caps Lock, Num Lock and Scroll Lock are on. Kept apart because the X11 headers define macros
// (KeyPress, KeyRelease, None, ...) that clash with Qt's names.
#pragma once

namespace tolvex::gui {

struct LockKeyStates {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

// The states of the keyboard's lock keys on X11; all off elsewhere.
[[nodiscard]] LockKeyStates readLockKeyStates();

}  // namespace tolvex::gui
