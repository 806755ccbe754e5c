#include "tools/datagen/grid.h"

#include <array>
#include <optional>
#include <stdexcept>

#include "tools/datagen/text_lines.h"

namespace datagen {
namespace {

constexpr char kClear = '.';
constexpr char kComment = '#';
// Rows longer or more than this are no sprite of a 256-texel sheet.
constexpr size_t kLargestSide = 1024;

class GridReader {
public:
    GridReader(const SharedPalette& palette, const std::string& source) : palette_(palette), source_(source) {}

    Grid Read(std::string_view text) {
        const std::vector<std::string_view> lines = SplitLines(text);
        enum class Section { kNone, kLegend, kGrid } section = Section::kNone;
        for (size_t i = 0; i < lines.size(); ++i) {
            line_ = static_cast<int>(i) + 1;
            const std::string_view line = lines[i];
            if (line.empty() || line.front() == kComment) continue;
            if (line == "legend" && section == Section::kNone) {
                section = Section::kLegend;
            } else if (line == "grid" && section == Section::kLegend) {
                section = Section::kGrid;
            } else if (section == Section::kLegend) {
                ReadLegendEntry(line);
            } else if (section == Section::kGrid) {
                ReadRow(line);
            } else {
                Fail("expected \"legend\" before anything else");
            }
        }
        line_ = static_cast<int>(lines.size());
        if (section != Section::kGrid) Fail("expected a \"legend\" section and then a \"grid\" section");
        if (grid_.height == 0) Fail("the grid has no rows");
        return std::move(grid_);
    }

private:
    [[noreturn]] void Fail(const std::string& message) const {
        throw std::runtime_error(source_ + " line " + std::to_string(line_) + ": " + message);
    }

    static std::string Quote(char c) { return std::string("'") + c + "'"; }

    // "<character> <palette entry>"
    void ReadLegendEntry(std::string_view line) {
        const char symbol = line.front();
        const std::string_view entry = Trim(line.substr(1));
        if (line.size() < 2 || (line[1] != ' ' && line[1] != '\t') || entry.empty()) {
            Fail("a legend line is one character, a space and a palette entry");
        }
        if (symbol == kClear || symbol == kComment || symbol < 0x21 || symbol > 0x7E) {
            Fail("legend character " + Quote(symbol) + " is reserved or not printable");
        }
        if (legend_[Index(symbol)]) Fail("legend character " + Quote(symbol) + " is listed twice");
        const Rgb* colour = palette_.FindEntry(entry);
        if (colour == nullptr) Fail("no palette entry \"" + std::string(entry) + "\"");
        legend_[Index(symbol)] = *colour;
    }

    void ReadRow(std::string_view row) {
        if (row.size() > kLargestSide || grid_.height == static_cast<int>(kLargestSide)) Fail("the grid is too large");
        if (grid_.height == 0) grid_.width = static_cast<int>(row.size());
        if (static_cast<int>(row.size()) != grid_.width) {
            Fail("row is " + std::to_string(row.size()) + " characters wide, the first row " +
                 std::to_string(grid_.width));
        }
        for (size_t column = 0; column < row.size(); ++column) {
            const char symbol = row[column];
            if (symbol == kClear) {
                grid_.texels.push_back(kTransparent);
                continue;
            }
            const std::optional<Rgb>& colour = legend_[Index(symbol)];
            if (!colour) {
                Fail("character " + Quote(symbol) + " in column " + std::to_string(column + 1) +
                     " is not in the legend");
            }
            grid_.texels.push_back(*colour);
        }
        ++grid_.height;
    }

    static size_t Index(char c) { return static_cast<unsigned char>(c); }

    const SharedPalette& palette_;
    const std::string& source_;
    std::array<std::optional<Rgb>, 256> legend_{};
    Grid grid_;
    int line_ = 0;
};

}  // namespace

Grid ParseGrid(std::string_view text, const SharedPalette& palette, const std::string& source) {
    return GridReader(palette, source).Read(text);
}

void CheckGridFitsCell(const Grid& grid, const Cell& cell, const std::string& source) {
    if (grid.width == cell.TotalWidth() && grid.height == cell.TotalHeight()) return;
    throw std::runtime_error(source + ": the grid is " + std::to_string(grid.width) + " x " +
                             std::to_string(grid.height) + " texels, its cell (cell list line " +
                             std::to_string(cell.line) + ") " + std::to_string(cell.TotalWidth()) + " x " +
                             std::to_string(cell.TotalHeight()));
}

void PaintGrid(Image& sheet, int x, int y, const Grid& grid) {
    for (int row = 0; row < grid.height; ++row) {
        for (int column = 0; column < grid.width; ++column) sheet.Set(x + column, y + row, grid.At(column, row));
    }
}

}  // namespace datagen
