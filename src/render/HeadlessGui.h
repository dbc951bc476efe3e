// Text needs a font database, and Qt builds one only inside a QGuiApplication. A GuiSession makes sure
// one exists while it lives: in the desktop program (or a test that made its own) it does nothing; in the
// command-line tool it starts one on the offscreen platform and ends it again.
#pragma once

#include <array>
#include <memory>
#include <string>

class QGuiApplication;

namespace tolvex::render {

class GuiSession {
public:
    GuiSession();
    ~GuiSession();
    GuiSession(const GuiSession&) = delete;
    GuiSession& operator=(const GuiSession&) = delete;

private:
    // QGuiApplication keeps references to argc and argv for its whole life.
    int argc_ = 3;
    std::array<std::string, 3> words_{"tolvex", "-platform", "offscreen"};
    std::array<char*, 4> argv_{};
    std::unique_ptr<QGuiApplication> application_;
};

}  // namespace tolvex::render
