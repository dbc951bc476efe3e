// A picture replaces a file only when it is whole: each format's check refuses the picture cut short
// (by more than the line end that may follow its last structure).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/plot/PlotScene.h"
#include "render/PictureBytes.h"
#include "render/ScenePainter.h"

namespace tolvex::render {
namespace {

TEST(PictureCompleteness, EveryFormatIsWholeAndRefusedWhenCutShort) {
    AnalysisState state = makeDefaultState();
    state.plotContent = 1;
    const plot::Scene scene = plot::buildPlotScene(state, sceneTextMeasure());
    const struct {
        PictureFormat format;
        const char* name;
    } formats[] = {{PictureFormat::Png, "png"},
                   {PictureFormat::Svg, "svg"},
                   {PictureFormat::Pdf, "pdf"},
                   {PictureFormat::Bmp, "bmp"},
                   {PictureFormat::Emf, "emf"}};
    QTemporaryDir dir;
    for (const auto& f : formats) {
        const auto bytes = pictureBytes(scene, f.format, 320, 240);
        ASSERT_TRUE(bytes) << f.name;
        EXPECT_TRUE(pictureComplete(f.format, *bytes)) << f.name;
        for (const std::size_t cut : {std::size_t{8}, std::size_t{20}, bytes->size() / 2}) {
            EXPECT_FALSE(pictureComplete(f.format, bytes->substr(0, bytes->size() - cut)))
                << f.name << " " << cut;
        }
        EXPECT_FALSE(pictureComplete(f.format, "")) << f.name;

        const std::string path = dir.filePath(QStringLiteral("old.") + QLatin1String(f.name)).toStdString();
        QFile old(QString::fromStdString(path));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("the old picture");
        old.close();
        const auto error = writePicture(path, f.format, bytes->substr(0, bytes->size() - 8));
        ASSERT_TRUE(error) << f.name;
        EXPECT_EQ(*error,
                  "Not able to create file.\n\"" + path + "\": the picture could not be made completely");
        ASSERT_TRUE(old.open(QIODevice::ReadOnly));
        EXPECT_EQ(old.readAll(), "the old picture") << f.name;
        old.close();
        EXPECT_FALSE(writePicture(path, f.format, bytes)) << f.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

}  // namespace
}  // namespace tolvex::render
