#include <gtest/gtest.h>

#include <functional>

#include "core/commands/FileCommands.h"
#include "core/persist/Document.h"
#include "core/persist/ScratchFolder.h"
#include "support/ScriptedInteraction.h"

namespace tolvex {
namespace {

using testing::ScratchFolder;
using testing::ScriptedInteraction;

AnalysisState withUnsavedTypeCurves() {
    AnalysisState s = makeDefaultState();
    s.typeCurvesReady = 1;
    s.modified = 1;
    return s;
}

TEST(FileSaveAs, ProposesTestTvxAndSavesUnderTheChosenName) {
    ScratchFolder folder;
    AnalysisState s = withUnsavedTypeCurves();
    DocumentInfo doc;
    ScriptedInteraction ui;
    ui.fileAnswers = {folder.file("a.tvx")};
    ASSERT_TRUE(fileSaveAs(s, ui, doc));
    ASSERT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_TRUE(ui.fileDialogs[0].save);
    EXPECT_EQ(ui.fileDialogs[0].initialName, "test.tvx");
    EXPECT_EQ(ui.fileDialogs[0].filter, "Tolvex Files (*.tvx)|*.tvx|All Files (*.*)|*.*||");
    EXPECT_EQ(doc.path, folder.file("a.tvx"));
    EXPECT_EQ(doc.title, doc.path);
    EXPECT_EQ(s.untitled, 0);
    EXPECT_EQ(s.modified, 0);
    EXPECT_EQ(ScratchFolder::read(doc.path).substr(0, 2), std::string("\x64\x00", 2));
}

TEST(FileSaveAs, CancelOrFailureChangesNothing) {
    ScratchFolder folder;
    AnalysisState s = withUnsavedTypeCurves();
    DocumentInfo doc;
    ScriptedInteraction ui;
    EXPECT_FALSE(fileSaveAs(s, ui, doc));  // cancelled
    ui.fileAnswers = {folder.file("missing/a.tvx")};
    EXPECT_FALSE(fileSaveAs(s, ui, doc));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].substr(0, ui.messages[0].find('\n')), "Not able to create file.");
    EXPECT_EQ(s.untitled, 1);
    EXPECT_EQ(s.modified, 1);
    EXPECT_EQ(doc.title, "Untitled");
    EXPECT_TRUE(doc.path.empty());
}

TEST(FileSave, NamedDocumentIsWrittenWithoutADialog) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    DocumentInfo doc;
    ScriptedInteraction ui;
    ui.fileAnswers = {folder.file("a.tvx")};
    ASSERT_TRUE(fileSaveAs(s, ui, doc));
    s.transmissivity = 3.5f;
    s.modified = 1;
    ASSERT_TRUE(fileSave(s, ui, doc));
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(s.modified, 0);
    AnalysisState loaded = makeDefaultState();
    ASSERT_FALSE(loadDocument(doc.path, loaded));
    EXPECT_EQ(loaded.transmissivity, 3.5f);
}

TEST(FileSave, NeverSavedDocumentAsksForAName) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    DocumentInfo doc;
    ScriptedInteraction ui;
    ui.fileAnswers = {folder.file("b.tvx")};
    ASSERT_TRUE(fileSave(s, ui, doc));
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(doc.path, folder.file("b.tvx"));
}

TEST(FileOpen, ReadsTheFileAndNamesTheDocument) {
    ScratchFolder folder;
    AnalysisState saved = makeDefaultState();
    saved.modelKind = 5;
    saved.modified = 1;
    ASSERT_FALSE(saveDocument(saved, folder.file("c.tvx")));
    AnalysisState s = makeDefaultState();
    DocumentInfo doc;
    ScriptedInteraction ui;
    ui.fileAnswers = {folder.file("c.tvx")};
    ASSERT_TRUE(fileOpen(s, ui, doc));
    EXPECT_EQ(ui.fileDialogs[0].save, false);
    EXPECT_EQ(s.modelKind, 5);
    EXPECT_EQ(s.untitled, 0);
    EXPECT_EQ(s.modified, 0);
    EXPECT_EQ(doc.title, folder.file("c.tvx"));
    EXPECT_EQ(ui.redraws, 1);
    EXPECT_TRUE(ui.questions.empty());
}

TEST(FileOpen, UnreadableFileLeavesAnalysisAndDocumentAsTheyWere) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    s.modelKind = 3;
    DocumentInfo doc{"kept.tvx", "kept.tvx"};
    ScriptedInteraction ui;
    ui.fileAnswers = {folder.write("bad.tvx", "not a document"), folder.file("none.tvx"), std::nullopt};
    EXPECT_FALSE(fileOpen(s, ui, doc));
    EXPECT_FALSE(fileOpen(s, ui, doc));
    EXPECT_FALSE(fileOpen(s, ui, doc));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_NE(ui.messages[0].find("bad.tvx"), std::string::npos);
    EXPECT_EQ(ui.messages[1].substr(0, ui.messages[1].find('\n')), "Not able to open file.");
    EXPECT_EQ(s.modelKind, 3);
    EXPECT_EQ(s.untitled, 1);
    EXPECT_EQ(doc.path, "kept.tvx");
    EXPECT_EQ(ui.fileDialogs[0].initialName, "kept.tvx");
}

TEST(SaveExistingData, AskedBeforeNewAndOpenOnlyWithUnsavedTypeCurves) {
    AnalysisState s = makeDefaultState();
    s.modified = 1;
    DocumentInfo doc;
    ScriptedInteraction ui;
    EXPECT_TRUE(confirmDiscard(s, ui, doc));
    EXPECT_TRUE(ui.questions.empty());
    s.typeCurvesReady = 1;
    ui.yesNoAnswers = {false};
    EXPECT_TRUE(confirmDiscard(s, ui, doc));
    EXPECT_EQ(ui.questions, (std::vector<std::string>{"Save existing data?"}));
    EXPECT_EQ(s.modified, 0);
    EXPECT_EQ(s.typeCurvesReady, 0);
}

TEST(SaveExistingData, YesSavesAndAFailedOrCancelledSaveStopsTheCommand) {
    ScratchFolder folder;
    AnalysisState s = withUnsavedTypeCurves();
    DocumentInfo doc;
    ScriptedInteraction ui;
    ui.yesNoAnswers = {true, true};
    ui.fileAnswers = {std::nullopt, folder.file("d.tvx")};
    EXPECT_FALSE(fileOpen(s, ui, doc));  // Yes, then Cancel in the save dialog: no open dialog
    EXPECT_EQ(ui.fileDialogs.size(), 1u);
    EXPECT_EQ(s.modified, 1);
    EXPECT_TRUE(confirmDiscard(s, ui, doc));
    EXPECT_EQ(s.modified, 0);
    EXPECT_EQ(doc.path, folder.file("d.tvx"));
}

TEST(FileExit, AsksWheneverResultsAreUnsaved) {
    AnalysisState s = makeDefaultState();
    DocumentInfo doc;
    ScriptedInteraction ui;
    EXPECT_TRUE(fileExit(s, ui, doc));
    EXPECT_TRUE(ui.questions.empty());
    s.modified = 1;  // even without type curves
    ui.yesNoAnswers = {true, false};
    EXPECT_FALSE(fileExit(s, ui, doc));  // Yes, but the save dialog was cancelled: stay open
    EXPECT_TRUE(fileExit(s, ui, doc));   // No
    EXPECT_EQ(ui.questions.size(), 2u);
    EXPECT_EQ(s.modified, 0);
}

// What the user changed since the last open or save is asked about before New, Open and Exit, even when
// the file's own flags (set by calculations only) say nothing is unsaved; Open and Save clear it.
TEST(SaveExistingData, AskedWheneverTheAnalysisChangedSinceOpenOrSave) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    DocumentInfo doc;
    doc.changed = true;
    ScriptedInteraction ui;
    ui.yesNoAnswers = {false, false};
    EXPECT_TRUE(confirmDiscard(s, ui, doc));
    EXPECT_TRUE(fileExit(s, ui, doc));
    EXPECT_EQ(ui.questions, (std::vector<std::string>{"Save existing data?", "Save existing data?"}));
    EXPECT_TRUE(doc.changed);  // No drops nothing yet: the command that goes on replaces the document

    ui.fileAnswers = {folder.file("e.tvx")};
    ASSERT_TRUE(fileSaveAs(s, ui, doc));
    EXPECT_FALSE(doc.changed);
    doc.changed = true;
    ui.fileAnswers = {folder.file("e.tvx")};
    ui.yesNoAnswers = {false};
    ASSERT_TRUE(fileOpen(s, ui, doc));
    EXPECT_FALSE(doc.changed);
    EXPECT_TRUE(confirmDiscard(s, ui, doc));
    EXPECT_TRUE(fileExit(s, ui, doc));
    EXPECT_EQ(ui.questions.size(), 3u);
}

// Cancel (Escape, closing the box) in "Save existing data?" ends New, Open and Exit with nothing changed:
// no dialog follows, and the analysis, its flags and the document stay as they were.
TEST(SaveExistingData, CancelEndsNewOpenAndExitWithNothingChanged) {
    const std::vector<
        std::pair<std::string, std::function<bool(AnalysisState&, Interaction&, DocumentInfo&)>>>
        commands{
            {"New",
             [](AnalysisState& s, Interaction& ui, DocumentInfo& doc) {
                 NewDocumentSteps steps;
                 steps.selectModel = [](AnalysisState&, Interaction& inner) {
                     inner.message("model selection");
                     return true;
                 };
                 return fileNew(s, ui, doc, steps);
             }},
            {"Open",
             [](AnalysisState& s, Interaction& ui, DocumentInfo& doc) { return fileOpen(s, ui, doc); }},
            {"Exit",
             [](AnalysisState& s, Interaction& ui, DocumentInfo& doc) { return fileExit(s, ui, doc); }},
        };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        AnalysisState s = withUnsavedTypeCurves();
        s.transmissivity = 4.25f;
        const std::string before = documentBytes(s);
        DocumentInfo doc{"kept.tvx", "kept.tvx", true};
        ScriptedInteraction ui;
        ui.replies = {Reply::Cancel};
        ui.fileAnswers = {"kept.tvx"};
        EXPECT_FALSE(command(s, ui, doc));
        EXPECT_EQ(ui.questions, (std::vector<std::string>{"Save existing data?"}));
        EXPECT_TRUE(ui.fileDialogs.empty());
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(documentBytes(s), before);
        EXPECT_EQ(s.typeCurvesReady, 1);
        EXPECT_EQ(s.untitled, 1);
        EXPECT_EQ(doc.path, "kept.tvx");
        EXPECT_TRUE(doc.changed);
    }
}

// New leaves the document the program starts with (no measurement or parameter of the old analysis
// stays in view), then runs the model selection, the optional guess and the type curves on it.
TEST(FileNew, StartsFromTheDefaultDocumentAndRunsTheSteps) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    s.transmissivity = 2.5f;
    s.pumpingRate = 3.0f;
    s.allDrawdowns[0] = 99.0;
    s.measured[0] = 99.0;
    s.operatorName = "A. Hydrologist";
    s.untitled = 0;
    s.guessOnNew = 1;  // a setting of the old document: the new one has its own
    DocumentInfo doc{folder.file("old.tvx"), folder.file("old.tvx"), true};
    ScriptedInteraction ui;
    ui.yesNoAnswers = {false};  // do not save the old one
    std::vector<std::string> ran;
    NewDocumentSteps steps;
    steps.selectModel = [&](AnalysisState& state, Interaction&) {
        ran.push_back("model");
        EXPECT_EQ(state.transmissivity, makeDefaultState().transmissivity);
        state.modelKind = 2;
        return true;
    };
    steps.confinedGuess = [&](AnalysisState&, Interaction&) {
        ran.push_back("guess");
        return true;
    };
    steps.generateTypeCurves = [&](AnalysisState& state, Interaction&) {
        ran.push_back("curves");
        state.typeCurvesReady = 1;
        return true;
    };
    ASSERT_TRUE(fileNew(s, ui, doc, steps));
    EXPECT_EQ(ran, (std::vector<std::string>{"model", "curves"}));
    AnalysisState expected = makeDefaultState();
    expected.newRequested = 1;
    expected.modelKind = 2;
    expected.typeCurvesReady = 1;
    EXPECT_EQ(documentBytes(s), documentBytes(expected));
    EXPECT_EQ(s.untitled, 1);
    EXPECT_EQ(s.typeCurvesReady, 1);
    EXPECT_EQ(doc.title, "Untitled");
    EXPECT_TRUE(doc.path.empty());
    EXPECT_FALSE(doc.changed);
    EXPECT_EQ(ui.redraws, 1);

    // The initial guess follows when the new document asks for it.
    steps.selectModel = [&](AnalysisState& state, Interaction&) {
        ran.push_back("model");
        state.guessOnNew = 1;
        return true;
    };
    ran.clear();
    s.modified = 0;
    ASSERT_TRUE(fileNew(s, ui, doc, steps));
    EXPECT_EQ(ran, (std::vector<std::string>{"model", "guess", "curves"}));
}

TEST(FileNew, CancelInAStepChangesNothing) {
    AnalysisState s = makeDefaultState();
    DocumentInfo doc{"kept.tvx", "kept.tvx"};
    ScriptedInteraction ui;
    NewDocumentSteps steps;
    steps.selectModel = [](AnalysisState& state, Interaction&) {
        state.modelKind = 4;
        return true;
    };
    steps.generateTypeCurves = [](AnalysisState&, Interaction&) { return false; };
    s.transmissivity = 2.5f;
    EXPECT_FALSE(fileNew(s, ui, doc, steps));
    EXPECT_EQ(s.transmissivity, 2.5f);
    EXPECT_EQ(s.modelKind, 0);
    EXPECT_EQ(s.newRequested, 0);
    EXPECT_EQ(doc.title, "kept.tvx");
    EXPECT_EQ(ui.redraws, 0);
}

TEST(ReportCommand, WritesTheReportFileOrSaysWhyNot) {
    ScratchFolder folder;
    AnalysisState s = makeDefaultState();
    s.reportFileName = folder.file("r.out");
    ScriptedInteraction ui;
    EXPECT_EQ(reportCommand(s, ui), folder.file("r.out"));
    EXPECT_NE(ScratchFolder::read(folder.file("r.out")).find("REPORT FOR THE CALCULATION"),
              std::string::npos);
    s.reportFileName = folder.file("none/r.out");
    EXPECT_FALSE(reportCommand(s, ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_NE(ui.messages[0].find("none/r.out"), std::string::npos);
}

}  // namespace
}  // namespace tolvex
