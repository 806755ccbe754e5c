// The codes of the messages game objects send one another, named by what the receiver does with
// them, one namespace a receiver; `git grep` a name to find every sender.
#pragma once

#include <cstdint>

// The stage script, the scene of a running stage (`ObjectController::currentScene`).
namespace stage_message {
enum : int32_t {
    kWaveTimerTick = 0,        // count the wave countdown down by the value
    kWaveSizeAdd = 1,          // waves grow by the value
    kEnemyKilled = 2,          // at x, y: counts towards an item drop
    kHecatombBonus = 3,        // a whole wave destroyed, at x, y
    kExcessCapacityBonus = 4,  // a power item taken at full power
    kGameOver = 5,             // the party is out of lives
    kSubvertBonus = 6,         // at x, y
    kMortalWoundBonus = 7,     // at x, y: an eight-times bonus
    kChainAdvance = 8,         // after every bonus: the chain grows, the row timer and ghost timer advance
    kChainBroken = 9,          // a wave, an item or a bonus chance missed: the bonus value is cut
    kWaveSizeDown = 10,        // a player lost a life: waves shrink by one, never below one
    kStageSetUp = 11,          // set up the stage of the value
    kStageBossDone = 12,       // the stage's boss is gone: the stage clears
    kBossPartDestroyed = 13,   // one part of a boss that has several
    kWithoutDelayBonus = 14,   // a boss defeated quickly, worth the value
    kParadigmShiftBonus = 15,  // an eight-times bonus at the party
    kAnnihilateBonus = 16,     // a bomb item taken: every enemy bombed
    kWaveRowSet = 17,          // carried over between stages: the enemy table's row
    kNextLoop = 18,            // the whole game starts its next loop
    kEnemyQueueSpawn = 19,     // a played-back wave: x, kind, count
    kGhostBossDefeated = 21,   // at x, y
    kWaveSizeSet = 22,         // carried over between stages: the wave size
    kRowTimerSet = 23,         // carried over between stages: the row timer
    kGhostTimerStart = 24,     // the ghost stage's timer runs
    kPlagueBonus = 25,         // every item on the field turned into bonus points
    kEnthusiasm = 26,          // an enemy bullet erased by a shot at x, y; a bonus every so many
    kSubvertBonusOf = 27,      // at x, y, worth the third value
};
}  // namespace stage_message

// The party's controller (`ObjectController::pcController`).
namespace party_message {
enum : int32_t {
    kSeatOne = 1,          // codes 1-4: the party of that many, each character followed by its id
    kSeatFour = 4,
    kFormation = 5,        // the formation of the value
    kExtend = 7,           // one more life
    kSpeedChange = 8,      // the speed change of the value
    kGhostGameStart = 9,   // a ghost game begins
    kGhostTurnOver = 10,   // the recorded turn ended: the ghost timer waits for the next beat
    kRecordWave = 11,      // x, kind, size of a wave, recorded by the active character
    kGhostTimeUp = 12,     // the ghost stage's time ran out: the active character is hit
    kLifeLost = 13,        // a character was lost
    kInvincibleFor = 14,   // every character is invincible for the frames of the second value
};
}  // namespace party_message

// A character of the party.
namespace character_message {
enum : int32_t {
    kRespawn = 1,     // back at full health in the input mode of the value
    kRecordWave = 2,  // x, kind, size of a wave, kept in the recording
};
}  // namespace character_message

// Enemies.
namespace enemy_message {
enum : int32_t {
    kGhostLook = 0,  // drawn as a ghost (1) or not (0)
    kColour = 1,     // drawn in the colour of the value
};
}  // namespace enemy_message

// The owner of an object, told by the object it made.
namespace owner_message {
enum : int32_t {
    kShotDestroyedEnemy = 3,  // a reporting shot's hit destroyed an enemy at x, y
    kLifeLeft = 20,           // a ghost boss detaching: the life it had left
};
}  // namespace owner_message

// A trailing option, set up by the character it follows.
namespace option_message {
enum : int32_t {
    kWeaponsOn = 0,  // the option's weapons on (1) or off (0), one value each
    kFireHeld = 1,   // the frames the fire button has been held
};
}  // namespace option_message

// The result scene.
namespace result_message {
enum : int32_t {
    kWasPlayback = 1,  // the game just ended was a replay played back: no offer to keep it
};
}  // namespace result_message
