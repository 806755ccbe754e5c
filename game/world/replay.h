// Replays: a game recorded as the run-length encoded 7-bit button words of its frames, with a
// header that restores the conditions it was played under. Every finished game is written to
// "replay\lastreplay.qvrep"; the replay menu keeps copies in 100 numbered slots and plays them
// back frame-exact, with fast-forward.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ObjectController;

constexpr int kReplaySlots = 100;
constexpr int32_t kLastReplaySlot = -1;
constexpr size_t kReplayHeaderBytes = 36;
// The most of a replay file that is read: a day of play with a new button word every frame (one
// run of 8 bytes a frame). A longer file is damaged and plays as far as that.
constexpr size_t kReplayFileLimit = kReplayHeaderBytes + 4 + 8 * 60 * 60 * 60 * 24;

// The file header, fields in file order (little-endian i32 each, 36 bytes), then N (the run
// count) and N runs of {i32 button word, i32 frames - 1}.
struct ReplayHeader {
    int32_t finalScore = 0;  // the game's score, stored by the stage just before saving
    int32_t level = 0;       // ArrestLevel when the game began
    int32_t playerCount = 1;  // 1-4
    int32_t members[4] = {11, 11, 11, 11};  // character ids 0-63
    int32_t formation = 0;   // formation code for the player count
    int32_t gameMode = 0;    // 0-31, family x 16 + sub-mode
};

struct ReplayRun {
    int32_t word;            // the button word
    int32_t framesMinusOne;  // the word holds for this many frames plus one
};

// One line of the replay menu: the rectangles of the face being drawn and the slot's header.
struct ReplayEntry {
    float dest[4] = {};
    float src[4] = {};
    ReplayHeader header;
};

class Replay {
public:
    void Reset(ObjectController* game);  // mode 0, header defaults, no runs
    void BeginRecording();               // a live game starts: the header from the controller
    void Record(int32_t word);           // once per running, unpaused live frame
    // Writes "replay\lastreplay.qvrep" (making the folder when missing) and frees the runs. When
    // the file cannot be written it asks for a return to the title at the start of the next
    // frame, since it is called from inside the stage's Run, and says so: failures back to back
    // (every game over in a read-only folder) are said once, until a save succeeds.
    bool Save();
    bool BeginPlayback(int32_t slot);  // mode 1 and the slot's replay; always true
    bool Load(int32_t slot);           // the slot's header and runs; false (after a message) when missing
    int32_t NextInput();               // the next recorded word; -1 after the last
    // True once after a failed save: the frame sequence then returns to the title.
    bool TakeTitleRequest();

    int32_t mode = 0;   // 0 live or recording, 1 playback
    int32_t frame = 0;  // frames recorded or played since the start
    ReplayHeader header;
    std::vector<ReplayRun> runs;  // oldest first
    size_t cursor = 0;            // playback: the run being played
    int32_t currentWord = 0;      // recording: the word of the open run
    int32_t runCounter = 0;       // recording: frames of the open run - 1; playback: frames played of the run
    int32_t runCount = 0;
    uint8_t slotExists[kReplaySlots] = {};

private:
    ObjectController* game_ = nullptr;
    bool titleRequested_ = false;
    bool saveFailureShown_ = false;
};

// Runs n extra playback frames with the recorded buttons; the player sees only the scene.
void FastForward(ObjectController* game, int32_t frames);

// The replay file's bytes for a header and runs, and the reverse. Reading checks what it takes:
// header fields missing from a short file keep their values, a level outside 0-512 (no game starts
// there), a player count outside 1-4, a mode outside 0-31 and member ids outside 0-63 take the
// defaults, and the runs stop at the end of the data whatever N says.
std::vector<uint8_t> EncodeReplay(const ReplayHeader& header, const std::vector<ReplayRun>& runs);
void DecodeReplayHeader(const uint8_t* data, size_t size, ReplayHeader* header);
void DecodeReplay(const uint8_t* data, size_t size, ReplayHeader* header, std::vector<ReplayRun>* runs);
// True when a file of fileSize bytes that begins with data (at least its header and run count)
// is a replay as the game writes one: a level a game can start at (0-512), at least one run, and
// exactly the runs N says.
bool IsReplayFile(const uint8_t* data, size_t size, uint64_t fileSize);
// "replay\lastreplay.qvrep" for slot -1, "replay\qvreplay07.qvrep" for 7, "replay\qvreplay42.qvrep"
// for 42; empty for a slot outside -1 to 99.
std::string ReplayFileName(int32_t slot);
// The mode's label on a replay menu line, 16 characters; blanks for modes without one.
const wchar_t* ReplayModeLabel(int32_t mode);

// The slot list of the controller's replay and its menu lines.
namespace ReplayList {

void Scan();                  // which slot files exist
int32_t FindFreeSlot();       // the lowest slot without a file, -1 when all 100 are used
// Copies the last replay to the slot's file, never replacing one; the slot is marked only when
// the copy was made. False for a slot outside 0-99 or a failed copy.
bool SaveToSlot(int32_t slot);
// The slot's header; false when its file is missing or is not a replay (IsReplayFile): such a
// slot is listed as empty.
bool ReadHeader(int32_t slot, ReplayEntry* entry);
// Draws one menu line at (x, y): faces, score, level, party name or grade, mode.
void FormatEntry(ReplayEntry* entry, float x, float y, ObjectController* game);

}  // namespace ReplayList
