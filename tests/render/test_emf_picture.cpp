// The metafile of a whole data plot, read back record by record with a reader of our own (the record
// layouts of the enhanced-metafile format, not libEMF) and compared with the layout that
// tests/reference/render_data_plot.py derives from the plot's drawing rules.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "RenderFixtures.h"
#include "render/EmfWriter.h"

namespace tolvex::render {
namespace {

using testing::CsvRow;
using testing::intField;
using testing::le16;
using testing::le32;
using testing::les32;

// Record types of the enhanced-metafile format.
enum EmfRecord : std::uint32_t {
    kHeader = 1,
    kPolyline = 4,
    kSetWindowExtEx = 9,
    kSetViewportExtEx = 11,
    kSetViewportOrgEx = 12,
    kEof = 14,
    kSetMapMode = 17,
    kSetBkMode = 18,
    kSetTextColor = 24,
    kSetBkColor = 25,
    kMoveToEx = 27,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kLineTo = 54,
    kExtCreateFontIndirectW = 82,
    kExtTextOutA = 83,
    kExtTextOutW = 84,
    kPolyline16 = 87,
};
constexpr std::uint32_t kStockObject = 0x80000000u;
constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;
constexpr std::uint32_t kBlackRef = 0x000000;
constexpr std::uint32_t kBlueRef = 0xFF0000;  // COLORREF: 0x00bbggrr
constexpr std::uint32_t kYellowRef = 0x00FFFF;
constexpr std::uint32_t kWhiteRef = 0xFFFFFF;

struct LogFont {
    int height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    int italic = 0, underline = 0, strikeOut = 0, charset = 0, pitchAndFamily = 0;
    std::string face;
};

struct DrawnText {
    std::string text;
    int x = 0, y = 0;
    LogFont font;
    std::uint32_t colour = kNoColour, background = kNoColour;
    int backgroundMode = 0;
};

struct Box {
    int left, top, right, bottom;
};

// What a metafile holds, as far as the plot uses it.
struct EmfContent {
    std::int32_t frame[4] = {};
    std::uint32_t signature = 0, bytes = 0, records = 0;
    std::string description;
    std::uint32_t device[2] = {}, millimetres[2] = {};
    std::uint32_t walked = 0;
    std::uint32_t lastType = 0;
    int mapMode = 0;
    std::int32_t window[2] = {}, viewport[2] = {}, viewportOrigin[2] = {};
    std::map<std::uint32_t, int> linesByPen, polylinesByPen;
    std::vector<std::vector<std::pair<int, int>>> bluePolylines;
    std::vector<Box> markers;  // ellipses outlined blue and filled yellow
    int otherEllipses = 0;
    std::vector<DrawnText> texts;
};

std::string wideString(const std::vector<std::uint8_t>& b, std::size_t at, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count && le16(b, at + 2 * i) != 0; ++i)
        text += static_cast<char>(le16(b, at + 2 * i));
    return text;
}

LogFont logFont(const std::vector<std::uint8_t>& b, std::size_t at) {
    return {les32(b, at),
            les32(b, at + 4),
            les32(b, at + 8),
            les32(b, at + 12),
            les32(b, at + 16),
            b[at + 20],
            b[at + 21],
            b[at + 22],
            b[at + 23],
            b[at + 27],
            wideString(b, at + 28, 32)};
}

// Walks the records, following which pen, brush and font are selected when something is drawn.
EmfContent readEmf(const std::vector<std::uint8_t>& b) {
    EmfContent c;
    for (int i = 0; i < 4; ++i) c.frame[i] = les32(b, 24 + 4 * i);
    c.signature = le32(b, 40);
    c.bytes = le32(b, 48);
    c.records = le32(b, 52);
    for (std::uint32_t i = 0; i < le32(b, 60); ++i)
        c.description += static_cast<char>(le16(b, le32(b, 64) + 2 * i));
    c.device[0] = le32(b, 72);
    c.device[1] = le32(b, 76);
    c.millimetres[0] = le32(b, 80);
    c.millimetres[1] = le32(b, 84);

    enum class Kind { Pen, Brush, Font };
    struct Object {
        Kind kind = Kind::Pen;
        std::uint32_t colour = kNoColour;
        LogFont font;
    };
    std::map<std::uint32_t, Object> objects;
    Object pen, brush, font;
    std::uint32_t textColour = kNoColour, background = kNoColour;
    int backgroundMode = 0;
    for (std::size_t at = 0; at + 8 <= b.size();) {
        const std::uint32_t type = le32(b, at);
        const std::uint32_t size = le32(b, at + 4);
        ++c.walked;
        c.lastType = type;
        switch (type) {
            case kSetMapMode:
                c.mapMode = les32(b, at + 8);
                break;
            case kSetWindowExtEx:
                c.window[0] = les32(b, at + 8), c.window[1] = les32(b, at + 12);
                break;
            case kSetViewportExtEx:
                c.viewport[0] = les32(b, at + 8), c.viewport[1] = les32(b, at + 12);
                break;
            case kSetViewportOrgEx:
                c.viewportOrigin[0] = les32(b, at + 8), c.viewportOrigin[1] = les32(b, at + 12);
                break;
            case kSetBkMode:
                backgroundMode = les32(b, at + 8);
                break;
            case kSetTextColor:
                textColour = le32(b, at + 8);
                break;
            case kSetBkColor:
                background = le32(b, at + 8);
                break;
            case kCreatePen:
                objects[le32(b, at + 8)] = {Kind::Pen, le32(b, at + 24), {}};
                break;
            case kCreateBrushIndirect:
                objects[le32(b, at + 8)] = {Kind::Brush, le32(b, at + 16), {}};
                break;
            case kExtCreateFontIndirectW:
                objects[le32(b, at + 8)] = {Kind::Font, kNoColour, logFont(b, at + 12)};
                break;
            case kDeleteObject:
                objects.erase(le32(b, at + 8));
                break;
            case kSelectObject: {
                const std::uint32_t handle = le32(b, at + 8);
                if (handle & kStockObject) {
                    // A stock object (what the device context held before): pens 6-8 and 19, fonts
                    // 10-17, brushes otherwise. It has none of the plot's colours or fonts.
                    const std::uint32_t stock = handle & ~kStockObject;
                    const bool isPen = (stock >= 6 && stock <= 8) || stock == 19;
                    const bool isFont = stock >= 10 && stock <= 17;
                    (isFont ? font : isPen ? pen : brush) = Object{};
                    break;
                }
                const auto found = objects.find(handle);
                if (found == objects.end()) break;
                const Kind kind = found->second.kind;
                (kind == Kind::Font ? font : kind == Kind::Brush ? brush : pen) = found->second;
                break;
            }
            case kLineTo:
                ++c.linesByPen[pen.colour];
                break;
            case kPolyline:
            case kPolyline16: {
                ++c.polylinesByPen[pen.colour];
                if (pen.colour != kBlueRef) break;
                std::vector<std::pair<int, int>> points;
                const std::uint32_t count = le32(b, at + 24);
                for (std::uint32_t i = 0; i < count; ++i) {
                    if (type == kPolyline) {
                        points.emplace_back(les32(b, at + 28 + 8 * i), les32(b, at + 32 + 8 * i));
                    } else {
                        points.emplace_back(static_cast<std::int16_t>(le16(b, at + 28 + 4 * i)),
                                            static_cast<std::int16_t>(le16(b, at + 30 + 4 * i)));
                    }
                }
                c.bluePolylines.push_back(points);
                break;
            }
            case kEllipse:
                if (pen.colour == kBlueRef && brush.colour == kYellowRef) {
                    c.markers.push_back(
                        {les32(b, at + 8), les32(b, at + 12), les32(b, at + 16), les32(b, at + 20)});
                } else {
                    ++c.otherEllipses;
                }
                break;
            case kExtTextOutA:
            case kExtTextOutW: {
                DrawnText t;
                t.x = les32(b, at + 36);
                t.y = les32(b, at + 40);
                const std::uint32_t chars = le32(b, at + 44);
                const std::size_t text = at + le32(b, at + 48);
                for (std::uint32_t i = 0; i < chars; ++i) {
                    t.text += static_cast<char>(type == kExtTextOutA ? b[text + i] : le16(b, text + 2 * i));
                }
                t.font = font.font;
                t.colour = textColour;
                t.background = background;
                t.backgroundMode = backgroundMode;
                c.texts.push_back(t);
                break;
            }
            default:
                break;
        }
        if (size < 8) break;
        at += size;
    }
    return c;
}

class EmfDataPlot : public ::testing::TestWithParam<const char*> {
protected:
    [[nodiscard]] std::string scene() const { return GetParam(); }
    [[nodiscard]] EmfContent picture() const {
        const auto bytes = emfBytes(testing::dataPlotScene(scene()), 1200, 1000, EmfUse::File);
        EXPECT_TRUE(bytes);
        return bytes ? readEmf(*bytes) : EmfContent{};
    }
    [[nodiscard]] std::vector<CsvRow> rows(const std::string& file) const {
        auto found = testing::rowsOfScene(testing::readCsv("render/" + file), scene());
        EXPECT_FALSE(found.empty()) << file;
        return found;
    }
};

TEST_P(EmfDataPlot, HeaderDescribesTheFileAndTheMappingIsIsotropic1200By1000) {
    const auto bytes = emfBytes(testing::dataPlotScene(scene()), 1200, 1000, EmfUse::File);
    ASSERT_TRUE(bytes);
    const EmfContent c = readEmf(*bytes);
    EXPECT_EQ(c.signature, 0x464D4520u);  // " EMF"
    EXPECT_EQ(c.bytes, bytes->size());
    EXPECT_EQ(c.records, c.walked);
    EXPECT_EQ(c.lastType, kEof);
    // The frame in hundredths of a millimetre: x * 320 mm * 100 / 1024 px, y * 240 mm * 100 / 768 px.
    EXPECT_EQ(std::vector<std::int32_t>(c.frame, c.frame + 4),
              (std::vector<std::int32_t>{0, 0, 37500, 31250}));
    EXPECT_EQ(c.description, std::string("Tolvex\0save\0\0", 13));
    EXPECT_EQ(c.device[0], 1024u);
    EXPECT_EQ(c.device[1], 768u);
    EXPECT_EQ(c.millimetres[0], 320u);
    EXPECT_EQ(c.millimetres[1], 240u);
    EXPECT_EQ(c.mapMode, 7);  // MM_ISOTROPIC
    EXPECT_EQ(c.window[0], 1200);
    EXPECT_EQ(c.window[1], 1000);
    EXPECT_EQ(c.viewport[0], 1200);
    EXPECT_EQ(c.viewport[1], -1000);  // y grows upwards
    EXPECT_EQ(c.viewportOrigin[0], 0);
    EXPECT_EQ(c.viewportOrigin[1], 1000);
}

TEST_P(EmfDataPlot, EveryTextHasItsStringPlaceAndFont) {
    EmfContent c = picture();
    const auto expected = rows("data_plot_texts.csv");
    ASSERT_EQ(c.texts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DrawnText& t = c.texts[i];
        const CsvRow& row = expected[i];
        const std::string where = scene() + " text " + std::to_string(i) + " [" + row.at("text") + "]";
        EXPECT_EQ(t.text, row.at("text")) << where;
        EXPECT_EQ(t.x, intField(row, "x")) << where;
        EXPECT_EQ(t.y, intField(row, "y")) << where;
        EXPECT_EQ(t.font.escapement, intField(row, "escapement")) << where;
        EXPECT_EQ(t.font.orientation, intField(row, "escapement")) << where;
        EXPECT_EQ(t.font.height, 23) << where;
        EXPECT_EQ(t.font.width, 14) << where;
        EXPECT_EQ(t.font.weight, 700) << where;
        EXPECT_EQ(t.font.italic + t.font.underline + t.font.strikeOut, 0) << where;
        EXPECT_EQ(t.font.charset, 1) << where;
        EXPECT_EQ(t.font.pitchAndFamily, 0x31) << where;
        EXPECT_EQ(t.font.face, "Times New Roman") << where;
        EXPECT_EQ(t.colour, kBlackRef) << where;
        EXPECT_EQ(t.background, kWhiteRef) << where;
        EXPECT_EQ(t.backgroundMode, 2) << where;  // OPAQUE: a white box under every text
    }
}

TEST_P(EmfDataPlot, LinesAndMarkersComeWithTheirPens) {
    EmfContent c = picture();
    const CsvRow counts = rows("data_plot_counts.csv").front();
    EXPECT_EQ(c.linesByPen[kBlackRef], intField(counts, "black_lines"));
    EXPECT_EQ(c.linesByPen[kBlueRef], intField(counts, "blue_lines"));
    EXPECT_EQ(c.linesByPen.size(), 2u);
    EXPECT_EQ(c.polylinesByPen[kBlackRef], intField(counts, "black_polylines"));
    EXPECT_EQ(c.polylinesByPen[kBlueRef], intField(counts, "blue_polylines"));
    EXPECT_EQ(c.polylinesByPen.size(), 2u);
    EXPECT_EQ(c.otherEllipses, 0);

    // Markers: circles of radius W/70 = 11 around the mapped points; the calculated line through its
    // mapped points. GDI boxes are left, top, right, bottom, and top is the larger y here.
    std::vector<CsvRow> measured, calculated;
    for (const CsvRow& row : rows("data_plot_points.csv"))
        (row.at("series") == "measured" ? measured : calculated).push_back(row);
    ASSERT_EQ(c.markers.size(), measured.size());
    ASSERT_EQ(static_cast<int>(c.markers.size()), intField(counts, "markers"));
    for (std::size_t i = 0; i < measured.size(); ++i) {
        const int x = intField(measured[i], "x");
        const int y = intField(measured[i], "y");
        const Box& m = c.markers[i];
        EXPECT_TRUE(m.left == x - 11 && m.top == y + 11 && m.right == x + 11 && m.bottom == y - 11)
            << scene() << " marker " << i << " expected around (" << x << ", " << y << "), box " << m.left
            << " " << m.top << " " << m.right << " " << m.bottom;
    }
    ASSERT_EQ(c.bluePolylines.size(), 1u);
    ASSERT_EQ(c.bluePolylines.front().size(), calculated.size());
    for (std::size_t i = 0; i < calculated.size(); ++i) {
        EXPECT_EQ(c.bluePolylines.front()[i],
                  std::make_pair(intField(calculated[i], "x"), intField(calculated[i], "y")))
            << scene() << " calculated point " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenes, EmfDataPlot, ::testing::Values("log-time", "linear-time"),
                         [](const auto& info) {
                             return std::string(info.param) == "log-time" ? "LogTime" : "LinearTime";
                         });

}  // namespace
}  // namespace tolvex::render
