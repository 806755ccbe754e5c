// The game's seven music tracks: where each goes, its score, and how long it must last.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace datagen {

struct MusicTrack {
    const char* path;       // relative to the output folder
    const char* score;      // file in assets/music
    double minimumSeconds;  // the track must last longer: its loop point, or what the game plays of it
};

// Every track, in the order they are made.
std::span<const MusicTrack> MusicTracks();

// Renders and encodes one track from its score; throws when the score is bad or too short.
std::vector<uint8_t> MakeMusicTrack(const MusicTrack& track, const std::filesystem::path& assets);

}  // namespace datagen
