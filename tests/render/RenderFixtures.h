// Scenes and files for the render tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/plot/PlotScene.h"
#include "core/plot/Scene.h"
#include "core/state/AnalysisState.h"
#include "support/CsvTable.h"

namespace tolvex::render::testing {

// A scene with one thing of each kind, at places easy to find on a 1200 x 1000 image.
inline plot::Scene sampleScene() {
    plot::Scene scene;
    scene.add(plot::Line{{100, 100}, {1100, 100}, {255, 0, 0}});
    scene.add(plot::Polyline{{{100, 200}, {600, 200}, {600, 900}}, {0, 0, 255}});
    scene.add(plot::Ellipse{{800, 700}, {900, 800}, {0, 0, 255}, {255, 255, 0}});
    scene.add(plot::Text{{300, 500}, "1E-1", 0, {}, plot::kBlack, plot::kWhite});
    return scene;
}

// The data plot whose content tests/reference/render_data_plot.py writes out: the default pumping test
// after an estimation whose calculated drawdowns are the measured ones plus 0.25, with logarithmic time
// (scene "log-time") or both axes linear ("linear-time").
inline AnalysisState dataPlotState(const std::string& scene) {
    AnalysisState s = makeDefaultState();
    s.plotContent = 2;
    for (int i = 0; i < s.usedCount; ++i) s.calculated[i] = s.measured[i] + 0.25;
    s.xAxisLog = scene == "linear-time" ? 0 : 1;
    s.yAxisLog = 0;
    return s;
}

inline plot::Scene dataPlotScene(const std::string& scene) {
    AnalysisState s = dataPlotState(scene);
    return plot::buildPlotScene(s);
}

// Rows of a CSV file under tests/data: '#' lines are comments, the first other line names the columns.
// A field in square brackets is a text whose spaces count; the brackets are dropped.
using CsvRow = test::CsvRow;
inline std::vector<CsvRow> readCsv(const std::string& relative) {
    std::vector<CsvRow> rows = test::readCsvTable(std::string(TOLVEX_TEST_DATA_DIR) + "/" + relative);
    for (CsvRow& row : rows) {
        for (auto& [column, field] : row) {
            if (field.size() >= 2 && field.front() == '[' && field.back() == ']')
                field = field.substr(1, field.size() - 2);
        }
    }
    return rows;
}

inline std::vector<CsvRow> rowsOfScene(const std::vector<CsvRow>& rows, const std::string& scene) {
    std::vector<CsvRow> found;
    for (const CsvRow& row : rows) {
        if (row.at("scene") == scene) found.push_back(row);
    }
    return found;
}

inline int intField(const CsvRow& row, const std::string& column) {
    return std::stoi(row.at(column));
}

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
}

inline std::int32_t les32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::int32_t>(le32(b, at));
}

inline std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

// A fresh folder under the system's temporary folder, one per process, removed with the object.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("tolvex-render-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    [[nodiscard]] std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

}  // namespace tolvex::render::testing
