// Command identifiers of the menu, toolbar and accelerators, and the rules that enable them.
#pragma once

namespace tolvex {

enum CommandId : int {
    // the program's own commands
    kCmdTypeCurveCalculation = 32771,
    kCmdPlottingOptions = 32785,
    kCmdViewToggleOff = 32788,  // viewToggle = 0
    kCmdViewToggleOn = 32789,   // viewToggle = 1
    kCmdInputDrawdowns = 32790,
    kCmdSaveSimulation = 32791,  // has a prompt but neither a menu item nor a handler
    kCmdTrialInversion = 32792,
    kCmdSimplexInversion = 32794,
    kCmdReport = 32795,
    kCmdModelSelection = 32796,
    kCmdLeastSquaresInversion = 32800,
    kCmdIntegration = 32802,
    kCmdPredefinedSet = 32803,
    kCmdFont = 32804,
    kCmdCalculateDrawdowns = 32805,
    kCmdTypeCurveSelection = 32806,
    kCmdProject = 32807,
    kCmdCopyAsBmp = 32810,
    kCmdCopyAsMetafile = 32811,
    kCmdExportBmp = 32813,
    kCmdExportMetafile = 32814,
    kCmdEstimateStartValues = 32816,  // after kCmdReportAs (32815) of the desktop program
    kCmdUnits = 32825,                // the document's units of time, length and rate
    // the framework's standard commands
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdFileSave = 57603,
    kCmdFileSaveAs = 57604,
    kCmdPrintSetup = 57606,
    kCmdPrint = 57607,
    kCmdPrintPreview = 57609,
    kCmdAbout = 57664,
    kCmdExit = 57665,
    kCmdHelpTopics = 57667,
    kCmdViewToolbar = 59392,
    kCmdViewStatusBar = 59393,
};

// Type curves, the trial run, the simplex and the start values exist for models 0..8, least squares
// for 0..10; every other command is always enabled. The comparisons are signed, as the model code is.
[[nodiscard]] constexpr bool isCommandEnabled(int command, int modelKind) {
    switch (command) {
        case kCmdLeastSquaresInversion:
            return modelKind <= 10;
        case kCmdTypeCurveCalculation:
        case kCmdSimplexInversion:
        case kCmdTrialInversion:
            return modelKind <= 8;
        case kCmdEstimateStartValues:
            return modelKind >= 0 && modelKind <= 8;
        default:
            return true;
    }
}

}  // namespace tolvex
