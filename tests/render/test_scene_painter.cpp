#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "RenderFixtures.h"
#include "render/HeadlessGui.h"
#include "render/PlotExport.h"
#include "render/ScenePainter.h"

namespace tolvex::render {
namespace {

using testing::sampleScene;

bool isColour(const QImage& image, int x, int y, QColor colour) {
    return image.pixelColor(x, y) == colour;
}

// Whether any pixel of the box (device coordinates, inclusive) has the colour.
bool anyIn(const QImage& image, QRect box, QColor colour) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (image.valid(x, y) && isColour(image, x, y, colour)) return true;
        }
    }
    return false;
}

TEST(ScenePainter, MapsTheLogicalSpaceOneToOneWithYUp) {
    const GuiSession session;
    const QImage image = renderSceneImage(sampleScene(), 1200, 1000);
    // The red line at logical y = 100 lies on device row 900.
    EXPECT_TRUE(anyIn(image, QRect(590, 899, 20, 3), Qt::red));
    EXPECT_FALSE(anyIn(image, QRect(590, 95, 20, 10), Qt::red));
    // The ellipse is filled yellow with a blue outline.
    EXPECT_TRUE(isColour(image, 850, 250, Qt::yellow));
    EXPECT_TRUE(anyIn(image, QRect(798, 247, 4, 6), Qt::blue));
    EXPECT_TRUE(isColour(image, 50, 50, Qt::white));
}

TEST(ScenePainter, FitsWithOneScaleAnchoredAtTheLowerLeft) {
    const GuiSession session;
    // Twice as wide as needed: the scale follows the height, the free strip lies at the right.
    const QImage image = renderSceneImage(sampleScene(), 1000, 250);
    const SceneViewport viewport = sceneViewport(sampleScene(), QRectF(0, 0, 1000, 250));
    EXPECT_DOUBLE_EQ(viewport.scale, 0.25);
    EXPECT_EQ(viewport.map({0, 0}), QPointF(0, 250));
    EXPECT_TRUE(anyIn(image, QRect(140, 223, 10, 4), Qt::red));  // logical (600, 100)
    EXPECT_FALSE(anyIn(image, QRect(310, 0, 690, 250), Qt::red));
    // Too tall: the scale follows the width, the free strip lies at the top.
    const SceneViewport tall = sceneViewport(sampleScene(), QRectF(0, 0, 600, 2000));
    EXPECT_DOUBLE_EQ(tall.scale, 0.5);
    EXPECT_EQ(tall.map({1200, 1000}), QPointF(600, 1500));
}

TEST(ScenePainter, TextStandsOnAnOpaqueWhiteCellBelowAndRightOfItsAnchor) {
    const GuiSession session;
    plot::Scene scene;
    scene.add(plot::Line{{0, 490}, {1200, 490}, {255, 0, 0}});
    scene.add(plot::Text{{300, 500}, "WWWW", 0, {}, plot::kBlack, plot::kWhite});
    const QImage image = renderSceneImage(scene, 1200, 1000);
    // The cell spans 23 units below the anchor: the red line under it is covered.
    EXPECT_FALSE(anyIn(image, QRect(305, 508, 40, 5), Qt::red));
    EXPECT_TRUE(anyIn(image, QRect(200, 508, 40, 5), Qt::red));
    EXPECT_TRUE(anyIn(image, QRect(300, 500, 60, 23), Qt::black));
    EXPECT_FALSE(anyIn(image, QRect(300, 470, 60, 28), Qt::black));
}

TEST(ScenePainter, EscapementTurnsTextAsTheLayoutExpects) {
    const GuiSession session;
    plot::Scene down;
    down.add(plot::Text{{600, 500}, "WWWW", 900, {}, plot::kBlack, plot::kWhite});
    const QImage reading = renderSceneImage(down, 1200, 1000);
    // 900 reads top to bottom with the bodies left of the anchor.
    EXPECT_TRUE(anyIn(reading, QRect(578, 505, 20, 40), Qt::black));
    EXPECT_FALSE(anyIn(reading, QRect(602, 480, 40, 80), Qt::black));
    EXPECT_FALSE(anyIn(reading, QRect(560, 440, 60, 58), Qt::black));

    plot::Scene up;
    up.add(plot::Text{{600, 500}, "WWWW", -900, {}, plot::kBlack, plot::kWhite});
    const QImage rising = renderSceneImage(up, 1200, 1000);
    // -900 reads bottom to top with the bodies right of the anchor.
    EXPECT_TRUE(anyIn(rising, QRect(602, 455, 20, 40), Qt::black));
    EXPECT_FALSE(anyIn(rising, QRect(560, 440, 38, 80), Qt::black));
    EXPECT_FALSE(anyIn(rising, QRect(590, 502, 60, 40), Qt::black));
}

TEST(ScenePainter, CharactersKeepTheLogicalCellSizeOnEveryScale) {
    const GuiSession session;
    plot::Scene scene;
    scene.add(plot::Text{{100, 500}, "0000000000", 0, {}, plot::kBlack, plot::kWhite});
    for (const int width : {600, 1200, 2400}) {
        const QImage image = renderSceneImage(scene, width, width * 1000 / 1200);
        const double scale = width / 1200.0;
        int rightmost = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y).value() < 128) rightmost = std::max(rightmost, x);
            }
        }
        // Ten digits of a face whose average character is 14 units: about 10 * 14 units, whatever the
        // resolution (a digit is a little narrower than the average of the stand-in face).
        const double logicalWidth = rightmost / scale - 100;
        EXPECT_GT(logicalWidth, 100) << width;
        EXPECT_LT(logicalWidth, 200) << width;
    }
}

}  // namespace
}  // namespace tolvex::render
