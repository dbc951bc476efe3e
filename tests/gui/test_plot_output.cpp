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
#include <algorithm>

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

quint32 le32(const QByteArray& b, qsizetype at) {
    quint32 v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[at + i]);
    return v;
}

// The description strings of an enhanced-metafile header (UTF-16, here all ASCII).
QByteArray emfDescription(const QByteArray& emf) {
    QByteArray text;
    for (quint32 i = 0; i < le32(emf, 60); ++i) text += emf[static_cast<qsizetype>(le32(emf, 64) + 2 * i)];
    return text;
}

// The colour of pixel (x, y), y from the top, of an 8-bit bitmap file: rows bottom-up, padded to 4 bytes.
QRgb bmpPixel(const QByteArray& bmp, int x, int y) {
    const auto width = static_cast<qsizetype>(le32(bmp, 18));
    const auto height = static_cast<qsizetype>(le32(bmp, 22));
    const qsizetype row = (width + 3) / 4 * 4 * (height - 1 - y);
    const auto index = static_cast<unsigned char>(bmp[static_cast<qsizetype>(le32(bmp, 10)) + row + x]);
    return qRgb(static_cast<unsigned char>(bmp[56 + 4 * index]),
                static_cast<unsigned char>(bmp[55 + 4 * index]),
                static_cast<unsigned char>(bmp[54 + 4 * index]));
}

// Where the default Theis type curve (1/u from 0.1 to 1e4, five decades; W(u) from 0.001, the plotting
// minimum, to W(1e-4) = 8.633, four decades) lies on a picture of `size` pixels. On log-log paper the
// frame keeps its width 800 and shrinks to 800 * 4/5 = 640 units high: lower edge 250 + 350 - 320 = 280,
// 160 units a decade. The curve ends at the right edge x = 1000, at y = 280 + trunc((log10(8.633) + 3) *
// 160) = 909, and starts on the lower edge. The logical space is fitted with one scale, y up.
QRectF theisCurveBox(QSize size) {
    const double scale = std::min(size.width() / 1200.0, size.height() / 1000.0);
    return QRectF(QPointF(200 * scale, size.height() - 909 * scale),
                  QPointF(1000 * scale, size.height() - 280 * scale));
}

// The bounding box of the pixels of one colour.
QRect boxOf(const QImage& image, QRgb colour) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
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
    const QSize view = window->plotView()->size();
    ASSERT_EQ(image.size(), view);
    // The red Theis curve (colour 0 of the plot) where the layout puts it, within a pixel.
    const QRect red = boxOf(image, qRgb(255, 0, 0));
    const QRectF expected = theisCurveBox(view);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_NEAR(red.right(), expected.right(), 1.5);
    EXPECT_NEAR(red.top(), expected.top(), 1.5);
    EXPECT_NEAR(red.bottom(), expected.bottom(), 1.5);
    EXPECT_GT(red.left(), expected.left());
    // White paper around it, the black frame's corner at logical (1000, 280).
    EXPECT_EQ(image.pixel(view.width() - 1, 0) & 0xFFFFFF, 0xFFFFFFu);
    const double scale = std::min(view.width() / 1200.0, view.height() / 1000.0);
    EXPECT_EQ(
        image.pixel(static_cast<int>(50 * scale), view.height() - static_cast<int>(600 * scale)) & 0xFFFFFF,
        0xFFFFFFu);
    EXPECT_TRUE(boxOf(image, qRgb(0, 0, 0))
                    .contains(QPoint(static_cast<int>(1000 * scale) - 1,
                                     view.height() - static_cast<int>(280 * scale))));
}

TEST_F(PlotOutput, CopyAsMetafileOffersEmfSvgAndAnImage) {
    window->runCommand(kCmdCopyAsMetafile);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray emf = data->data(QStringLiteral("image/x-emf"));
    ASSERT_GT(emf.size(), 88);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));  // the signature of the metafile header record
    EXPECT_EQ(le32(emf, 48), static_cast<quint32>(emf.size()));
    EXPECT_EQ(emfDescription(emf), QByteArray("ImageName\0Copy\0\0", 16));
    // The type-curve plot of the Theis model: its axis titles and decade labels are in the metafile.
    for (const char* text : {"1/u", "w(u)", "1E-1", "1E4", "1E-3", "1E1"})
        EXPECT_TRUE(emf.contains(text)) << text;
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 " + QByteArray::number(window->plotView()->width()) + " " +
                             QByteArray::number(window->plotView()->height()) + "\""));
    ASSERT_TRUE(data->hasImage());
    EXPECT_EQ(qvariant_cast<QImage>(data->imageData()).size(), window->plotView()->size());
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
    ASSERT_EQ(bmp.size(), 1078 + row * view.height());
    EXPECT_EQ(le32(bmp, 18), static_cast<quint32>(view.width()));
    EXPECT_EQ(le32(bmp, 22), static_cast<quint32>(view.height()));
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 8);  // bits per pixel
    // The pixels decode to the copied picture wherever it holds a colour of the plot; the red curve
    // stands where the layout puts it.
    window->runCommand(kCmdCopyAsBmp);
    const QImage image = qvariant_cast<QImage>(QApplication::clipboard()->mimeData()->imageData());
    QImage decoded(view, QImage::Format_RGB32);
    int plotColoured = 0;
    int mismatches = 0;
    for (int y = 0; y < view.height(); ++y) {
        for (int x = 0; x < view.width(); ++x) {
            decoded.setPixel(x, y, bmpPixel(bmp, x, y));
            const QRgb shown = image.pixel(x, y) & 0xFFFFFF;
            if (shown != 0xFFFFFF && shown != 0 && shown != 0xFF0000) continue;
            ++plotColoured;
            mismatches += (decoded.pixel(x, y) & 0xFFFFFF) != shown;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(plotColoured, view.width() * view.height() * 9 / 10);
    EXPECT_EQ(boxOf(decoded, qRgb(255, 0, 0)), boxOf(image, qRgb(255, 0, 0)));
}

TEST_F(PlotOutput, ExportMetafileWritesAnEnhancedMetafile) {
    const QString path = dir.filePath(QStringLiteral("plot.emf"));
    ui->script.fileAnswers.push_back(path.toStdString());
    window->runCommand(kCmdExportMetafile);
    ASSERT_EQ(ui->script.fileDialogs.size(), 1u);
    EXPECT_EQ(ui->script.fileDialogs.front().filter, "emf Files (*.emf)|*.emf|All Files (*.*)|*.*||");
    EXPECT_EQ(ui->script.fileDialogs.front().defaultExtension, "emf");
    const QByteArray emf = readAll(path);
    ASSERT_GT(emf.size(), 88);
    EXPECT_EQ(emf.mid(40, 4), QByteArray(" EMF"));
    EXPECT_EQ(emfDescription(emf), QByteArray("Tolvex\0save\0\0", 13));
    // The frame: the view in hundredths of a millimetre at the reference device's 1024 pixels to 320 mm
    // across and 768 pixels to 240 mm down.
    const QSize view = window->plotView()->size();
    EXPECT_EQ(le32(emf, 24), 0u);
    EXPECT_EQ(le32(emf, 28), 0u);
    EXPECT_EQ(le32(emf, 32), static_cast<quint32>(view.width() * 32000 / 1024));
    EXPECT_EQ(le32(emf, 36), static_cast<quint32>(view.height() * 24000 / 768));
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
