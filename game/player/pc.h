// The base of every player character and of the party's controller: the eight input counters with
// the 8-way direction, the power level, the input mode (live, recorded, played back, parked), the
// per-character input recording of the ghost modes, and the death, respawn and power-up rules.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "game/world/object.h"
#include "game/world/sheet_cell.h"

// Input modes of a character: the side of everything it fires.
enum PCInputMode : int32_t {
    kInputLive = 0,
    kInputRecorded = 1,
    kInputPlayedBack = 2,
    kInputParked = 3,
    kInputRecordedAgain = 4,  // as 1
    kInputPlayedBackAgain = 5,  // as 2
};

// One timed event of a recording; frame is the character's age when it was recorded.
struct PCEvent {
    int32_t type;  // 0 taken out, 1 power item, 2 enemy wave entered
    int32_t frame;
    int32_t a, b, c;
};

// A run of one input word: count is the number of frames it was held minus one.
struct PCInputRun {
    int32_t word;
    int32_t count;
};

// A character's recording for the ghost modes, in memory only.
struct PCInputRecord {
    std::vector<PCInputRun> inputRuns;
    size_t inputRunPos = 0;  // next run to play back
    std::vector<PCEvent> events;
    size_t eventPos = 0;  // next event to play back
    int32_t recordWord = 255;  // word of the run being recorded or played
    int32_t recordRun = -1;    // frames counted in that run

    void Clear();   // empties both lists
    void Rewind();  // both read positions to the start
};

class PC : public Object {
public:
    void Init();  // the Object defaults with a 1 x 1 hit box, then the character fields

    void Draw(ObjectController* ctx) override { DrawShip(ctx); }
    // Still for the first four frames; then velocity and acceleration, clamped to the field.
    void Move(ObjectController* ctx) override;
    void OnKilled(ObjectController* ctx) override;
    void Damage(ObjectController* ctx, float amount) override;
    float GetPower() override { return static_cast<float>(powerLevel); }
    void OnMessage(const Message& message) override;  // character_message codes
    void PowerUp(ObjectController* ctx, int32_t count) override;
    int32_t GetSide() override { return inputMode; }

    virtual void DrawShip(ObjectController* ctx);
    virtual void ReadInput(ObjectController* ctx);
    virtual void ResetWeaponState() {}

    int32_t GetButtonMask() const;  // bits 0-3 up, down, left, right; 4-7 buttons 1-4
    void SetButtons(int32_t word);  // -1 releases everything

    void RecordInput(int32_t word);
    void RecordEvent(int32_t type, int32_t frame, float a, int32_t b, int32_t c);
    // Runs the events due and returns this frame's word, or -1 once the recording is exhausted.
    int32_t PlaybackInput(ObjectController* ctx);

    int32_t holdUp = 0, holdDown = 0, holdLeft = 0, holdRight = 0;
    int32_t idleFrames = 0;
    int32_t holdButton1 = 0, holdButton2 = 0, holdButton3 = 0, holdButton4 = 0;
    int32_t noFireFrames = 0;
    int32_t lean = 0;  // -1 only left held, 1 only right held
    int32_t powerLevel = 0;
    int32_t powerItems = 0;
    int32_t spriteRow = 0;  // the ship's row in the party icon grid (ShipRow)
    int32_t inputMode = kInputLive;
    PCInputRecord record;

protected:
    PC() = default;
    // The blast and the eight pieces a character leaves where it loses a life.
    void Burst(ObjectController* ctx);
    // The controller's hold counters copied into the character's.
    void CopyLiveInput(ObjectController* ctx);
    // The steps of every PowerUp that gains items and levels; cap is the highest level.
    void GainPowerItem(ObjectController* ctx, int32_t cap);
    // The counter of bit k of the button mask.
    int32_t& Counter(int k);
};

// A ship's four frames (straight, leaning right and the two blink frames) lie on "pc.bmp" in the
// party icon grid: sprite row r at (64 x (r / 16), 16 x (r % 16)), 16 rows a column.
constexpr int32_t ShipRow(const SheetCell& ship) { return 16 * (ship.x / 64) + ship.y / 16; }
constexpr bool OnShipGrid(const SheetCell& ship) {
    return ship.sheet == CellSheet::pc && ship.x % 64 == 0 && ship.y % 16 == 0 && ship.width == 16 &&
           ship.height == 16 && ship.across == 4 && ship.down == 1;
}

// The input direction as a binary angle (the angle field holds degrees).
int32_t DegreesToBinaryAngle(int32_t degrees);

class CSprite2D;
// One rectangle of a sheet at depth 32767 with one texture stage; a negative source size mirrors.
void DrawSpriteCell(CSprite2D* batch, float x, float y, float w, float h, float u, float v, float uw, float vh,
                    uint32_t colour);
