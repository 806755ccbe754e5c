// Reads arbitrary bytes as a score file; the record must come out with its ids and counters in
// range, and must write back to a file of the one right size.
#include <cstdlib>

#include "game/world/score_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static ScoreData* record = new ScoreData();
    record->Clear();
    record->FromFileBytes(data, size);
    if (record->arrestCount < 0 || record->arrestCount > kMaxArrestCount) std::abort();
    for (int32_t size2 = 2; size2 <= 4; ++size2) {
        for (int32_t slot = 0; slot < kFormationSlots; ++slot) {
            for (int32_t member = 1; member <= size2; ++member) {
                int32_t id = record->GetPartyMember(size2, slot, member);
                if (id < 0 || id > 63) std::abort();
            }
        }
    }
    if (record->ToFileBytes().size() != 78152) std::abort();
    record->Register(static_cast<int32_t>(size));
    return 0;
}
