#include <gtest/gtest.h>

#include "framework/sound/media.h"
#include "framework/sound/music.h"
#include "framework/sound/sound.h"
#include "platform/audio/audio.h"

namespace {

// Music and media start, hold their tables and stop; media has no slot to release or event to
// handle. Music shares the sound service's output only while that runs.
TEST(Services, MusicAndMediaStartAndStopAroundSound) {
    ASSERT_TRUE(ZethMedia::Initialize());
    ASSERT_TRUE(ZethSound::Initialize());
    EXPECT_TRUE(ZethSound::GetDirectSound());
    ASSERT_TRUE(ZethMusic::Initialize());
    EXPECT_FALSE(MediaRelease(0));
    EXPECT_FALSE(MediaRelease(-1));
    EXPECT_FALSE(MediaRelease(64));
    MediaEvent();
    ZethMusic::MusicRelease(70);
    ZethMusic::Finalize();
    ZethSound::Finalize();
    EXPECT_FALSE(ZethSound::GetDirectSound());
    EXPECT_EQ(platform::audio::CurrentOutput(), platform::audio::Output::kNone);
    ZethMedia::Finalize();
}

}  // namespace
