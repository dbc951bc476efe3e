// Command ids that only the desktop program has: the framework's editing and context-help commands of
// the toolbar, and "Report As...", which lets the user choose where the report goes.
#pragma once

namespace tolvex::gui {

enum GuiCommandId : int {
    kCmdReportAs = 32815,
    kCmdEditCopy = 57634,
    kCmdEditCut = 57635,
    kCmdEditPaste = 57637,
    kCmdContextHelp = 57669,
};

}  // namespace tolvex::gui
