// Reads the 30-digit reference values of the accurate well functions: CSV files under
// tests/data/reference/accurate/ with '#' comment lines, one header line naming the columns, then one
// row of numbers per case (the last column is the function's value).
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

namespace tolvex::test {

struct ReferenceTable {
    std::vector<std::string> columns;
    std::vector<std::vector<double>> rows;

    // The index of a named column; fails the test when there is none.
    [[nodiscard]] std::size_t column(const std::string& name) const {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i] == name) return i;
        }
        ADD_FAILURE() << "no column " << name;
        return 0;
    }
};

inline ReferenceTable readReferenceTable(const std::string& fileName) {
    ReferenceTable table;
    std::ifstream in(std::string(TOLVEX_TEST_DATA_DIR) + "/reference/accurate/" + fileName);
    if (!in) {
        ADD_FAILURE() << "cannot read " << fileName;
        return table;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::stringstream fields(line);
        for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
        if (table.columns.empty()) {
            table.columns = cells;
            continue;
        }
        std::vector<double> row;
        for (const std::string& cell : cells) row.push_back(std::strtod(cell.c_str(), nullptr));
        table.rows.push_back(std::move(row));
    }
    return table;
}

// A measured error as a test records it: three significant digits.
inline std::string scientific(double value) {
    std::ostringstream text;
    text << std::scientific << std::setprecision(2) << value;
    return text.str();
}

}  // namespace tolvex::test
