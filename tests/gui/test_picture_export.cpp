// PNG, SVG and PDF pictures from the File menu, the title block of printouts and pictures, and a failed
// export that must leave the file it would have replaced as it was. Every picture is decoded and looked
// at: its size, where the plot's red Theis curve lies, the frame of the title block and its texts.
#include <gtest/gtest.h>

#include "gui/QtPrinters.h"

#include <QAction>
#include <QDate>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "core/commands/CommandIds.h"
#include "gui/Document.h"
#include "gui/MainWindow.h"
#include "gui/PictureExport.h"
#include "gui/PlotPicture.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray{};
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Every <text> element's contents of an SVG document, and its viewBox; a parse error fails the test.
struct SvgContents {
    QStringList texts;
    QString viewBox;
};
SvgContents parseSvg(const QByteArray& svg) {
    SvgContents contents;
    QXmlStreamReader xml(svg);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("svg"))
            contents.viewBox = xml.attributes().value(QLatin1String("viewBox")).toString();
        if (xml.name() == QLatin1String("text")) contents.texts << xml.readElementText().trimmed();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return contents;
}

// Width and height of the first page's media box of a PDF written by Qt, in points.
QSizeF pdfPageSize(const QByteArray& pdf) {
    const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"));
    const auto match = box.match(QString::fromLatin1(pdf));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble()) : QSizeF{};
}

int pdfPageCount(const QByteArray& pdf) {
    return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") +
                            pdf.count("/Type /Page/"));
}

bool isBlack(QRgb pixel) {
    return qRed(pixel) < 64 && qGreen(pixel) < 64 && qBlue(pixel) < 64;
}

// The bounding box of the pure red pixels (the Theis curve, colour 0 of the plot).
QRect redBox(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == 0xFF0000u) box |= QRect(x, y, 1, 1);
    return box;
}

// Black pixels in a row, within a pixel of `y`, between x0 and x1.
int blackInRow(const QImage& image, int y, int x0, int x1) {
    int best = 0;
    for (int row = std::max(y - 1, 0); row <= std::min(y + 1, image.height() - 1); ++row) {
        int count = 0;
        for (int x = x0; x < x1; ++x) count += isBlack(image.pixel(x, row)) ? 1 : 0;
        best = std::max(best, count);
    }
    return best;
}

class PictureExport : public ::testing::Test {
protected:
    PictureExport() {
        QSettings().remove(QString::fromLatin1(kTitleBlockSetting));
        QSettings().remove(QStringLiteral("recentFiles"));
        auto scripted = std::make_unique<testing::ScriptedGuiInteraction>();
        ui = scripted.get();
        window = std::make_unique<MainWindow>(state, std::move(scripted));
        window->resize(800, 600);
        window->runCommand(kCmdTypeCurveCalculation);
    }
    ~PictureExport() override {
        QSettings().remove(QString::fromLatin1(kTitleBlockSetting));
        QSettings().remove(QStringLiteral("recentFiles"));
    }

    [[nodiscard]] QAction* named(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    // Runs a menu item of File > Export graphic as with `path` as the dialog's answer.
    QByteArray exportThrough(const char* action, const QString& path) {
        ui->script.fileAnswers.push_back(path.toStdString());
        QAction* item = named(action);
        EXPECT_NE(item, nullptr) << action;
        if (item != nullptr) item->trigger();
        return readAll(path);
    }
    void chooseTitleBlock(bool on) {
        QAction* choice = named("titleBlockAction");
        ASSERT_NE(choice, nullptr);
        choice->setChecked(on);
    }
    [[nodiscard]] QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    QTemporaryDir dir;
    AnalysisState state = makeDefaultState();
    testing::ScriptedGuiInteraction* ui = nullptr;
    std::unique_ptr<MainWindow> window;
};

// The default Theis type curve on a 1200 x 1000 picture (one pixel a logical unit): from x 200 to 1000,
// y from 1000 - 909 to 1000 - 280 (the layout derived in test_plot_output.cpp).
constexpr int kCurveRight = 1000;
constexpr int kCurveTop = 91;
constexpr int kCurveBottom = 720;

TEST_F(PictureExport, PngIsThePlotAtOnePixelALogicalUnit) {
    const QByteArray png = exportThrough("exportPngAction", file("plot.png"));
    QImage image;
    ASSERT_TRUE(image.loadFromData(png, "PNG"));
    EXPECT_EQ(image.size(), QSize(1200, 1000));
    const QRect red = redBox(image);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_NEAR(red.right(), kCurveRight, 1.5);
    EXPECT_NEAR(red.top(), kCurveTop, 1.5);
    EXPECT_NEAR(red.bottom(), kCurveBottom, 1.5);
    EXPECT_EQ(image.pixel(1199, 999) & 0xFFFFFF, 0xFFFFFFu);  // white paper
    EXPECT_TRUE(ui->script.messages.empty());
}

TEST_F(PictureExport, PngWithTheTitleBlockKeepsThePlotAndFramesTheBlockBelow) {
    chooseTitleBlock(true);
    QImage image;
    ASSERT_TRUE(image.loadFromData(exportThrough("exportPngAction", file("plot.png")), "PNG"));
    ASSERT_EQ(image.width(), 1200);
    // Four rows of text (project, operator, well, model) need at least 4 x 23 units.
    ASSERT_GT(image.height(), 1000 + 4 * 23);
    // The plot stands where it stood, the block below it.
    const QRect red = redBox(image);
    EXPECT_NEAR(red.top(), kCurveTop, 1.5);
    EXPECT_NEAR(red.bottom(), kCurveBottom, 1.5);
    // The frame's lower edge: a black line across nearly the whole width near the bottom of the page,
    // and nothing black in the plot's empty lower margin just above the block.
    const int bottom = image.height() - 1;
    int frameRow = -1;
    for (int y = bottom; y > 1000 && frameRow < 0; --y)
        if (blackInRow(image, y, 0, 1200) > 1000) frameRow = y;
    ASSERT_GT(frameRow, 1000);
    EXPECT_GT(frameRow, bottom - 40);
    EXPECT_EQ(blackInRow(image, 990, 0, 1200), 0);
    // Text in both halves of the block (dark pixels that are not the frame).
    const int midBlock = (1000 + bottom) / 2;
    EXPECT_GT(blackInRow(image, midBlock - 40, 40, 580) + blackInRow(image, midBlock, 40, 580), 0);
}

TEST_F(PictureExport, SvgParsesAndHoldsTheTitleBlockTextsOnlyWhenChosen) {
    const SvgContents plain = parseSvg(exportThrough("exportSvgAction", file("plain.svg")));
    EXPECT_EQ(plain.viewBox, QStringLiteral("0 0 1200 1000"));
    EXPECT_TRUE(plain.texts.contains(QStringLiteral("1/u")));
    EXPECT_FALSE(plain.texts.contains(QStringLiteral("Operator: John Doe")));

    chooseTitleBlock(true);
    const SvgContents titled = parseSvg(exportThrough("exportSvgAction", file("titled.svg")));
    const QStringList viewBox = titled.viewBox.split(QLatin1Char(' '));
    ASSERT_EQ(viewBox.size(), 4);
    EXPECT_EQ(viewBox[2], QStringLiteral("1200"));
    EXPECT_GT(viewBox[3].toInt(), 1000 + 4 * 23);
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    for (const QString& text :
         {QStringLiteral("Project: Theis Type Curve"), QStringLiteral("Operator: John Doe"),
          QStringLiteral("Well: (not named)"), QStringLiteral("No estimation yet"),
          QStringLiteral("Date: ") + today, QStringLiteral("1/u")})
        EXPECT_TRUE(titled.texts.contains(text)) << text.toStdString();
    EXPECT_TRUE(std::any_of(titled.texts.begin(), titled.texts.end(),
                            [](const QString& t) { return t.startsWith(QStringLiteral("Model: ")); }));
}

TEST_F(PictureExport, PdfIsOnePageOfThePictureSize) {
    const QByteArray pdf = exportThrough("exportPdfAction", file("plot.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(pdfPageCount(pdf), 1);
    // 1200 x 1000 pixels at 96 per inch are 900 x 750 points.
    const QSizeF page = pdfPageSize(pdf);
    EXPECT_NEAR(page.width(), 900.0, 0.5);
    EXPECT_NEAR(page.height(), 750.0, 0.5);

    chooseTitleBlock(true);
    const QByteArray titled = exportThrough("exportPdfAction", file("titled.pdf"));
    QImage png;
    ASSERT_TRUE(png.loadFromData(exportThrough("exportPngAction", file("titled.png")), "PNG"));
    // The same page as the PNG of the same choice, in points.
    EXPECT_NEAR(pdfPageSize(titled).width(), 900.0, 0.5);
    EXPECT_NEAR(pdfPageSize(titled).height(), png.height() * 0.75, 0.5);
    EXPECT_EQ(pdfPageCount(titled), 1);
}

TEST_F(PictureExport, BmpAndMetafileFollowTheTitleBlockChoice) {
    chooseTitleBlock(true);
    state.units = DisplayUnits{"d", "m", "m3/d"};
    state.resultKind = 1;  // the parameters are shown, in the document's units
    const QSize view(600, 500);
    QImage bmp;
    const std::vector<std::uint8_t> bytes = plotBmp(state, view, pageOptions(QSettings()));
    ASSERT_TRUE(bmp.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP"));
    EXPECT_EQ(bmp.width(), 600);
    EXPECT_GT(bmp.height(), 500 + 4 * 23 / 2);  // four rows at half a pixel a unit

    const auto emf = plotEmf(state, view, false, pageOptions(QSettings()));
    ASSERT_TRUE(emf.has_value());
    const QByteArray metafile(reinterpret_cast<const char*>(emf->data()),
                              static_cast<qsizetype>(emf->size()));
    EXPECT_TRUE(metafile.contains("Project: Theis Type Curve"));
    // The metafile's ANSI texts are Latin-1: "m²/d" as m, 0xB2, /d.
    EXPECT_TRUE(metafile.contains("m\xb2/d"));
    EXPECT_FALSE(metafile.contains("m\xc2\xb2/d"));
}

TEST_F(PictureExport, TheChoiceIsRememberedForTheNextWindow) {
    ASSERT_NE(named("titleBlockAction"), nullptr);
    EXPECT_FALSE(named("titleBlockAction")->isChecked());
    EXPECT_FALSE(pageOptions(QSettings()).titleBlock);
    chooseTitleBlock(true);
    EXPECT_TRUE(QSettings().value(QString::fromLatin1(kTitleBlockSetting)).toBool());
    AnalysisState other = makeDefaultState();
    MainWindow next(other, std::make_unique<testing::ScriptedGuiInteraction>());
    const auto* choice = next.findChild<QAction*>(QStringLiteral("titleBlockAction"));
    ASSERT_NE(choice, nullptr);
    EXPECT_TRUE(choice->isChecked());
    EXPECT_EQ(pageOptions(QSettings()).date, QDate::currentDate().toString(Qt::ISODate).toStdString());
}

TEST_F(PictureExport, PrintingDrawsTheTitleBlockOnThePage) {
    // What the printer gets, painted on an image of a page's shape: the plot shrinks to leave the
    // block room, the frame's lower edge near the bottom.
    const QSize page(1200, 1000);
    QImage plain(page, QImage::Format_RGB32);
    QImage titled(page, QImage::Format_RGB32);
    {
        QPainter painter(&plain);
        paintPlot(painter, state, QRectF(QPointF(0, 0), QSizeF(page)));
    }
    {
        QPainter painter(&titled);
        paintPlot(painter, state, QRectF(QPointF(0, 0), QSizeF(page)),
                  render::PageOptions{true, "2026-03-14"});
    }
    EXPECT_LT(blackInRow(plain, page.height() - 16, 0, 1200), 100);
    int frame = 0;
    for (int y = page.height() - 1; y > page.height() - 40; --y)
        frame = std::max(frame, blackInRow(titled, y, 0, 1200));
    EXPECT_GT(frame, 900);  // 1170 units at 1000 / 1175 of a pixel each
    EXPECT_LT(redBox(titled).height(), redBox(plain).height());

    chooseTitleBlock(true);
    QPrinter& printer = window->printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file("print.pdf"));
    ASSERT_TRUE(window->printWithoutDialog());
    EXPECT_EQ(pdfPageCount(readAll(file("print.pdf"))), 1);
}

TEST_F(PictureExport, TheNameProposedFollowsTheDocument) {
    ui->script.fileAnswers.push_back(file("site.tvx").toStdString());
    window->runCommand(kCmdFileSaveAs);
    struct Case {
        const char* action;
        const char* name;
        const char* extension;
        const char* filter;
    };
    const Case cases[] = {
        {"exportPngAction", "site.png", "png", "PNG Files (*.png)|*.png|All Files (*.*)|*.*||"},
        {"exportSvgAction", "site.svg", "svg", "SVG Files (*.svg)|*.svg|All Files (*.*)|*.*||"},
        {"exportPdfAction", "site.pdf", "pdf", "PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*||"},
    };
    for (const Case& c : cases) {
        named(c.action)->trigger();  // cancelled: writes nothing
        const FileDialog& dialog = ui->script.fileDialogs.back();
        EXPECT_TRUE(dialog.save);
        EXPECT_EQ(dialog.initialName, file(c.name).toStdString());
        EXPECT_EQ(dialog.defaultExtension, c.extension);
        EXPECT_EQ(dialog.filter, c.filter);
        EXPECT_FALSE(QFile::exists(file(c.name)));
    }
}

TEST(PictureNames, UntitledDocumentsProposeTestBesideTheHomeFolder) {
    const Document untitled;
    EXPECT_EQ(proposedPictureName(untitled, render::PictureFormat::Png),
              QDir(QDir::homePath()).filePath(QStringLiteral("test.png")));
    EXPECT_EQ(proposedPictureName(untitled, render::PictureFormat::Pdf),
              QDir(QDir::homePath()).filePath(QStringLiteral("test.pdf")));
}

TEST(PictureNames, ANameWithAnotherPictureExtensionChoosesThatFormat) {
    using render::PictureFormat;
    EXPECT_EQ(formatForName("/d/a.svg", PictureFormat::Png), PictureFormat::Svg);
    EXPECT_EQ(formatForName("/d/a.PDF", PictureFormat::Png), PictureFormat::Pdf);
    EXPECT_EQ(formatForName("/d/a.txt", PictureFormat::Png), PictureFormat::Png);
    EXPECT_EQ(formatForName("/d/a", PictureFormat::Svg), PictureFormat::Svg);
}

TEST_F(PictureExport, AFailedExportLeavesTheExistingFileAndSaysWhy) {
    // A picture that cannot be made (no pixels) never replaces the file.
    writeFile(file("keep.png"), "the old picture");
    const auto failure =
        writePlotPicture(state, file("keep.png").toStdString(), render::PictureFormat::Png, QSize(0, 0), {});
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->rfind("Not able to create file.\n\"" + file("keep.png").toStdString() + "\"", 0), 0u)
        << *failure;
    EXPECT_EQ(readAll(file("keep.png")), QByteArray("the old picture"));

    // A folder of that name stays a folder; a folder that does not exist is named.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.svg")));
    exportThrough("exportSvgAction", file("taken.svg"));
    ASSERT_EQ(ui->script.messages.size(), 1u);
    EXPECT_NE(ui->script.messages.back().find("taken.svg"), std::string::npos);
    EXPECT_TRUE(QFileInfo(file("taken.svg")).isDir());
    exportThrough("exportPdfAction", file("missing/plot.pdf"));
    ASSERT_EQ(ui->script.messages.size(), 2u);
    EXPECT_EQ(ui->script.messages.back().rfind("Not able to create file.", 0), 0u);
    EXPECT_FALSE(QFile::exists(file("missing/plot.pdf")));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("keep.png")});
}

TEST_F(PictureExport, AnExportReplacesAnOlderPictureWhole) {
    writeFile(file("plot.png"), QByteArray(5'000'000, 'x'));
    QImage image;
    ASSERT_TRUE(image.loadFromData(exportThrough("exportPngAction", file("plot.png")), "PNG"));
    EXPECT_EQ(image.size(), QSize(1200, 1000));
    EXPECT_LT(readAll(file("plot.png")).size(), 5'000'000);
}

}  // namespace
}  // namespace tolvex::gui
