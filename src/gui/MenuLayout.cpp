#include "gui/MenuLayout.h"

#include "core/commands/CommandIds.h"
#include "gui/GuiCommands.h"

namespace tolvex::gui {
namespace {

MenuNode item(std::string text, int id) {
    return MenuNode{std::move(text), id, {}};
}
MenuNode separator() {
    return MenuNode{};
}
MenuNode menu(std::string text, std::vector<MenuNode> children) {
    return MenuNode{std::move(text), 0, std::move(children)};
}

std::vector<MenuNode> buildLayout() {
    return {
        menu("&File",
             {item("&New\tCtrl+N", kCmdFileNew), item("&Open...\tCtrl+O", kCmdFileOpen),
              item("&Save\tCtrl+S", kCmdFileSave), item("Save &As...", kCmdFileSaveAs),
              menu("Export graphic as",
                   {item("BMP file", kCmdExportBmp), item("Metafile file", kCmdExportMetafile)}),
              separator(), item("&Print...\tCtrl+P", kCmdPrint), item("Print Pre&view", kCmdPrintPreview),
              item("P&rint Setup...", kCmdPrintSetup), separator(), item("E&xit", kCmdExit)}),
        menu("Edit", {menu("Copy As", {item("BMP", kCmdCopyAsBmp), item("Metafile", kCmdCopyAsMetafile)})}),
        menu("Type-curves", {item("Type-curve selection", kCmdTypeCurveSelection),
                             item("Type-curve Calculation", kCmdTypeCurveCalculation)}),
        menu("Interpretattion", {item("Model Selection", kCmdModelSelection), separator(),
                                 item("Units...", kCmdUnits), item("Input drawdowns", kCmdInputDrawdowns),
                                 item("Calculate drawdowns", kCmdCalculateDrawdowns), separator(),
                                 item("Estimate start values", kCmdEstimateStartValues),
                                 item("Try and Error Inversion", kCmdTrialInversion),
                                 item("Simplex Inversion", kCmdSimplexInversion),
                                 item("Least Square Inversion", kCmdLeastSquaresInversion)}),
        menu("&Options", {separator(), item("Project ", kCmdProject), item("Integration", kCmdIntegration),
                          item("Plotting options", kCmdPlottingOptions), item("Font", kCmdFont)}),
        menu("&View", {item("&Toolbar", kCmdViewToolbar), item("&Status Bar", kCmdViewStatusBar), separator(),
                       item("Report", kCmdReport), item("Report As...", kCmdReportAs)}),
        menu("&Help", {item("&Help Topics", kCmdHelpTopics), separator(), item("&About Tolvex", kCmdAbout)}),
    };
}

}  // namespace

const std::vector<MenuNode>& mainMenuLayout() {
    static const std::vector<MenuNode> layout = buildLayout();
    return layout;
}

std::string itemCaption(const std::string& text) {
    return text.substr(0, text.find('\t'));
}

std::string itemShortcut(const std::string& text) {
    const auto tab = text.find('\t');
    return tab == std::string::npos ? std::string{} : text.substr(tab + 1);
}

}  // namespace tolvex::gui
