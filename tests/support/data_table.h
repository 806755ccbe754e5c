// Reads a table of expected values kept as test data: comma-separated rows, the first line that is
// not a comment naming the columns, lines starting with '#' and empty lines skipped. Cells are
// read by column name; a missing column or a cell that is not a number fails the test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

class DataRow {
public:
    DataRow(std::shared_ptr<const std::vector<std::string>> columns, std::vector<std::string> cells)
        : columns_(std::move(columns)), cells_(std::move(cells)) {}

    const std::string& Text(const std::string& column) const {
        static const std::string kNone;
        for (size_t i = 0; i < columns_->size(); ++i) {
            if ((*columns_)[i] == column) {
                if (i < cells_.size()) return cells_[i];
                break;
            }
        }
        ADD_FAILURE() << "no cell '" << column << "' in the row of " << (cells_.empty() ? "?" : cells_[0]);
        return kNone;
    }
    float Float(const std::string& column) const {
        const std::string& cell = Text(column);
        char* end = nullptr;
        const float value = std::strtof(cell.c_str(), &end);
        if (cell.empty() || *end != '\0') ADD_FAILURE() << column << " is not a number: '" << cell << "'";
        return value;
    }
    int32_t Int(const std::string& column) const { return static_cast<int32_t>(Float(column)); }

private:
    std::shared_ptr<const std::vector<std::string>> columns_;
    std::vector<std::string> cells_;
};

inline std::vector<std::string> SplitCells(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    std::string cell;
    while (std::getline(in, cell, ',')) cells.push_back(cell);
    return cells;
}

// The rows of the table file at `path`; none when the file cannot be read.
inline std::vector<DataRow> ReadDataTable(const std::string& path) {
    std::ifstream in(path);
    std::shared_ptr<std::vector<std::string>> columns;
    std::vector<DataRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (columns == nullptr) {
            columns = std::make_shared<std::vector<std::string>>(SplitCells(line));
        } else {
            rows.emplace_back(columns, SplitCells(line));
        }
    }
    return rows;
}

}  // namespace testing_support
