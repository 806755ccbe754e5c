// The party set-up: the number of players, the character in each seat (with a firing preview),
// the whole team at once, the formation, saved formations, and the start of the game.
#pragma once

#include <cstdint>

#include "game/scenes/menu.h"
#include "game/world/object.h"

constexpr int32_t kRandomPick = 63;  // the list's random entry

// The formation codes of a player count (1-4), in the order NextFormation steps through them.
int32_t FormationCount(int32_t players);
int32_t FormationCode(int32_t players, int32_t index);
// The next (step 1) or previous (-1) code of a player count; a code not of that count gives the first.
int32_t StepFormation(int32_t players, int32_t code, int32_t step);
bool IsFormationOf(int32_t players, int32_t code);

class SC_Menu_Coop : public Object {
public:
    enum Page : int32_t { kMainPage = 0, kSeatPage = 1, kTeamPage = 2, kDataPage = 3 };

    SC_Menu_Coop(float x, float y, float a, float b, float c, float d);
    void Draw(ObjectController* ctx) override;
    void Run(ObjectController* ctx) override { Update(ctx); }
    void Update(ObjectController* ctx);  // one frame of the scene

    // Whether a player count is allowed in the mode at an arrest count.
    static bool CountAllowed(int32_t count, bool ghost, int32_t arrestCount);

    int32_t cursorRow = 0;
    int32_t members[4] = {11, 12, 13, 14};
    int32_t formationValues[4] = {1, 11, 12, 121};
    menu::Buttons buttons;
    int32_t page = kMainPage;
    int32_t selection = 0;
    uint8_t available[64] = {};
    int32_t scrollOffset = 0;
    Object* preview = nullptr;
    int32_t decideCount = 0;
    int32_t chosen[4] = {-1, -1, -1, -1};
    int32_t chosenCount = 0;
    int32_t dataRow = 0;
    uint8_t saveMode = 0;

private:
    void Open(ObjectController* ctx);
    void UpdatePlayerCount(ObjectController* ctx);
    void UpdateCountRow(ObjectController* ctx);
    void UpdateCharacterSelect(ObjectController* ctx);
    void UpdateFormationData(ObjectController* ctx);
    void LoadFormation(ObjectController* ctx, int32_t slot);
    void NextFormation(ObjectController* ctx);
    void PrevFormation(ObjectController* ctx);
    void FinishTeam(ObjectController* ctx);
    void StartGame(ObjectController* ctx);
    void KillPreview();
    int32_t RandomPick(const int32_t* excluded, int32_t excludedCount) const;
    void TakePick(int32_t seat, int32_t pick);

    void DrawPlayerCount(ObjectController* ctx);
    void DrawCharacterSelect(ObjectController* ctx);
    void DrawFormationData(ObjectController* ctx);
    void DrawFormation(ObjectController* ctx, float x, float y);
};
