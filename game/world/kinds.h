// The object kinds the factory gives each class (its row in the type table): the kind chooses the
// object's list and tells the collision pass what a shot may hit and what a hit does.
#pragma once

#include <cstdint>

namespace kind {

// The lists of the controller, one per kind range; every other kind goes with the effects and scenes.
constexpr bool IsEnemyKind(int32_t k) { return k >= 400 && k <= 499; }
constexpr bool IsEnemyBulletKind(int32_t k) { return k >= 700 && k <= 799; }
constexpr bool IsShotKind(int32_t k) { return k >= 500 && k <= 599; }
constexpr bool IsPlayerKind(int32_t k) { return k >= 200 && k <= 299; }
constexpr bool IsItemKind(int32_t k) { return k >= 300 && k <= 399; }

// Scenes and effects, in the list of effects and scenes, which is kept in kind order.
constexpr int32_t kScene = 0;              // the stage script and the menus: the newest is the current scene
constexpr int32_t kWave = 10;              // an enemy wave; it and every kind above go when a stage ends
constexpr int32_t kEffect = 100;           // most effects; every kind from here on counts as an effect
constexpr int32_t kBlast = 101;            // the blasts of destroyed enemies, run after the other effects
constexpr int32_t kBombBlast = 102;        // the bomb's blasts, restarted by a new bomb
constexpr int32_t kStarAndRhythm = 103;    // the star field and the ghost stage's rhythm effects

constexpr int32_t kPartyController = 200;
constexpr int32_t kCharacter = 201;

// Items, each picked up by a character in its own way.
constexpr int32_t kPowerUpItem = 300;
constexpr int32_t kBonusItem = 301;       // carries its points in its score
constexpr int32_t kEnemyEraserItem = 302;
constexpr int32_t kReccaItem = 303;       // good while its angle is 0
constexpr int32_t kBellItem = 304;

// Enemies.
constexpr int32_t kGroundEnemy = 400;     // never touches a character; only some shots reach it
constexpr int32_t kStageBoss = 410;
constexpr int32_t kLargeEnemy = 430;
constexpr int32_t kMediumEnemy = 450;
constexpr int32_t kLightEnemy = 490;      // the last kind whose kill by a power-up shot leaves an item
constexpr int32_t kUncountedEnemy = 495;  // left out of the enemy count, as the invisible wall is
constexpr int32_t kInvisibleWall = 497;   // absorbs shots
constexpr int32_t kGhostSatellite = 498;  // hurt little by durable shots and not at all by touching
constexpr int32_t kBossPart = 499;        // boss parts and the missiles and bullets that can be shot down

// Player shots: what each may hit and what a hit does beyond the damage.
constexpr int32_t kShot = 500;                // enemies
constexpr int32_t kErasingShot = 501;         // enemies and enemy bullets
constexpr int32_t kAirShot = 502;             // every enemy but ground enemies
constexpr int32_t kGroundShot = 503;          // ground enemies only
constexpr int32_t kPowerUpShot = 504;         // a flying enemy it destroys leaves a power-up
constexpr int32_t kErasingAirShot = 505;      // enemy bullets and every enemy but ground enemies
constexpr int32_t kPushingShot = 506;         // pushes the enemy up, destroying it near the top
constexpr int32_t kSpentErasingShot = 507;    // erases enemy bullets and is spent by the first
constexpr int32_t kReportingShot = 508;       // tells its owner of each enemy it destroys
constexpr int32_t kItemShot = 509;            // every enemy it destroys leaves a power-up
constexpr int32_t kInertShot = 510;           // nothing: the trail of a laser, which passes its hits on
constexpr int32_t kReflectingShot = 511;      // every contact sends out a homing shot
constexpr int32_t kGhostSparingShot = 512;    // never damages ghost satellites
constexpr int32_t kWearingErasingShot = 513;  // erases enemy bullets, losing 1 for each

constexpr int32_t kEnemyBullet = 700;

}  // namespace kind
