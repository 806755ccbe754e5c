#include "tools/datagen/data_set.h"

#include <future>
#include <vector>

#include "tools/datagen/bytes.h"
#include "tools/datagen/contact_sheet.h"
#include "tools/datagen/music.h"
#include "tools/datagen/sheets.h"
#include "tools/datagen/sound_effects.h"
#include "tools/datagen/tables.h"

namespace datagen {
namespace {

void MakeTextures(const DataSetPaths& paths, std::ostream& progress) {
    const ArtSources art = LoadArtSources(paths.assets);
    const GlyphSource glyphs(paths.font);
    const auto sheets = DrawSheets(art, glyphs);
    for (const auto& [file, image] : sheets) {
        WriteFileBytes(paths.output / "data" / "texture" / file, EncodeBmp24(image));
    }
    // For reviewers only: outside "data", so the pack never carries it.
    WriteFileBytes(paths.output / kContactSheetFile, EncodePng(DrawContactSheet(sheets, glyphs)));
    progress << "datagen: texture: " << sheets.size() << " sheets from " << art.cells.size() << " cells ("
             << art.grids.size() << " hand-drawn), " << kContactSheetFile << "\n";
}

void MakeSounds(const DataSetPaths& paths, std::ostream& progress) {
    const std::vector<SoundEffect> effects = SoundEffects();
    for (const SoundEffect& effect : effects) {
        WriteFileBytes(paths.output / "data" / "sound" / effect.file, EncodeWav16(RenderSoundEffect(effect)));
    }
    progress << "datagen: sound: " << effects.size() << " effects\n";
}

void MakeMusic(const DataSetPaths& paths, std::ostream& progress) {
    // Each track is independent, so they are encoded side by side; the bytes do not depend on it.
    std::vector<std::future<std::vector<uint8_t>>> encodings;
    for (const MusicTrack& track : MusicTracks()) {
        encodings.push_back(std::async(std::launch::async, MakeMusicTrack, track, paths.assets));
    }
    for (size_t i = 0; i < encodings.size(); ++i) {
        WriteFileBytes(paths.output / MusicTracks()[i].path, encodings[i].get());
    }
    progress << "datagen: bgm and fixbgm: " << encodings.size() << " tracks\n";
}

void MakeTableFiles(const DataSetPaths& paths, std::ostream& progress) {
    const auto tables = MakeTables(paths.assets);
    for (const auto& [file, text] : tables) {
        WriteFileBytes(paths.output / "data" / "table" / file, std::vector<uint8_t>(text.begin(), text.end()));
    }
    progress << "datagen: table: " << tables.size() << " tables\n";
}

}  // namespace

void MakeDataSet(const DataSetPaths& paths, std::ostream& progress) {
    // Files an older data set had but this one lacks must not linger into the pack.
    for (const char* folder : {"data/texture", "data/sound", "data/bgm", "data/table", "fixbgm"}) {
        std::filesystem::remove_all(paths.output / folder);
    }
    MakeTextures(paths, progress);
    MakeSounds(paths, progress);
    MakeMusic(paths, progress);
    MakeTableFiles(paths, progress);
}

}  // namespace datagen
