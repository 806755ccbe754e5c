#include "tools/datagen/cells.h"

#include <charconv>
#include <stdexcept>

#include "tools/datagen/looks.h"
#include "tools/datagen/terrain.h"
#include "tools/datagen/sheets.h"
#include "tools/datagen/text_lines.h"

namespace datagen {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

[[noreturn]] void Fail(int line, const std::string& message) {
    throw std::runtime_error("cell list line " + std::to_string(line) + ": " + message);
}

int ParseNumber(std::string_view field, int line, const char* what) {
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    // Sheets are at most a few hundred texels wide; the bound keeps products of fields in range.
    if (error != std::errc() || end != field.data() + field.size() || value < 0 || value > 4096) {
        Fail(line, std::string("bad ") + what + " \"" + std::string(field) + "\"");
    }
    return value;
}

// "N" is N frames to the right; "NxM" is N across and M down.
void ParseFrames(std::string_view field, Cell& cell) {
    const size_t x = field.find('x');
    cell.across = ParseNumber(field.substr(0, x), cell.line, "frame count");
    cell.down = x == std::string_view::npos ? 1 : ParseNumber(field.substr(x + 1), cell.line, "frame rows");
    if (cell.across == 0 || cell.down == 0) Fail(cell.line, "a cell needs at least one frame");
}

// Cell names become file names (a grid's) and names in the game's code, so they are kept to
// plain characters and start with a letter.
bool IsCellName(std::string_view name) {
    if (name.empty() || name.size() > 64 || !(name.front() >= 'a' && name.front() <= 'z')) return false;
    for (char c : name) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_')) return false;
    }
    return true;
}

void CheckCell(const Cell& cell, const SharedPalette& palette) {
    const SheetInfo* sheet = FindSheet(cell.sheet);
    if (sheet == nullptr) Fail(cell.line, "unknown sheet \"" + cell.sheet + "\"");
    if (sheet->source != SheetSource::kCellList) {
        Fail(cell.line, "sheet \"" + cell.sheet + "\" is not drawn from the cell list");
    }
    if (cell.width == 0 || cell.height == 0) Fail(cell.line, "empty rectangle");
    if (cell.x + cell.TotalWidth() > sheet->size || cell.y + cell.TotalHeight() > sheet->size) {
        Fail(cell.line, "cell runs past the sheet's edge");
    }
    if ((cell.look == "label") != !cell.text.empty()) {
        Fail(cell.line, "a label look needs a text and other looks take none");
    }
    if (!IsCellName(cell.name)) {
        Fail(cell.line, std::string(cell.look == kGridLook ? "bad grid name" : "bad or missing cell name") + " \"" +
                            cell.name + "\" (a letter a-z, then letters, digits, '_')");
    }
    if (cell.look == kGridLook) return;
    if (cell.look == kTerrainLook) {
        if (!IsTerrainKind(cell.palette)) Fail(cell.line, "unknown terrain \"" + cell.palette + "\"");
        return;
    }
    if (!IsKnownLook(cell.look)) Fail(cell.line, "unknown look \"" + cell.look + "\"");
    if (!LookPalette(palette, cell.palette)) Fail(cell.line, "unknown palette \"" + cell.palette + "\"");
}

}  // namespace

std::vector<Cell> ParseCellList(std::string_view text, const SharedPalette& palette) {
    std::vector<Cell> cells;
    int lineNumber = 0;
    for (const std::string_view line : SplitLines(text)) {
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() < 8) Fail(lineNumber, "expected at least 8 fields");
        Cell cell;
        cell.line = lineNumber;
        cell.sheet = fields[0];
        cell.x = ParseNumber(fields[1], lineNumber, "x");
        cell.y = ParseNumber(fields[2], lineNumber, "y");
        cell.width = ParseNumber(fields[3], lineNumber, "width");
        cell.height = ParseNumber(fields[4], lineNumber, "height");
        ParseFrames(fields[5], cell);
        cell.look = fields[6];
        (cell.look == kGridLook ? cell.grid : cell.palette) = fields[7];
        // A grid cell is named by its grid; a label's text comes before the name.
        const size_t textFields = cell.look == "label" ? 1 : 0;
        const size_t nameFields = cell.look == kGridLook ? 0 : 1;
        const size_t expected = 8 + textFields + nameFields;
        if (fields.size() != expected) {
            Fail(lineNumber, "expected " + std::to_string(expected) + " fields for the look \"" + cell.look + "\"");
        }
        if (textFields) cell.text = fields[8];
        cell.name = cell.look == kGridLook ? cell.grid : std::string(fields.back());
        CheckCell(cell, palette);
        for (const Cell& earlier : cells) {
            if (earlier.name == cell.name) {
                Fail(lineNumber, "the name \"" + cell.name + "\" is taken by line " + std::to_string(earlier.line));
            }
        }
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::vector<std::pair<size_t, size_t>> FindOverlappingCells(const std::vector<Cell>& cells) {
    std::vector<std::pair<size_t, size_t>> overlaps;
    for (size_t a = 0; a < cells.size(); ++a) {
        for (size_t b = a + 1; b < cells.size(); ++b) {
            const Cell& p = cells[a];
            const Cell& q = cells[b];
            if (p.sheet != q.sheet) continue;
            const bool apart = p.x + p.TotalWidth() <= q.x || q.x + q.TotalWidth() <= p.x ||
                               p.y + p.TotalHeight() <= q.y || q.y + q.TotalHeight() <= p.y;
            if (!apart) overlaps.emplace_back(a, b);
        }
    }
    return overlaps;
}

}  // namespace datagen
