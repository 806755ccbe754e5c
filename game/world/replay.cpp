#include "game/world/replay.h"

#include "framework/app/log.h"
#include "framework/app/zeth.h"
#include "framework/files/file_write.h"
#include "game/world/object_controller.h"

namespace {

constexpr const char* kReplayFolder = "replay";
constexpr const char* kWriteFailedText = "リプレイをファイルに書き込めませんでした";
constexpr const char* kMissingText = "リプレイファイルがありません";

}  // namespace

void Replay::Reset(ObjectController* game) {
    runs.clear();
    cursor = 0;
    mode = 0;
    frame = 0;
    currentWord = 0;
    runCounter = 0;
    runCount = 0;
    header = ReplayHeader();
    game_ = game;
}

void Replay::BeginRecording() {
    Reset(game_);
    if (game_ == nullptr) return;
    header.level = game_->ArrestLevel;
    header.playerCount = game_->playerCount;
    for (int i = 0; i < 4; ++i) header.members[i] = game_->partyMembers[i];
    header.formation = game_->formations[(game_->playerCount - 1) & 3];
    header.gameMode = game_->gameMode;
    game_->input.Reset();
}

void Replay::Record(int32_t word) {
    frame += 1;
    if (frame == 1) {
        runCounter = -1;
        currentWord = word;
    }
    if (word != currentWord) {
        runs.push_back({currentWord, runCounter});
        runCount += 1;
        runCounter = 0;
        currentWord = word;
    } else {
        runCounter += 1;
    }
}

bool Replay::Save() {
    runs.push_back({currentWord, runCounter});
    runCount += 1;
    std::vector<uint8_t> bytes = EncodeReplay(header, runs);
    const std::string name = ReplayFileName(kLastReplaySlot);
    const bool folderMade = ZethUserFile::MakeFolder(kReplayFolder);
    ZethUserFile::WriteFailure failure{};
    bool written = folderMade && ZethUserFile::WriteReplacing(name.c_str(), bytes.data(), bytes.size(), &failure);
    if (!written) {
        if (!saveFailureShown_) {
            if (folderMade) ZethUserFile::ReportWriteFailure(name.c_str(), failure);
            else ZethLog::Report("フォルダを作れないため、リプレイを書き込めませんでした [ %s ]", kReplayFolder);
            Zeth::MessageBox(0, "test", "%s", kWriteFailedText);
        }
        titleRequested_ = true;
    }
    saveFailureShown_ = !written;
    mode = 0;
    runs.clear();
    cursor = 0;
    return written;
}

bool Replay::TakeTitleRequest() {
    bool requested = titleRequested_;
    titleRequested_ = false;
    return requested;
}

bool Replay::Load(int32_t slot) {
    runs.clear();
    cursor = 0;
    std::string name = ReplayFileName(slot);
    std::vector<uint8_t> bytes;
    if (name.empty() || !ZethUserFile::HoldsData(ZethUserFile::Read(name.c_str(), &bytes, kReplayFileLimit))) {
        Zeth::MessageBox(0, "test", "%s", kMissingText);
        return false;
    }
    DecodeReplay(bytes.data(), bytes.size(), &header, &runs);
    runCount = static_cast<int32_t>(runs.size());
    frame = 0;
    return true;
}

bool Replay::BeginPlayback(int32_t slot) {
    Reset(game_);
    mode = 1;
    if (game_ != nullptr) game_->input.Reset();
    Load(slot);
    if (game_ != nullptr) game_->gameMode = header.gameMode;
    return true;
}

int32_t Replay::NextInput() {
    frame += 1;
    if (cursor >= runs.size()) return -1;
    // The first run starts its counter at 0 and every later one at 1, so each run {w, r} gives
    // w for exactly r + 1 frames.
    if (runCounter > runs[cursor].framesMinusOne) {
        runCounter = 1;
        cursor += 1;
        if (cursor >= runs.size()) {
            runs.clear();
            cursor = 0;
            return -1;
        }
    } else {
        runCounter += 1;
    }
    return runs[cursor].word;
}

void FastForward(ObjectController* game, int32_t frames) {
    for (int32_t n = 0; n < frames; ++n) {
        game->PrepareFrame();
        game->input.Apply(game->replay.NextInput());
        game->RunAll();
        game->MoveAll();
        game->CollideAll();
        game->SweepObjects();
        game->bgm.Update();
        if (frames < 5) game->DrawOverlay();
        else game->DrawLayers();
        game->frame += 1;
    }
}
