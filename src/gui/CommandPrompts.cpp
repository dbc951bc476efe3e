#include "gui/CommandPrompts.h"

#include <map>

#include "core/commands/CommandIds.h"
#include "gui/GuiCommands.h"

namespace tolvex::gui {
namespace {

const std::map<int, const char*>& prompts() {
    static const std::map<int, const char*> table = {
        // the desktop framework's standard prompts
        {kCmdFileNew, "Create a new document"},
        {kCmdFileOpen, "Open an existing document"},
        {kCmdFileSave, "Save the active document"},
        {kCmdFileSaveAs, "Save the active document with a new name"},
        {kCmdPrint, "Print the active document"},
        {kCmdPrintPreview, "Display full pages"},
        {kCmdPrintSetup, "Change the printer and printing options"},
        {kCmdExit, "Quit the application; prompts to save documents"},
        {kCmdAbout, "Display program information, version number and copyright"},
        {kCmdHelpTopics, "List Help topics"},
        {kCmdContextHelp, "Display help for clicked buttons, menus and windows"},
        {kCmdViewToolbar, "Show or hide the toolbar"},
        {kCmdViewStatusBar, "Show or hide the status bar"},
        {kCmdEditCut, "Cut the selection and put it on the Clipboard"},
        {kCmdEditCopy, "Copy the selection and put it on the Clipboard"},
        {kCmdEditPaste, "Insert Clipboard contents"},
        // the program's own commands
        {kCmdTypeCurveSelection, "Select the aquifer model of the type curves"},
        {kCmdTypeCurveCalculation, "Calculate and plot the type curves of the selected model"},
        {kCmdModelSelection, "Select the hydraulic testing method"},
        {kCmdUnits, "Choose the units of time, length and pumping rate the numbers are entered and shown in"},
        {kCmdInputDrawdowns, "Import, type or choose the measured drawdowns"},
        {kCmdCalculateDrawdowns, "Calculate drawdowns for the given aquifer parameters"},
        {kCmdEstimateStartValues, "Set the model's parameters from the measurements, as a start for a fit"},
        {kCmdTrialInversion, "Compare the measurements with the drawdowns of the initial guess"},
        {kCmdSimplexInversion, "Estimate the aquifer parameters by the simplex method"},
        {kCmdLeastSquaresInversion, "Estimate the aquifer parameters by least squares"},
        {kCmdProject, "Name the operator and describe the project"},
        {kCmdIntegration, "Set the numerical integration and Laplace inversion"},
        {kCmdPlottingOptions, "Set the axes and what the plot shows"},
        {kCmdFont, "Choose the typeface of the plot"},
        {kCmdReport, "Write the results into the report file and open it"},
        {kCmdReportAs, "Choose the report file, write the results into it and open it"},
        {kCmdCopyAsBmp, "Copy the plot to the Clipboard as a bitmap"},
        {kCmdCopyAsMetafile, "Copy the plot to the Clipboard as a metafile"},
        {kCmdExportBmp, "Save the plot as a BMP file"},
        {kCmdExportMetafile, "Save the plot as an enhanced metafile"},
        {kCmdSaveSimulation, "Save simulation in a text file"},
        {kCmdPredefinedSet, "Install a predefined set of time and drawdown"},
    };
    return table;
}

}  // namespace

QString idlePrompt() {
    return QStringLiteral("For Help, press F1");
}

QString commandPrompt(int id) {
    const auto it = prompts().find(id);
    return it == prompts().end() ? QString{} : QString::fromUtf8(it->second);
}

}  // namespace tolvex::gui
