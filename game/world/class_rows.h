// Per-class constant tables hold one row per type id in a field named `id`; this finds a row.
#pragma once

#include <cstddef>
#include <cstdint>

// The row of `table` whose id is `id`, or null when the table has none.
template <typename Row, size_t N>
const Row* FindClassRow(const Row (&table)[N], int32_t id) {
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
