// Scenes and files for the render tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "core/plot/Scene.h"

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

inline std::vector<std::uint8_t> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t{b[at]} | (std::uint32_t{b[at + 1]} << 8) | (std::uint32_t{b[at + 2]} << 16) |
           (std::uint32_t{b[at + 3]} << 24);
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
