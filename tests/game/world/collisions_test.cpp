#include <algorithm>
#include <functional>

#include "game/world/type_table.h"
#include "world_support.h"

using namespace world_test;

class Collisions : public WorldTest {
protected:
    Probe* Enemy(int32_t kind, float x = 100, float y = 100, float hp = 1000.0f) {
        Probe* e = Add(kind, "enemy", x, y);
        e->hitHalfWidth = e->hitHalfHeight = 8;
        e->hp = hp;
        return e;
    }
    Probe* Shot(int32_t kind, float power = 10.0f, bool durable = false, float x = 100, float y = 100) {
        Probe* s = Add(kind, "shot", x, y);
        s->hitHalfWidth = s->hitHalfHeight = 4;
        s->power = power;
        if (durable) s->maxHp = s->hp = 100.0f;
        return s;
    }
};

TEST_F(Collisions, ShotKindFilter) {
    struct Case {
        int32_t shotKind;
        bool hits400, hits450;
    } cases[] = {
        {500, true, true},  {501, true, true},  {502, false, true}, {503, true, false},
        {504, true, true},  {505, false, true}, {506, true, true},  {507, true, true},
        {508, true, true},  {509, true, true},  {510, false, false}, {511, true, true},
        {512, true, true},  {513, true, true},  {514, false, false},
    };
    Register({type_id::I_PowerUp, type_id::EF_Quinty_Blast, type_id::S_BH_Shot});
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        Probe* e400 = Enemy(400, 100, 100);
        Probe* e450 = Enemy(450, 150, 100);
        Probe* s = Shot(c.shotKind, 1.0f, true, 100, 100);
        Probe* s2 = Shot(c.shotKind, 1.0f, true, 150, 100);
        world.CollideAll();
        EXPECT_EQ(!e400->damage.empty(), c.hits400) << c.shotKind;
        EXPECT_EQ(!e450->damage.empty(), c.hits450) << c.shotKind;
        (void)s;
        (void)s2;
    }
}

TEST_F(Collisions, ShotWithoutHitBoxNeverHitsAnEnemy) {
    Probe* e = Enemy(450);
    Probe* s = Shot(500);
    s->hitHalfWidth = 0;
    world.CollideAll();
    EXPECT_TRUE(e->damage.empty());
    EXPECT_TRUE(s->damage.empty());
}

// Damage by game mode, party size, shot durability and enemy kind.
TEST_F(Collisions, GhostModeDamageMatrix) {
    struct Case {
        int32_t mode, players, enemyKind, shotKind;
        bool durable;
        float expected;  // -1 = no damage to the enemy
    } cases[] = {
        {0, 4, 450, 500, true, 10.0f},
        {16, 2, 450, 500, true, 10.0f * (0.56f * 2.0f + 0.44f)},
        {16, 2, 450, 500, false, 10.0f},
        {17, 4, 450, 500, false, 10.0f * (0.21f * 4.0f + 0.79f)},
        {17, 4, 450, 500, true, 10.0f * (0.21f * 4.0f + 0.79f)},
        {16, 4, 498, 500, true, 10.0f / 48.0f},
        {0, 1, 498, 500, true, 10.0f / 48.0f},
        {16, 4, 498, 512, true, -1.0f},
        {16, 4, 498, 500, false, 10.0f},
        {17, 4, 498, 500, true, 10.0f * (0.21f * 4.0f + 0.79f) / 48.0f},
    };
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        world.gameMode = c.mode;
        world.SetPlayerCount(c.players);
        Probe* e = Enemy(c.enemyKind);
        Probe* s = Shot(c.shotKind, 10.0f, c.durable);
        world.CollideAll();
        if (c.expected < 0) {
            EXPECT_TRUE(e->damage.empty()) << c.mode << " " << c.enemyKind;
        } else {
            ASSERT_EQ(e->damage.size(), 1u) << c.mode << " " << c.enemyKind;
            EXPECT_FLOAT_EQ(e->damage[0], c.expected) << c.mode << " " << c.enemyKind << " " << c.durable;
        }
        EXPECT_EQ(s->damage, std::vector<float>{1.0f});
    }
    // The figures of the ghost modes as players see them.
    world.gameMode = 17;
    world.SetPlayerCount(4);
    EXPECT_NEAR(10.0f * (0.21f * 4 + 0.79f), 16.3f, 1e-5);
}

TEST_F(Collisions, AKilledShotStillHitsLaterEnemiesButADeadEnemyIsNotHitAgain) {
    Probe* first = Enemy(450, 100, 100, 5.0f);
    Probe* second = Enemy(450, 104, 100, 1000.0f);
    Probe* shotA = Shot(500, 10.0f, false, 102, 100);
    Probe* shotB = Shot(500, 10.0f, false, 102, 100);
    world.CollideAll();
    EXPECT_EQ(first->state, kKilled);
    EXPECT_EQ(first->damage.size(), 1u);  // killed by shot A, so shot B passes it
    EXPECT_EQ(shotA->state, kKilled);
    EXPECT_EQ(second->damage.size(), 2u);  // shot A (killed) and shot B both hit it
    (void)shotB;
}

TEST_F(Collisions, EnemiesTouchPlayers) {
    Probe* player = Add(201, "pc", 100, 100);
    player->hitHalfWidth = player->hitHalfHeight = 2;
    Probe* common = Enemy(400);
    Probe* ghost = Enemy(498);
    Probe* air = Enemy(450);
    world.CollideAll();
    EXPECT_TRUE(common->damage.empty());
    EXPECT_TRUE(ghost->damage.empty());
    EXPECT_EQ(air->damage, std::vector<float>{1.0f});
    EXPECT_EQ(player->damage.size(), 2u);
}

// Enemy bullets hit only active characters (kind 201) that have a whole hit box; a hit costs
// both the character and the bullet one point.
TEST_F(Collisions, EnemyBulletsHitOnlyCharactersWithAHitBoxAndBothTakeDamage) {
    struct Case {
        const char* name;
        int32_t kind;
        int32_t halfWidth, halfHeight;
        int32_t inactive;
        float bulletX;
        bool bulletAlive;
        bool hit;
    } cases[] = {
        {"hit", 201, 2, 2, 0, 100, true, true},
        {"edges touching", 201, 2, 2, 0, 104, true, true},
        {"apart", 201, 2, 2, 0, 105, true, false},
        {"no width", 201, 0, 2, 0, 100, true, false},
        {"no height", 201, 2, 0, 0, 100, true, false},
        {"negative box", 201, -2, -2, 0, 100, true, false},
        {"not a character", 200, 2, 2, 0, 100, true, false},
        {"inactive", 201, 2, 2, 30, 100, true, false},
        {"bullet already killed", 201, 2, 2, 0, 100, false, false},
    };
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        Probe* character = Add(c.kind, "pc", 100, 100);
        character->hitHalfWidth = c.halfWidth;
        character->hitHalfHeight = c.halfHeight;
        character->inactive = c.inactive;
        Probe* bullet = Add(700, "bullet", c.bulletX, 100);
        bullet->hitHalfWidth = bullet->hitHalfHeight = 2;
        if (!c.bulletAlive) bullet->Kill();
        world.CollideAll();
        const std::vector<float> expected = c.hit ? std::vector<float>{1.0f} : std::vector<float>{};
        EXPECT_EQ(character->damage, expected) << c.name;
        EXPECT_EQ(bullet->damage, expected) << c.name;
    }
}

// After a hit, the next bullets meet the character where its damage left it.
TEST_F(Collisions, ABulletMeetsTheCharacterAsTheHitsBeforeItLeftIt) {
    struct Case {
        const char* name;
        std::function<void(Probe&)> onDamage;
        std::vector<size_t> hits;  // the bullets that hit, of four at x 100, 100, 110, 110
    } cases[] = {
        {"unmoved", nullptr, {0, 1}},
        {"stepping aside", [](Probe& p) { p.x += 10.0f; }, {0, 2}},
        {"losing its box", [](Probe& p) { p.hitHalfWidth = 0; }, {0}},
    };
    for (const Case& c : cases) {
        world.ClearAll();
        world.SweepObjects();
        Probe* character = Add(201, "pc", 100, 100);
        character->hitHalfWidth = character->hitHalfHeight = 2;
        character->onDamage = c.onDamage;
        std::vector<Probe*> bullets;
        for (const float x : {100.0f, 100.0f, 110.0f, 110.0f}) {
            bullets.push_back(Add(700, "bullet", x, 100));
            bullets.back()->hitHalfWidth = bullets.back()->hitHalfHeight = 2;
        }
        world.CollideAll();
        EXPECT_EQ(character->damage, std::vector<float>(c.hits.size(), 1.0f)) << c.name;
        for (size_t i = 0; i < bullets.size(); ++i) {
            const bool hit = std::find(c.hits.begin(), c.hits.end(), i) != c.hits.end();
            EXPECT_EQ(bullets[i]->damage, hit ? std::vector<float>{1.0f} : std::vector<float>{}) << c.name << " " << i;
        }
    }
}

TEST_F(Collisions, ErasingShotsSendTheEventOnlyBetweenLevels1And15) {
    Probe* scene = Add(0, "scene");
    world.currentScene = scene;
    for (int32_t level : {0, 1, 15, 16}) {
        scene->messages.clear();
        world.ArrestLevel = level;
        Probe* bullet = Add(700, "bullet", 50, 60);
        bullet->hitHalfWidth = bullet->hitHalfHeight = 2;
        Probe* shot = Shot(501, 1.0f, false, 50, 60);
        shot->hitHalfWidth = 0;  // extents are not tested against bullets
        world.CollideAll();
        EXPECT_EQ(bullet->damage, std::vector<float>{1.0f});
        bool sent = level > 0 && level < 16;
        ASSERT_EQ(scene->messages.size(), sent ? 1u : 0u) << level;
        if (sent) {
            EXPECT_EQ(scene->messages[0].Code(), 26);
            EXPECT_EQ(scene->messages[0].Int(1), 50);
            EXPECT_EQ(scene->messages[0].Int(2), 60);
        }
        world.VanishBullets();
        world.VanishShots();
        world.SweepObjects();
    }
}

TEST_F(Collisions, PlayedBackCharactersComeCloserForItems) {
    Probe* scene = Add(0, "scene");
    world.currentScene = scene;
    for (int32_t side : {0, 2}) {
        Probe* player = Add(201, "pc", 100, 100);
        player->hitHalfWidth = player->hitHalfHeight = 8;
        player->reportedSide = side;
        Probe* bonus = Add(301, "bonus", 100, 118);  // edges touch only with the full extents
        bonus->score = 500;
        bonus->hitHalfWidth = bonus->hitHalfHeight = 10;
        scene->score = 0;
        world.CollideAll();
        EXPECT_EQ(bonus->state, side == 2 ? kAlive : kKilled) << side;
        EXPECT_EQ(scene->score, side == 2 ? 0 : 500) << side;
        world.ClearScene();
        world.ClearAll();
        world.SweepObjects();
        scene = Add(0, "scene");
        world.currentScene = scene;
    }
}

TEST_F(Collisions, ItemsByKind) {
    Register({type_id::EF_Blast_01, type_id::B_Normal_W});
    Probe* scene = Add(0, "scene");
    world.currentScene = scene;
    Probe* player = Add(201, "pc", 100, 100);
    player->hitHalfWidth = player->hitHalfHeight = 8;
    Probe* power = Add(300, "power", 100, 100);
    Probe* eraser = Add(302, "eraser", 100, 100);
    Probe* goodRecca = Add(303, "recca", 100, 100);
    world.CollideAll();
    EXPECT_EQ(player->powerUps, 2);
    ASSERT_EQ(scene->messages.size(), 2u);
    EXPECT_EQ(scene->messages[0].Code(), 16);
    EXPECT_EQ(scene->messages[1].Code(), 25);
    EXPECT_EQ(power->state, kKilled);
    EXPECT_EQ(eraser->state, kKilled);
    EXPECT_EQ(goodRecca->state, kKilled);
    world.SweepObjects();
    // A bad Recca item turns every live item into a ring of 16 bullets.
    Probe* badRecca = Add(303, "bad", 100, 100);
    badRecca->angle = 1;
    Probe* far = Add(300, "far", 10, 10);
    world.CollideAll();
    EXPECT_EQ(far->state, kKilled);
    EXPECT_EQ(world.enemyBullets.size(), 16u);
    EXPECT_EQ(scene->messages.back().Code(), 9);
}

// What a kill leaves, by the kind of the shot that made it: kind 504 leaves a power-up where it
// destroys an enemy of kind 401 to 490, kind 509 wherever it destroys one; every other kind, and
// every hit that leaves the enemy alive, leaves nothing.
TEST_F(Collisions, AKillLeavesAPowerUpOnlyForTheShotAndEnemyKindsThatDropOne) {
    Register({type_id::I_PowerUp, type_id::EF_Quinty_Blast, type_id::S_BH_Shot, type_id::EF_OR_Blast});
    // Which enemy kinds each shot kind can hit at all.
    auto hits = [](int32_t shot, int32_t enemy) {
        if (shot == 502 || shot == 505) return enemy != 400;
        if (shot == 503) return enemy == 400;
        return shot >= 500 && shot <= 513 && shot != 510;
    };
    for (int32_t shotKind = 500; shotKind <= 514; ++shotKind) {
        for (int32_t enemyKind : {400, 401, 450, 490, 491, 495, 497, 498, 499}) {
            for (bool destroyed : {true, false}) {
                world.ClearAll();
                world.SweepObjects();
                Enemy(enemyKind, 100, 60, destroyed ? 1.0f : 1000.0f);
                Shot(shotKind, 10.0f, false, 100, 60);
                world.CollideAll();
                const bool drops = shotKind == 509 || (shotKind == 504 && enemyKind >= 401 && enemyKind <= 490);
                const int expected = destroyed && hits(shotKind, enemyKind) && drops ? 1 : 0;
                int found = 0;
                for (Object* item : world.items) {
                    found += 1;
                    EXPECT_EQ(item->x, 100.0f);
                    EXPECT_EQ(item->y, 60.0f);
                    EXPECT_EQ(item->kind, 300);
                }
                EXPECT_EQ(found, expected) << "shot " << shotKind << " enemy " << enemyKind << " destroyed "
                                           << destroyed;
            }
        }
    }
}
