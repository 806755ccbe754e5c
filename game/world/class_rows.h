// Per-class constant tables hold one row per type id in a field named `id`; these find a row and
// check at compile time the order of a table read by position.
#pragma once

#include <cstddef>
#include <cstdint>

// The row of `table` whose id is `id`, or null when the table has none.
template <typename Row, size_t N>
constexpr const Row* FindClassRow(const Row (&table)[N], int32_t id) {
    for (const Row& row : table) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

// The row whose id is `id`, or the table's first row for an id the table does not hold.
template <typename Row, size_t N>
const Row& ClassRowOrFirst(const Row (&table)[N], int32_t id) {
    const Row* row = FindClassRow(table, id);
    return row != nullptr ? *row : table[0];
}

// Whether row i of `table` holds id first + i, as a table read at `id - first` must.
template <typename Row, size_t N>
constexpr bool RowsRunFrom(const Row (&table)[N], int32_t first) {
    for (size_t i = 0; i < N; ++i) {
        if (table[i].id != first + static_cast<int32_t>(i)) return false;
    }
    return true;
}

// Whether the ids of `table` rise from row to row, as in a table searched by id, which then holds
// no id twice.
template <typename Row, size_t N>
constexpr bool RowsRise(const Row (&table)[N]) {
    for (size_t i = 1; i < N; ++i) {
        if (table[i].id <= table[i - 1].id) return false;
    }
    return true;
}
