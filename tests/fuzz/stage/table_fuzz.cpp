// Reads arbitrary bytes as a stage table (enemy table and map limits) and as a demo table: the
// reader must fill exactly the values asked for, and a shorter read must agree with a longer one
// on the values both read from the data.
#include <cstdlib>
#include <vector>

#include "game/stage/stage_tables.h"

namespace {

void ReadBoth(const uint8_t* data, size_t size, int limit, int count) {
    std::vector<uint8_t> whole(static_cast<size_t>(count) + 1, 0xA5);
    ReadTableValues(data, size, limit, whole.data(), count);
    if (whole[static_cast<size_t>(count)] != 0xA5) std::abort();  // nothing past the values asked for
    const int half = count / 2;
    std::vector<uint8_t> first(static_cast<size_t>(half) + 1, 0);
    ReadTableValues(data, size, limit, first.data(), half);
    // Values read from the data agree; the repeated tail may differ only where the data ran out.
    for (int i = 0; i + 1 < half; ++i) {
        if (first[static_cast<size_t>(i)] != whole[static_cast<size_t>(i)]) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadBoth(data, size, kEnemyTableFieldLimit, kEnemyTableValues);
    ReadBoth(data, size, kMapFieldLimit, kMapValues);
    ReadBoth(data, size, kMapFieldLimit, 256);  // a demo table
    return 0;
}
