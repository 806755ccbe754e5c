#include "game/world/bgm.h"

#include <cmath>

#include "framework/app/log.h"
#include "framework/files/file_system.h"
#include "framework/core/random.h"
#include "framework/sound/sound.h"
#include "framework/sound/vox.h"

namespace {

constexpr int32_t kStageStream = 0, kSelectStream = 1, kTitleStream = 2, kTune = 3;  // Play's choices
constexpr int32_t kTitleLoopFrame = 35280;
constexpr double kTuneMsPerFrame = 998.3357742643014 / 60.0;
constexpr int32_t kGhostIntroFrames = 640;
constexpr int32_t kGhostLoopFrames = 7520;
constexpr int32_t kGhostCheckFrames = 80;
constexpr int32_t kVoiceCheckFrames = 160;
constexpr double kGhostToleranceMs = 50.0;

int32_t CreateStream(const char* name) { return ZethSound::CreateFromFile(name, 0, true, false, 1); }

const char* StageTrackFile(int32_t track) {
    switch (track) {
        case 2: case 4: case 6: case 8: return "naiyori.ogg";
        case 3: return "milkpurun.ogg";
        default: return "aiko_t2.ogg";
    }
}

// Where a stage track's loop starts, in sample frames; -1 for tracks that are not started.
int32_t StageLoopFrame(int32_t track) {
    switch (track) {
        case 1: return 0;
        case 2: case 4: case 6: case 8: return 586300;
        case 3: return 1056713;
        default: return -1;
    }
}

}  // namespace

std::string TunePath(int32_t tune) {
    const char* name = tune == kGhostTune ? "ghost.ogg" : tune == kVoiceTune ? "aiko_t2_vo.ogg" : nullptr;
    return name == nullptr ? std::string() : std::string("fixbgm\\") + name;
}

double TuneTargetMs(int32_t tune, int32_t frames) {
    if (tune == kGhostTune) frames = (frames - kGhostIntroFrames) % kGhostLoopFrames + kGhostIntroFrames;
    return frames * kTuneMsPerFrame;
}

void Bgm::Load() {
    stageTrack = 0;
    tune = 0;
    ZethFile::SetCurrentPath("bgm");
    titleStream = CreateStream("naiyorititle.ogg");
    selectStream = CreateStream("punipunicharasele.ogg");
    stageStream = -1;
    // The tune player is built in, so it is always there.
    Unload();
    vox = CreateVox();
    volume = 100.0f;
}

void Bgm::Unload() {
    if (vox != nullptr) vox->Release();
    vox = nullptr;
}

bool Bgm::TunePlaying() { return vox != nullptr && vox->GetState() == 1; }

void Bgm::Play(int32_t which) {
    if (which != kTitleStream) ZethSound::Stop(titleStream, 0);
    if (which != kSelectStream) ZethSound::Stop(selectStream, 0);
    if (which != kStageStream) ZethSound::Stop(stageStream, 0);
    if (TunePlaying()) vox->Pause();
    for (int32_t stream : {titleStream, selectStream, stageStream}) ZethSound::SetVolume(stream, volume, 0);
    switch (which) {
        case kTitleStream:
            if (!ZethSound::IsPlaying(titleStream, 0)) ZethSound::Loop(titleStream, -1, kTitleLoopFrame, 0);
            break;
        case kSelectStream:
            if (!ZethSound::IsPlaying(selectStream, 0)) ZethSound::Loop(selectStream, -1, 0, 0);
            break;
        case kStageStream: {
            int32_t loopFrame = StageLoopFrame(stageTrack);
            if (stageStream != -1 && loopFrame >= 0 && !ZethSound::IsPlaying(stageStream, 0)) {
                ZethSound::Loop(stageStream, -1, loopFrame, 0);
            }
            break;
        }
        case kTune:
            if (vox != nullptr) vox->SetVolume(volume / 100.0f);
            if (tune == kGhostTune || tune == kVoiceTune) {
                if (vox != nullptr) vox->Play();
                tuneFrames = 0;
            }
            break;
        default: break;
    }
}

void Bgm::PlayStage(int32_t track) {
    if (track == 10 || track == 11) track = ZethRandom::Range(1, 3);
    if (track < kGhostTune) {
        if (track == stageTrack) return;
        stageTrack = track;
        ZethFile::SetCurrentPath("bgm");
        ZethSound::Release(stageStream);
        stageStream = CreateStream(StageTrackFile(track));
        ZethSound::SetVolume(stageStream, volume, 0);
        return;
    }
    if (vox != nullptr && tune != 0) vox->Stop();
    tune = track;
    std::string path = TunePath(track);
    if (vox != nullptr && !path.empty() && !vox->Open(path.c_str())) ReportUnplayableTune(path);
}

// A tune that cannot be played leaves the game silent; the log says why, once for each tune, as
// it does for any other file that is missing or damaged. A file that cannot be opened (none, a
// folder, a named pipe) is missing; one that opens but holds no Ogg Vorbis tune is damaged.
void Bgm::ReportUnplayableTune(const std::string& path) {
    bool& reported = unplayableTuneReported_[tune - kGhostTune];
    if (reported) return;
    reported = true;
    if (ZethFile::Load(path.c_str(), nullptr, nullptr)) {
        ZethLog::Report("曲ファイルが壊れているため、曲なしで続けます [ %s ]", path.c_str());
    } else {
        ZethLog::Report("曲ファイルがないため、曲なしで続けます [ %s ]", path.c_str());
    }
}

void Bgm::Stop() {
    for (int32_t stream : {titleStream, selectStream, stageStream}) ZethSound::Stop(stream, 0);
    if (TunePlaying()) vox->Pause();
}

void Bgm::SetPaused(bool ghostGame) {
    if (ZethSound::IsPlaying(stageStream, 0) && !ghostGame) {
        ZethSound::Pause(stageStream, 0);
    } else if (vox != nullptr && ghostGame) {
        if (vox->GetState() == 1) vox->Pause();
        else vox->Play();
    }
}

void Bgm::Update() {
    if (!TunePlaying()) return;
    if (tune == kVoiceTune && tuneFrames % kVoiceCheckFrames == 0) {
        vox->SetPosition(static_cast<float>(TuneTargetMs(tune, tuneFrames)));
    } else if (tune == kGhostTune && tuneFrames % kGhostCheckFrames == 0) {
        // The tune is put back only when it has drifted, so that a steady tune is not disturbed.
        double target = TuneTargetMs(tune, tuneFrames);
        if (std::fabs(vox->GetPosition() - target) > kGhostToleranceMs) vox->SetPosition(static_cast<float>(target));
    }
    tuneFrames += 1;
}

void Bgm::SetVolume(float value) {
    for (int32_t stream : {titleStream, selectStream, stageStream}) ZethSound::SetVolume(stream, value, 0);
    volume = value;
    if (vox != nullptr) vox->SetVolume(value / 100.0f);
}
