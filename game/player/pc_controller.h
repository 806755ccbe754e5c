// The party's controller: the object that stands for the player. It reads the live input and
// moves like a character, carries the party of one to four characters in a formation of rows,
// keeps the shared lives, respawns lost members, grants extends and runs the turns of the ghost
// modes. Made once at start-up (code 98) and kept outside the object lists.
#pragma once

#include <cstdint>

#include "game/player/pc.h"

class PCController : public PC {
public:
    static constexpr int kSeats = 8;  // the first four are used

    PCController(float x, float y);

    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override;
    void Detach() override;
    void ForgetObject(Object* gone) override;
    void SetAge(int32_t value) override;
    void SetHp(float value) override { lives = static_cast<int32_t>(value); }
    float GetHp() override { return static_cast<float>(lives); }
    void OnMessage(const Message& message) override;

    // Seat offsets for a formation code; a code not in the table keeps the offsets.
    void SetFormation(int32_t code);
    void SpawnCharacter(int32_t seat, ObjectController* ctx);
    int32_t ActiveSeat(const ObjectController* ctx) const;  // the ghost modes' live seat

    PC* members[kSeats] = {};
    int32_t formation = -1;
    float offsetX[kSeats] = {};
    float offsetY[kSeats] = {};
    int32_t respawnTimer[kSeats] = {};
    int32_t memberIds[kSeats] = {11, 12, 13, 14, 0, 0, 0, 0};
    int32_t lives = 3;
    int32_t speedChange = 1;
    int32_t ghostTurn = 0;
    int32_t ghostTimer = 0;
    int32_t speedShown = 0;
    // Game over has been told to the scene; the party tells it once a game.
    bool gameOverSent = false;

private:
    void SeatParty(const Message& message);
    void Extend(ObjectController* ctx);
    void BeginGhostGame(ObjectController* ctx);
    void LoseLife(ObjectController* ctx);
    void EndGhostTurn(ObjectController* ctx);
    void TellGameOver(ObjectController* ctx);
    bool AnySeatHeld(int32_t count) const;
};

// A formation's seat offsets, for codes of the table.
struct Formation {
    int32_t code;
    float seats[4][2];
};
const Formation* FindFormation(int32_t code);
