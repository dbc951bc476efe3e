// Small queries over a scene for the plot tests: the texts, lines and polylines it holds.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/plot/Scene.h"

namespace tolvex::plot::testing {

template <class T>
std::vector<T> primitivesOf(const Scene& scene) {
    std::vector<T> found;
    for (const Primitive& p : scene.primitives) {
        if (const T* t = std::get_if<T>(&p)) found.push_back(*t);
    }
    return found;
}

inline std::vector<std::string> textsOf(const Scene& scene) {
    std::vector<std::string> texts;
    for (const Text& t : primitivesOf<Text>(scene)) texts.push_back(t.text);
    return texts;
}

inline std::optional<Text> findText(const Scene& scene, const std::string& text) {
    for (const Text& t : primitivesOf<Text>(scene)) {
        if (t.text == text) return t;
    }
    return std::nullopt;
}

inline std::vector<Polyline> polylinesIn(const Scene& scene, Rgb pen) {
    std::vector<Polyline> found;
    for (const Polyline& p : primitivesOf<Polyline>(scene)) {
        if (p.pen == pen) found.push_back(p);
    }
    return found;
}

inline bool hasText(const Scene& scene, const std::string& text) {
    return findText(scene, text).has_value();
}

}  // namespace tolvex::plot::testing
