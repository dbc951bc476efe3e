// The "Diagnostic plots" window: opened from the View menu, switching between the views offscreen (each
// one painted, the residual views with a note before an estimation), exported through the scripted file
// dialog as PNG (decoded) and SVG (its texts read), a refused file name reported with no file written,
// printed to a PDF printer, and the lag-1 autocorrelation written with a decimal point under a comma
// locale.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <string>

#include "core/plot/DiagnosticViews.h"
#include "core/state/CommaLocale.h"
#include "gui/DiagnosticsWindow.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
}

bool holdsText(const plot::Scene& scene, const std::string& part) {
    return std::any_of(scene.primitives.begin(), scene.primitives.end(), [&](const plot::Primitive& p) {
        const auto* text = std::get_if<plot::Text>(&p);
        return text != nullptr && text->text.find(part) != std::string::npos;
    });
}

int darkPixels(const QImage& image) {
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (qGray(image.pixel(x, y)) < 128) ++dark;
    return dark;
}

class DiagnosticsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
    }

    // The default measurements with a calculated curve 0.1 below and above them in turn: residuals
    // +0.1, -0.1, ..., lag-1 autocorrelation -13/14 = -0.929.
    void fit() {
        state.plotContent = 2;
        state.resultKind = 1;
        for (std::size_t i = 0; i < state.calculated.size(); ++i)
            state.calculated[i] = state.measured[i] + (i % 2 == 0 ? -0.1 : 0.1);
    }

    DiagnosticsWindow* open() {
        auto* action = window->findChild<QAction*>(QStringLiteral("diagnosticPlotsAction"));
        if (action == nullptr) return nullptr;
        action->trigger();
        return window->findChild<DiagnosticsWindow*>(QStringLiteral("diagnosticsWindow"));
    }

    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(DiagnosticsWindowTest, TheViewMenuOpensOneWindow) {
    DiagnosticsWindow* diagnostics = open();
    ASSERT_NE(diagnostics, nullptr);
    EXPECT_TRUE(diagnostics->isVisible());
    EXPECT_EQ(diagnostics->windowTitle(), QStringLiteral("Diagnostic plots"));
    EXPECT_EQ(open(), diagnostics);  // raised again, not a second window
    EXPECT_EQ(window->findChildren<DiagnosticsWindow*>().size(), 1);
}

TEST_F(DiagnosticsWindowTest, EveryViewIsChosenAndPaintedBeforeAndAfterAnEstimation) {
    DiagnosticsWindow* diagnostics = open();
    ASSERT_NE(diagnostics, nullptr);
    auto* choice = diagnostics->findChild<QComboBox*>(QStringLiteral("diagnosticViewChoice"));
    auto* canvas = diagnostics->findChild<QWidget*>(QStringLiteral("diagnosticsCanvas"));
    ASSERT_NE(choice, nullptr);
    ASSERT_NE(canvas, nullptr);
    ASSERT_EQ(choice->count(), static_cast<int>(plot::kDiagnosticViews.size()));
    for (bool fitted : {false, true}) {
        if (fitted) fit();
        for (int i = 0; i < choice->count(); ++i) {
            choice->setCurrentIndex(i);
            const plot::DiagnosticView view = diagnostics->currentView();
            EXPECT_EQ(view, plot::kDiagnosticViews[static_cast<std::size_t>(i)]);
            const bool residuals = i < 3;
            const plot::Scene scene = diagnostics->scene();
            EXPECT_EQ(holdsText(scene, plot::kNoEstimationNote), residuals && !fitted) << i;
            EXPECT_EQ(holdsText(scene, "lag-1 autocorrelation -0.929"), residuals && fitted) << i;
            EXPECT_GT(darkPixels(canvas->grab().toImage()), 0) << i;
        }
    }
    diagnostics->showView(plot::DiagnosticView::SquareRoot);
    EXPECT_EQ(choice->currentIndex(), 4);
}

TEST_F(DiagnosticsWindowTest, TheExportButtonWritesPngAndSvgAndReportsARefusedName) {
    fit();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    DiagnosticsWindow* diagnostics = open();
    ASSERT_NE(diagnostics, nullptr);
    diagnostics->showView(plot::DiagnosticView::NormalProbability);
    auto* button = diagnostics->findChild<QPushButton*>(QStringLiteral("diagnosticsExport"));
    ASSERT_NE(button, nullptr);

    const QString png = folder.filePath(QStringLiteral("normal.png"));
    ui->script.fileAnswers.push_back(png.toStdString());
    button->click();
    ASSERT_EQ(ui->script.fileDialogs.size(), 1U);
    EXPECT_EQ(ui->script.fileDialogs[0].initialName, "normal.png");
    QImage image;
    ASSERT_TRUE(image.loadFromData(readAll(png), "PNG"));
    EXPECT_EQ(image.size(), QSize(1200, 1000));
    EXPECT_GT(darkPixels(image), 100);

    const QString svg = folder.filePath(QStringLiteral("sqrt.svg"));
    diagnostics->showView(plot::DiagnosticView::SquareRoot);
    ui->script.fileAnswers.push_back(svg.toStdString());
    button->click();
    EXPECT_TRUE(readAll(svg).contains(">sqrt t<"));

    const QString text = folder.filePath(QStringLiteral("view.txt"));
    ui->script.fileAnswers.push_back(text.toStdString());
    button->click();
    ASSERT_EQ(ui->script.messages.size(), 1U);
    EXPECT_NE(ui->script.messages[0].find("view.txt"), std::string::npos) << ui->script.messages[0];
    EXPECT_FALSE(QFile::exists(text));

    button->click();  // cancelled: nothing written, nothing said
    EXPECT_EQ(ui->script.messages.size(), 1U);
}

TEST_F(DiagnosticsWindowTest, PrintsOnePageToAPdfPrinter) {
    fit();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    DiagnosticsWindow* diagnostics = open();
    ASSERT_NE(diagnostics, nullptr);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("print.pdf")));
    ASSERT_TRUE(diagnostics->printTo(printer));
    EXPECT_TRUE(readAll(folder.filePath(QStringLiteral("print.pdf"))).startsWith("%PDF"));
}

TEST_F(DiagnosticsWindowTest, TheAutocorrelationKeepsItsDecimalPointUnderACommaLocale) {
    tolvex::testing::CommaLocale locale;
    ASSERT_TRUE(locale.active()) << "the locale " << tolvex::testing::kCommaLocale << " is not installed";
    fit();
    DiagnosticsWindow* diagnostics = open();
    ASSERT_NE(diagnostics, nullptr);
    diagnostics->showView(plot::DiagnosticView::ResidualsTime);
    EXPECT_TRUE(holdsText(diagnostics->scene(), "lag-1 autocorrelation -0.929"));
    EXPECT_FALSE(holdsText(diagnostics->scene(), "-0,929"));
}

}  // namespace
}  // namespace tolvex::gui
