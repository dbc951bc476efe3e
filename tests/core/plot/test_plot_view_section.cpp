// The plot style and axes in the document's extension block "view": written only when not the classic
// defaults (a classic document keeps its bytes), read back as written, and a wrong value refused with a
// message naming it, the state left as it was.
#include <gtest/gtest.h>

#include <string>

#include "core/persist/Document.h"
#include "core/persist/ExtensionBlock.h"

namespace tolvex {
namespace {

// The classic records of a state: its bytes with the view at its defaults.
std::string recordsOf(AnalysisState s) {
    s.view = ViewSettings{};
    return documentBytes(s);
}

TEST(ViewSection, AClassicDocumentKeepsItsBytesWhateverTheFontSizeAndStyle) {
    const AnalysisState classic = makeDefaultState();
    AnalysisState withFont = classic;
    withFont.view.fontPoints = 18;  // the font belongs to the view and is never saved
    withFont.view.fontBold = true;
    withFont.view.fontItalic = true;
    const std::string bytes = documentBytes(classic);
    EXPECT_EQ(documentBytes(withFont), bytes);
    EXPECT_EQ(bytes.find("\"view\""), std::string::npos);
}

TEST(ViewSection, WritesOnlyWhatDiffersAndReadsItBack) {
    struct Case {
        PlotStyle style;
        AxesChoice axes;
        const char* payload;  // written out by hand, keys in nlohmann's sorted order
    };
    const Case cases[] = {
        {PlotStyle::Clear, AxesChoice::Auto, R"({"view":{"style":"clear"}})"},
        {PlotStyle::Classic, AxesChoice::SemiLog, R"({"view":{"axes":"semilog"}})"},
        {PlotStyle::Classic, AxesChoice::LogLog, R"({"view":{"axes":"loglog"}})"},
        {PlotStyle::Clear, AxesChoice::SemiLog, R"({"view":{"axes":"semilog","style":"clear"}})"},
    };
    for (const Case& c : cases) {
        AnalysisState s = makeDefaultState();
        s.view.style = c.style;
        s.view.axes = c.axes;
        const std::string records = recordsOf(s);
        const std::string bytes = documentBytes(s);
        EXPECT_EQ(bytes, records + extensionBlock(records, c.payload)) << c.payload;
        AnalysisState back = makeDefaultState();
        ASSERT_FALSE(readDocumentBytes(bytes, back)) << c.payload;
        EXPECT_EQ(back.view.style, c.style) << c.payload;
        EXPECT_EQ(back.view.axes, c.axes) << c.payload;
        EXPECT_EQ(documentBytes(back), bytes) << c.payload;
    }
}

TEST(ViewSection, AClassicDocumentReadIntoAClearStateComesBackClassic) {
    AnalysisState target = makeDefaultState();
    target.view.style = PlotStyle::Clear;
    target.view.axes = AxesChoice::LogLog;
    ASSERT_FALSE(readDocumentBytes(documentBytes(makeDefaultState()), target));
    EXPECT_EQ(target.view.style, PlotStyle::Classic);
    EXPECT_EQ(target.view.axes, AxesChoice::Auto);
}

TEST(ViewSection, AWrongValueIsRefusedByNameAndTheStateKept) {
    struct Case {
        const char* payload;
        const char* named;
    };
    const Case cases[] = {
        {R"({"view":{"style":"fancy"}})", "plot style \"fancy\""},
        {R"({"view":{"style":1}})", "plot style 1"},
        {R"({"view":{"axes":"linear"}})", "plot axes \"linear\""},
        {R"({"view":["clear"]})", "view is not a JSON object"},
        {R"({"view":{"derivative":"yes"}})", "plot derivative \"yes\""},
        {R"({"view":{"derivativeWindow":4}})", "odd number of at least 3"},
        {R"({"view":{"derivativeWindow":1e30}})", "derivative window 1e+30"},
        {R"({"view":{"derivativeWindow":123456789012}})", "odd number of at least 3"},
        {R"({"view":{"derivativeLSpacing":0.7}})", "between 0 and 0.5"},
        {R"({"view":{"derivativeLSpacing":"x"}})", "L-spacing \"x\""},
    };
    const std::string records = documentBytes(makeDefaultState());
    for (const Case& c : cases) {
        AnalysisState target = makeDefaultState();
        target.view.style = PlotStyle::Clear;
        const std::string before = documentBytes(target);
        const auto error = readDocumentBytes(records + extensionBlock(records, c.payload), target);
        ASSERT_TRUE(error.has_value()) << c.payload;
        EXPECT_NE(error->find(c.named), std::string::npos) << *error;
        EXPECT_EQ(documentBytes(target), before) << c.payload;
    }
}

// The derivative's switch and smoothing: written only when they differ from the defaults (off, 0.2 log
// cycles), read back as written; a document without them switches the derivative off.
TEST(ViewSection, TheDerivativeAndItsSmoothingRoundTrip) {
    struct Case {
        bool on;
        double lSpacing;
        int window;
        const char* payload;
    };
    const Case cases[] = {
        {true, 0.2, 0, R"({"view":{"derivative":true}})"},
        {true, 0.2, 5, R"({"view":{"derivative":true,"derivativeWindow":5}})"},
        {false, 0.35, 0, R"({"view":{"derivativeLSpacing":0.35}})"},
        {true, 0.0, 0, R"({"view":{"derivative":true,"derivativeLSpacing":0.0}})"},
    };
    for (const Case& c : cases) {
        AnalysisState s = makeDefaultState();
        s.view.derivative = c.on;
        s.view.derivativeLSpacing = c.lSpacing;
        s.view.derivativeWindow = c.window;
        const std::string records = recordsOf(s);
        const std::string bytes = documentBytes(s);
        EXPECT_EQ(bytes, records + extensionBlock(records, c.payload)) << c.payload;
        AnalysisState back = makeDefaultState();
        back.view.derivative = !c.on;
        ASSERT_FALSE(readDocumentBytes(bytes, back)) << c.payload;
        EXPECT_EQ(back.view, s.view) << c.payload;
    }
    AnalysisState target = makeDefaultState();
    target.view.derivative = true;
    target.view.derivativeWindow = 7;
    const std::string clear = recordsOf(target);
    ASSERT_FALSE(readDocumentBytes(clear + extensionBlock(clear, R"({"view":{"style":"clear"}})"), target));
    EXPECT_FALSE(target.view.derivative);
    EXPECT_EQ(target.view.derivativeWindow, 0);
}

}  // namespace
}  // namespace tolvex
