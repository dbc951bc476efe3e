// Reference tables of the tests: comma-separated text with a header line naming the columns; empty lines
// and lines starting with '#' (the generator's notes) are skipped.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace tolvex::test {

using CsvRow = std::map<std::string, std::string>;

// The rows of the table at `path`, each cell under its column's name. A missing or empty table fails the
// calling test: a table-driven test must never pass by reading nothing.
inline std::vector<CsvRow> readCsvTable(const std::string& path) {
    std::ifstream in(path);
    std::vector<CsvRow> rows;
    std::vector<std::string> header;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        if (header.empty()) {
            header = cells;
            continue;
        }
        CsvRow row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i) row[header[i]] = cells[i];
        rows.push_back(row);
    }
    if (rows.empty()) ADD_FAILURE() << "no rows in the reference table " << path;
    return rows;
}

}  // namespace tolvex::test
