// The user guide under Help: every picture it shows is among the program's resources and decodes, so
// that no step of the guide points at a missing image.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QString>

#include "core/state/AnalysisState.h"
#include "gui/MainWindow.h"
#include "gui/ScriptedGuiInteraction.h"

namespace tolvex::gui {
namespace {

TEST(UserGuide, EveryPictureItShowsIsAResourceThatDecodes) {
    AnalysisState state = makeDefaultState();
    MainWindow window(state, std::make_unique<testing::ScriptedGuiInteraction>());  // loads the resources
    QFile guide(QStringLiteral(":/tolvex/user-guide.md"));
    ASSERT_TRUE(guide.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(guide.readAll());
    const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)]+)\))"));
    int pictures = 0;
    for (auto match = image.globalMatch(text); match.hasNext();) {
        const QString path = match.next().captured(1);
        QImage picture;
        EXPECT_TRUE(picture.load(QStringLiteral(":/tolvex/") + path)) << path.toStdString();
        EXPECT_GT(picture.width(), 400) << path.toStdString();
        ++pictures;
    }
    EXPECT_GE(pictures, 7);
}

}  // namespace
}  // namespace tolvex::gui
