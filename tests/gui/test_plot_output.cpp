// The plot leaving the screen: printing through QPrinter (here into a PDF file), the clipboard formats
// and the two picture exports with their file dialogs.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "core/commands/CommandIds.h"
#include "core/plot/FamilyFixtures.h"
#include "core/plot/PlotScene.h"
#include "core/plot/SceneQueries.h"
#include "gui/MainWindow.h"
#include "gui/PlotPicture.h"
#include "gui/PlotView.h"
#include "gui/ScriptedGuiInteraction.h"
#include "render/ScenePainter.h"

namespace tolvex::gui {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
}

// Width and height of the first page's media box of a PDF written by Qt.
QSizeF pdfPageSize(const QByteArray& pdf) {
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const auto match = box.match(QString::fromLatin1(pdf));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF{};
}

class PlotOutput : public ::testing::Test {
protected:
    PlotOutput() {
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        window->resize(800, 600);
        window->show();
        window->runCommand(kCmdTypeCurveCalculation);
    }
    [[nodiscard]] QString printToPdf(QPageLayout::Orientation orientation) {
        QPrinter& printer = window->printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("plot.pdf")));
        printer.setPageOrientation(orientation);
        EXPECT_TRUE(window->printWithoutDialog());
        return printer.outputFileName();
    }

    QTemporaryDir dir;
    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

TEST_F(PlotOutput, PrintsOneLandscapePageByDefault) {
    EXPECT_EQ(window->printer().pageLayout().orientation(), QPageLayout::Landscape);
    const QByteArray pdf = readAll(printToPdf(window->printer().pageLayout().orientation()));
    ASSERT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/"), 1);
    const QSizeF page = pdfPageSize(pdf);
    EXPECT_GT(page.width(), page.height());
}

TEST_F(PlotOutput, PortraitChosenInThePrintDialogIsRespected) {
    const QSizeF page = pdfPageSize(readAll(printToPdf(QPageLayout::Portrait)));
    EXPECT_LT(page.width(), page.height());
}

TEST_F(PlotOutput, CopyAsBitmapPutsAnImageOfTheViewOnTheClipboard) {
    window->runCommand(kCmdCopyAsBmp);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasImage());
    const QImage image = qvariant_cast<QImage>(data->imageData());
    EXPECT_EQ(image.size(), window->plotView()->size());
    // The picture is not blank: the axes and curves are drawn on the white page.
    bool anyDark = false;
    for (int x = 0; x < image.width() && !anyDark; x += 3)
        for (int y = 0; y < image.height() && !anyDark; y += 3) anyDark = qGray(image.pixel(x, y)) < 100;
    EXPECT_TRUE(anyDark);
}

TEST_F(PlotOutput, CopyAsMetafileOffersEmfSvgAndAnImage) {
    window->runCommand(kCmdCopyAsMetafile);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray emf = data->data(QStringLiteral("image/x-emf"));
    ASSERT_GT(emf.size(), 88);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));  // the signature of the metafile header record
    EXPECT_TRUE(data->data(QStringLiteral("image/svg+xml")).contains("<svg"));
    EXPECT_TRUE(data->hasImage());
}

TEST_F(PlotOutput, ExportBmpWritesAnEightBitBitmapOfTheViewSize) {
    const QString path = dir.filePath(QStringLiteral("plot.bmp"));
    ui->script.fileAnswers.push_back(path.toStdString());
    window->runCommand(kCmdExportBmp);
    ASSERT_EQ(ui->script.fileDialogs.size(), 1u);
    const FileDialog& dialog = ui->script.fileDialogs.front();
    EXPECT_TRUE(dialog.save);
    EXPECT_EQ(dialog.initialName, "test.bmp");
    EXPECT_EQ(dialog.defaultExtension, "bmp");
    EXPECT_EQ(dialog.filter, "BMP Files (*.bmp)|*.bmp|DIB Files (*.dib)|*.dib|All Files (*.*)|*.*||");
    const QByteArray bmp = readAll(path);
    ASSERT_GT(bmp.size(), 1078);
    EXPECT_TRUE(bmp.startsWith("BM"));
    const QSize view = window->plotView()->size();
    const qsizetype row = (view.width() * 8 + 31) / 32 * 4;
    EXPECT_EQ(bmp.size(), 1078 + row * view.height());
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 8);  // bits per pixel
}

TEST_F(PlotOutput, ExportMetafileWritesAnEnhancedMetafile) {
    const QString path = dir.filePath(QStringLiteral("plot.emf"));
    ui->script.fileAnswers.push_back(path.toStdString());
    window->runCommand(kCmdExportMetafile);
    ASSERT_EQ(ui->script.fileDialogs.size(), 1u);
    EXPECT_EQ(ui->script.fileDialogs.front().filter, "emf Files (*.emf)|*.emf|All Files (*.*)|*.*||");
    EXPECT_EQ(ui->script.fileDialogs.front().defaultExtension, "emf");
    EXPECT_EQ(readAll(path).mid(40, 4), QByteArray(" EMF"));
}

TEST_F(PlotOutput, CancellingAnExportWritesNothing) {
    window->runCommand(kCmdExportBmp);
    window->runCommand(kCmdExportMetafile);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(ui->script.messages.empty());
}

TEST_F(PlotOutput, AnExportThatCannotBeWrittenSaysSo) {
    ui->script.fileAnswers.push_back(dir.filePath(QStringLiteral("missing/folder/plot.bmp")).toStdString());
    window->runCommand(kCmdExportBmp);
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_EQ(ui->script.messages.front().rfind("Not able to create file.", 0), 0u);
}

// Model 8's legend title is measured with the face that draws it: the picture keeps its 1200 units (no
// shrinking) and the title, "=" included, is drawn whole inside it. Under the comma locale run, no label
// of the plot reads with a comma either.
TEST(PlotLegend, TheLongestFamilyNameStaysWholeWithinThePicture) {
    AnalysisState s = plot::testing::leakyFamily(3);
    s.modelKind = 8;
    s.tcBsGammaCount = 3;
    s.tcBsTdCount = 30;
    const plot::TextMeasure measure = render::sceneTextMeasure();
    const plot::Scene scene = plot::buildPlotScene(s, measure);
    EXPECT_EQ(scene.width, plot::kLogicalWidth);
    for (const std::string& text : plot::testing::textsOf(scene))
        EXPECT_EQ(text.find(','), std::string::npos) << text;
    const auto title = plot::testing::findText(scene, "(Gamma*rd)^2=");
    ASSERT_TRUE(title);

    // The title alone, one pixel per unit: where its ink ends.
    plot::Scene titleOnly;
    titleOnly.primitives = {*title};
    QImage image(plot::kLogicalWidth + 100, plot::kLogicalHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    render::paintScene(painter, titleOnly, QRectF(0, 0, plot::kLogicalWidth, plot::kLogicalHeight));
    painter.end();
    int inkRight = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) inkRight = std::max(inkRight, x);
    const int end = title->anchor.x + measure(title->text, title->font);
    const int equalsWidth = measure("=", title->font);
    EXPECT_LT(inkRight, plot::kLogicalWidth);    // nothing beyond the picture's edge
    EXPECT_GT(inkRight, end - equalsWidth / 2);  // the "=" is drawn: the ink reaches it
    EXPECT_LE(end, plot::kLogicalWidth);
}

}  // namespace
}  // namespace tolvex::gui
