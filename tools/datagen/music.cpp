#include "tools/datagen/music.h"

#include <array>
#include <stdexcept>
#include <string>

#include "tools/datagen/bytes.h"
#include "tools/datagen/music_score.h"
#include "tools/datagen/ogg_vorbis.h"

namespace datagen {
namespace {

// One game frame of the ghost-mode tunes, in seconds: the game locks the tune's position to
// frame count x 998.3357742643014 / 60 milliseconds.
constexpr double kTuneFrame = 998.3357742643014 / 60.0 / 1000.0;

constexpr std::array<MusicTrack, 7> kTracks{{
    // Stream loop points are sample positions: the streams must run past them.
    {"data/bgm/naiyorititle.ogg", "naiyorititle.txt", 35280.0 / kSampleRate},
    {"data/bgm/punipunicharasele.ogg", "punipunicharasele.txt", 0.0},
    {"data/bgm/naiyori.ogg", "naiyori.txt", 586300.0 / kSampleRate},
    {"data/bgm/milkpurun.ogg", "milkpurun.txt", 1056713.0 / kSampleRate},
    {"data/bgm/aiko_t2.ogg", "aiko_t2.txt", 0.0},
    // The ghost tune loops its position back from frame 8160 to 640.
    {"fixbgm/ghost.ogg", "ghost.txt", 8160 * kTuneFrame},
    // The attract demo plays its tune for 18,100 frames.
    {"fixbgm/aiko_t2_vo.ogg", "aiko_t2_vo.txt", 18100 * kTuneFrame},
}};

// Fixed, so that the encoding repeats exactly.
constexpr int kOggSerial = 0x5A455448;
constexpr float kVorbisQuality = 0.2f;

}  // namespace

std::span<const MusicTrack> MusicTracks() {
    return kTracks;
}

std::vector<uint8_t> MakeMusicTrack(const MusicTrack& track, const std::filesystem::path& assets) {
    const std::filesystem::path source = assets / "music" / track.score;
    Score score;
    try {
        score = ParseScore(ReadTextFile(source));
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(source.string() + ": " + error.what());
    }
    const double seconds = static_cast<double>(ScoreSamples(score)) / kSampleRate;
    if (seconds <= track.minimumSeconds) {
        throw std::runtime_error(source.string() + ": lasts " + std::to_string(seconds) + " s, needs more than " +
                                 std::to_string(track.minimumSeconds) + " s");
    }
    return EncodeOggVorbis(RenderScore(score), kOggSerial, kVorbisQuality);
}

}  // namespace datagen
