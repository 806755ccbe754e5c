#include <gtest/gtest.h>

#include "framework/sound/cdda.h"
#include "framework/sound/cdda_internal.h"
#include "framework/core/lock.h"

namespace {

void OpenLooping(uint32_t device) {
    CDDAState& state = CDDAGetState();
    state = {};
    state.device = device;
    state.open = true;
    state.looping = true;
    state.tracks = static_cast<CDDATrack*>(Zeth::MemoryAlloc(sizeof(CDDATrack) * 3));
    state.firstTrack = 1;
    state.lastTrack = 2;
}

TEST(CDDA, NoticesAndTheFailedReplay) {
    OpenLooping(7);
    EXPECT_FALSE(CDDANotify(kMciNotifySuccessful, 8));
    EXPECT_TRUE(CDDAGetState().open);
    EXPECT_TRUE(CDDANotify(4, 7));  // another notice: no action
    EXPECT_TRUE(CDDAGetState().open);
    // The end of a looping range asks for a replay, which fails without a drive and closes.
    EXPECT_TRUE(CDDANotify(kMciNotifySuccessful, 7));
    EXPECT_FALSE(CDDAGetState().open);
    EXPECT_EQ(CDDAGetState().tracks, nullptr);
    CDDAClose();  // closing a closed device is harmless
}

TEST(CDDA, CloseStopsAndFrees) {
    OpenLooping(3);
    CDDAGetState().playing = true;
    EXPECT_TRUE(CDDANotify(kMciNotifySuccessful, 3));  // still playing: nothing to replay
    EXPECT_TRUE(CDDAGetState().open);
    CDDAClose();
    EXPECT_FALSE(CDDAGetState().playing);
    EXPECT_FALSE(CDDAGetState().open);
    EXPECT_EQ(CDDAGetState().tracks, nullptr);
}

}  // namespace
