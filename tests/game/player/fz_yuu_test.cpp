// Yuu's bubbles, spray and reflect, and the Gradius, SA, BomberKing, Quinty, Kame and FZ weapons.
#include <algorithm>

#include "framework/core/angle.h"
#include "game/player/shots_fz.h"
#include "game/player/shots_gradius.h"
#include "game/player/shots_sa.h"
#include "game/world/type_table.h"
#include "player_support.h"

using namespace player_test;

class Bubbles : public PlayerTest {
protected:
    Bubbles() { Register({type_id::EF_Poppoes_Reflect}); }

    PC_Yuu* ReadyYuu(int32_t level) {
        PC_Yuu* yuu = Make<PC_Yuu>(127);
        Step(2);
        // Power items as the field gives them: 1, then 2, then 3 more for each level.
        for (int i = 0; i < level * (level + 1) / 2; ++i) yuu->PowerUp(&world, 1);
        return yuu;
    }
    int LiveBubbles() const { return CountShots(type_id::S_FZ_Poppoes); }
    // Shots of 207 made on the last frame, split into Yuu's own (no thousands) and the rows'.
    std::pair<int, int> NewSprayShots() const {
        int own = 0, rows = 0;
        for (Object* s : shotsAfter_) {
            if (shotsBefore_.count(s) != 0 || !MadeBy(s, 207)) continue;
            (s->angle == 0 ? own : rows) += 1;
        }
        return {own, rows};
    }
    // The stand-in reflect effect (a probe among the shots): a bubble's, or with Yuu's angle -1
    // hers; null when there is none.
    world_test::Probe* Reflect(bool hers = false) const {
        for (Object* o : world.shots) {
            auto* p = dynamic_cast<world_test::Probe*>(o);
            if (p != nullptr && p->IsAlive() && (p->angle == -1) == hers) return p;
        }
        return nullptr;
    }
};

TEST_F(Bubbles, ATapGivesAThreeShotBurstAtLevelZero) {
    ReadyYuu(0);
    Hold(kFire1);
    Step();
    Hold(kFire1, false);
    std::vector<int> frames;
    for (int f = 0; f < 30; ++f) {
        if (NewSprayShots().first > 0) frames.push_back(f);
        Step();
    }
    EXPECT_EQ(frames, (std::vector<int>{0, 8, 16}));  // c = 24, 16, 8
}

TEST_F(Bubbles, FullRowsFireFromTheThirdRowAndTheSecondJoinsWhenItThins) {
    PC_Yuu* yuu = ReadyYuu(3);
    EXPECT_EQ(yuu->powerLevel, 3);
    Step();
    EXPECT_EQ(LiveBubbles(), 14);
    EXPECT_EQ(yuu->rowCount[2], 8);
    Hold(kFire1);
    int own = 0, rows = 0;
    for (int f = 0; f < 8; ++f) {
        Step();
        own += NewSprayShots().first;
        rows += NewSprayShots().second;
    }
    EXPECT_EQ(own, 0);
    EXPECT_EQ(rows, 4);  // every second frame, from the third row only
    for (int slot = 10; slot < 14; ++slot) yuu->weapons[slot]->Kill();
    Step(2);  // swept, then recounted: four left in the third row
    rows = 0;
    for (int f = 0; f < 8; ++f) {
        Step();
        rows += NewSprayShots().second;
    }
    EXPECT_EQ(rows, 4 + 2);  // the second row every fourth frame as well
}

// The spray sways 30 degrees either side of straight up: Yuu's own at 27000 a frame of her age,
// the first row's at 37000.
TEST_F(Bubbles, TheSpraySwaysAtItsSourcesRate) {
    struct Case {
        int32_t level, rate;
    } cases[] = {{0, 27000}, {1, 37000}};
    for (const Case& c : cases) {
        PC_Yuu* yuu = ReadyYuu(c.level);
        Hold(kFire1);
        int checked = 0;
        for (int f = 0; f < 24; ++f) {
            Step();
            const int32_t age = yuu->age - 1;  // her age when she fired this frame
            for (Object* s : shotsAfter_) {
                if (shotsBefore_.count(s) != 0 || !MadeBy(s, 207)) continue;
                const float degrees = 30.0f * AngleCos((age * c.rate) & 0xFFFF) + 270.0f;
                const int32_t a = static_cast<int32_t>(degrees * 65536.0f / 360.0f);
                EXPECT_NEAR(s->vx, 4.0f * AngleCos(a), 1e-4f) << c.level << " age " << age;
                EXPECT_NEAR(s->vy, 4.0f * AngleSin(a), 1e-4f) << c.level << " age " << age;
                checked += 1;
            }
        }
        EXPECT_GE(checked, 3);
        Hold(kFire1, false);
        yuu->Vanish();
        Step(40);
    }
}

TEST_F(Bubbles, RowsBreatheAroundYuuAndTheHeightFallsBack) {
    PC_Yuu* yuu = ReadyYuu(2);
    yuu->rowHeight = 1.2f;
    Step();
    EXPECT_NEAR(yuu->rowHeight, 1.15f, 1e-6f);
    float w = 0.25f * AngleCos((yuu->age - 1) * 400) + 1.0f;
    Object* right = yuu->weapons[1];
    EXPECT_NEAR(right->x - right->vx, yuu->x + 12.0f * w, 1e-4f);
    EXPECT_NEAR(right->y, yuu->y - 16.0f * 1.15f, 1e-4f);
    Object* secondRowFirst = yuu->weapons[2];
    EXPECT_NEAR(secondRowFirst->x, yuu->x - 24.0f * w, 1e-4f);
    EXPECT_NEAR(secondRowFirst->y, yuu->y - 36.0f * 1.15f, 1e-4f);
    Step(10);
    EXPECT_EQ(yuu->rowHeight, 1.0f);  // below 1.0 raised back to it
}

TEST_F(Bubbles, TheReflectWaitsSixHundredFramesAndNeedsTheTopLevelOrThinRows) {
    PC_Yuu* yuu = ReadyYuu(1);
    Hold(kFire2);
    Step(600);
    EXPECT_EQ(yuu->reflectCooldown, 0);
    EXPECT_EQ(Reflect(true), nullptr);  // a full first row at level 1: refused
    yuu->weapons[0]->Kill();
    Step(2);
    ASSERT_NE(Reflect(true), nullptr);
    EXPECT_EQ(Reflect(true)->score, 128);
    EXPECT_EQ(yuu->powerLevel, 0);
    EXPECT_EQ(LiveBubbles(), 0);
    EXPECT_EQ(yuu->reflectCooldown, 599);
    // A level-up gives the rows back; the next reflect waits out the cooldown.
    for (int i = 0; i < 6; ++i) yuu->PowerUp(&world, 1);
    Step(100);
    EXPECT_EQ(yuu->powerLevel, 3);
    EXPECT_EQ(LiveBubbles(), 14);
}

TEST_F(Bubbles, ALevelUpHealsAndRefillsTheRowsEvenAtTheTop) {
    PC_Yuu* yuu = ReadyYuu(3);
    Step();
    yuu->weapons[3]->Kill();
    yuu->weapons[7]->hp = 1.0f;
    Step();
    EXPECT_EQ(LiveBubbles(), 13);
    for (int i = 0; i < 4; ++i) yuu->PowerUp(&world, 1);  // the fourth is the capped level-up
    Step();
    EXPECT_EQ(LiveBubbles(), 14);
    EXPECT_EQ(yuu->weapons[7]->hp, 4.0f);  // a third-row bubble healed to its max
}

TEST_F(Bubbles, BubblesBySizeStayInTheFieldAndBurstOnlyWhenKilled) {
    const float hps[] = {12, 8, 4};
    const int16_t boxes[] = {8, 6, 4};
    for (int32_t type = 0; type < 3; ++type) {
        Object* b = world.CreateObject(type_id::S_FZ_Poppoes, 300, -5, static_cast<float>(type), 0, 0, 0, nullptr);
        EXPECT_EQ(b->hp, hps[type]);
        EXPECT_EQ(b->hitHalfWidth, boxes[type]);
        EXPECT_EQ(b->width, type == 2 ? 8 : 16);
        b->SetSide(1);
        Step();
        EXPECT_EQ(b->x, 256.0f);
        EXPECT_EQ(b->y, 0.0f);
        b->Kill();
        Step();
        world_test::Probe* reflect = Reflect();
        ASSERT_NE(reflect, nullptr);
        EXPECT_EQ(reflect->angle, type);
        EXPECT_EQ(reflect->GetSide(), 0);  // a probe reports its own side; the shot set it
        reflect->Vanish();
        Step();
    }
    EXPECT_EQ(CountBlasts(), 3);
    Object* gone = world.CreateObject(type_id::S_FZ_Poppoes, 100, 100, 0, 0, 0, 0, nullptr);
    gone->Vanish();
    Step();
    EXPECT_EQ(Reflect(), nullptr);
    // The shot's variant rides in y's thousands.
    Object* small = world.CreateObject(type_id::S_FZ_Poppoes_Shot, 50, 1070, 0, -4, 0, 0, nullptr);
    EXPECT_EQ(small->angle, 1);
    EXPECT_EQ(small->y, 70.0f);
    EXPECT_EQ(small->hitHalfWidth, 3);
}

class Gradius : public PlayerTest {};

TEST_F(Gradius, TheLaserGrowsUntilReleasedAndShrinksAtTheTop) {
    struct Case {
        int releaseAt;  // frame the button goes up, or -1
        int growsUntil; // the last age at which it grew
    };
    for (const Case& c : {Case{-1, 19}, Case{1, 2}}) {
        Hold(kFire1);
        auto* laser = dynamic_cast<S_GradiusLaser*>(world.CreateObject(type_id::S_GradiusLaser, 100, 200, 0, -2, 0, 0, nullptr));
        int lastGrowth = -1;
        for (int f = 0; f < 25; ++f) {
            if (f == c.releaseAt) Hold(kFire1, false);
            int32_t before = laser->height;
            int32_t age = laser->age;
            Step();
            if (laser->height == before + 4) lastGrowth = age;
        }
        EXPECT_EQ(lastGrowth, c.growsUntil) << c.releaseAt;
        EXPECT_EQ(laser->attached, 0);
        laser->Vanish();
        Hold(kFire1, false);
        Step();
    }
    auto* top = dynamic_cast<S_GradiusLaser*>(world.CreateObject(type_id::S_GradiusLaser, 100, 8, 0, -2, 0, 0, nullptr));
    top->attached = 0;
    top->height = 40;
    top->age = 30;
    top->y = 7.0f;
    top->Run(&world);
    EXPECT_EQ(top->height, 40 - 16 - 8);  // shrunk, then the part above the top cut off
    EXPECT_EQ(top->y, 15.0f);
    top->height = 3;
    top->y = 100.0f;
    top->Run(&world);
    EXPECT_FALSE(top->IsAlive());
}

TEST_F(Gradius, MissileFramesRippleWidthsAndShieldsWearing) {
    struct Case {
        int32_t angle, frame;
    };
    for (const Case& c : {Case{49152, 4}, Case{49153, 0}, Case{65353, 3}, Case{16384, -1}, Case{40000, 5}}) {
        EXPECT_EQ(GradiusMissileFrame(c.angle), c.frame) << c.angle;
    }
    auto* down = dynamic_cast<S_Gradius2Missile*>(world.CreateObject(type_id::S_Gradius2Missile, 100, 100, 0, 3, 0, 0, nullptr));
    Step();
    EXPECT_EQ(down->frame, 0);
    Object* ripple = world.CreateObject(type_id::S_GradiusRipple, 100, 200, 0, -1, 0, 0, nullptr);
    std::vector<int16_t> widths;
    for (int f = 0; f < 14; ++f) {
        Step();
        widths.push_back(ripple->width);
    }
    EXPECT_EQ(widths[5], 16);
    EXPECT_EQ(widths[6], 24);
    EXPECT_EQ(widths[12], 32);
    for (auto [id, hits] : {std::pair{186, 31}, std::pair{189, 4}}) {
        Object* shield = world.CreateObject(id, 100, 100, 0, 0, 0, 0, nullptr);
        for (int i = 0; i < hits; ++i) shield->Damage(&world, 1.0f);
        EXPECT_TRUE(shield->IsAlive()) << id;
        shield->Damage(&world, 1.0f);
        EXPECT_FALSE(shield->IsAlive()) << id;
    }
}

class SA : public PlayerTest {};

TEST_F(SA, TheSpriteFiresTwoAtATimeGradesByHpAndStaysWithoutItsOwner) {
    world_test::Probe* owner = Add(10, "owner", 100, 100);
    auto* sprite = dynamic_cast<S_SASprite*>(world.CreateObject(type_id::S_SASprite, 100, 200, 0, 0, 0, 0, owner));
    sprite->OnMessage(Msg(3, 1, &world));
    Step(20);
    EXPECT_EQ(CountShots(type_id::S_SASpriteShot), 2);
    EXPECT_EQ(sprite->grade, 1);  // hp 128
    for (int i = 0; i < 5; ++i) sprite->PowerUp(&world, 1);
    EXPECT_EQ(sprite->hp, 255.0f);
    EXPECT_EQ(sprite->score, 1);
    sprite->score = 0;
    sprite->PowerUp(&world, 1);
    EXPECT_EQ(sprite->score, 1);  // set again above 192
    sprite->ForgetObject(owner);
    EXPECT_EQ(sprite->owner, nullptr);
    EXPECT_TRUE(sprite->IsAlive());
    sprite->hp = 50.0f;
    Step();
    EXPECT_EQ(sprite->grade, 3);
    EXPECT_EQ(sprite->hitHalfWidth, 3);
    sprite->Vanish();
    Step();
    EXPECT_EQ(CountShots(type_id::S_SASpriteBlast), 0);  // only a kill leaves the blast
    EXPECT_EQ(CountShots(type_id::S_SASpriteShot), 0);  // its shots go with it
    world.CreateObject(type_id::S_SASprite, 100, 200, 0, 0, 0, 0, nullptr)->Kill();
    Step();
    ASSERT_EQ(CountShots(type_id::S_SASpriteBlast), 1);
    std::vector<int16_t> boxes;
    for (int f = 0; f < 16; ++f) {
        for (Object* s : world.shots) boxes.push_back(s->hitHalfWidth);
        Step();
    }
    EXPECT_EQ(*std::max_element(boxes.begin(), boxes.end()), 20);
    EXPECT_EQ(CountShots(type_id::S_SASpriteBlast), 0);
}

TEST_F(SA, LaserHeadsFollowTheirPatternsAndTurnOnlySideways) {
    struct Case {
        int32_t pattern;
        std::vector<int32_t> states;  // from age 0
    };
    const Case cases[] = {
        {0, {3, 3, 3, 3, 3, 3}}, {1, {1, 1, 1, 1, 1, 1}}, {2, {2, 11, 3, 3, 3, 3}},
        {3, {0, 6, 3, 3, 3, 3}}, {4, {2, 2, 2, 11, 8, 0, 6, 5, 2, 11, 8, 0}}, {5, {0, 0, 0, 6, 5, 2, 11, 8, 0, 6, 5, 2}},
    };
    for (const Case& c : cases) {
        auto* head = dynamic_cast<S_SALaserHead*>(world.CreateObject(type_id::S_SALaserHead, 128, 120, 0, 0, 0, 0, nullptr));
        head->SetScore(c.pattern);
        std::vector<int32_t> states;
        for (size_t f = 0; f < c.states.size(); ++f) {
            head->Run(&world);
            states.push_back(head->angle);
        }
        EXPECT_EQ(states, c.states) << c.pattern;
        head->Vanish();
        Step();
    }
    // Searching right: an enemy straight ahead is ignored, one below turns it down.
    auto* seeker = dynamic_cast<S_SALaserHead*>(world.CreateObject(type_id::S_SALaserHead, 50, 100, 0, 0, 0, 0, nullptr));
    seeker->angle = 16;  // state 0, searching
    seeker->SetScore(6);  // a pattern that keeps the state
    world_test::Probe* ahead = Add(401, "ahead", 150, 100);
    for (int f = 0; f < 5; ++f) seeker->Run(&world);
    EXPECT_EQ(seeker->angle, 16);
    world.enemies.remove(ahead);
    delete ahead;
    Add(401, "below", 50, 180);
    seeker->Run(&world);
    EXPECT_EQ(seeker->angle, 16 + 9);
    // Its tails gone, the head dies on its next Run.
    for (Object*& tail : seeker->children) {
        if (tail != nullptr) tail->Kill();
    }
    seeker->Run(&world);
    EXPECT_FALSE(seeker->IsAlive());
    // A bad state is reported once, not every frame.
    auto* bad = dynamic_cast<S_SALaserHead*>(world.CreateObject(type_id::S_SALaserHead, 128, 120, 0, 0, 0, 0, nullptr));
    bad->SetScore(9);
    bad->angle = 13;
    for (int f = 0; f < 5; ++f) bad->Run(&world);
    EXPECT_EQ(platform.messageBox.shown.size(), 1u);
}

class SmallFamilies : public PlayerTest {};

TEST_F(SmallFamilies, LifetimesBouncesAndTurns) {
    struct Life {
        int32_t id, level;
        int frames;  // alive after this many, gone after one more
    };
    for (const Life& l : {Life{195, 0, 30}, Life{195, 2, 50}, Life{198, 0, 15}, Life{199, 0, 31}, Life{203, 0, 11}}) {
        Object* o = world.CreateObject(l.id, 128, 200, 0, 0, 0, 0, nullptr);
        o->SetScore(l.level);
        Step(l.frames);
        EXPECT_TRUE(o->IsAlive()) << l.id << " " << l.level;
        Step();
        EXPECT_EQ(CountShots(l.id), 0) << l.id;
    }
    Object* tako = world.CreateObject(type_id::S_Kame_Tako, 5, 100, -3, 0, 0, 0, nullptr);
    Step();
    EXPECT_EQ(tako->vx, 3.0f);
    EXPECT_EQ(tako->x, 10.0f);
    Object* kurage = world.CreateObject(type_id::S_Kame_Kurage, 100, 100, 2, 0, 0, 0, nullptr);
    std::vector<float> vxs;
    for (int f = 0; f < 12; ++f) {
        Step();
        vxs.push_back(kurage->vx);
    }
    EXPECT_EQ(vxs[4], 2.0f);
    EXPECT_EQ(vxs[5], -2.0f);
    EXPECT_EQ(vxs[11], 2.0f);
}

TEST_F(SmallFamilies, KobabeachFiresOnceAtItsTimeAndItsBeamShrinksAtTheTop) {
    for (int32_t t : {0, 30}) {
        Object* k = world.CreateObject(type_id::S_FZ_Kobabeach, 100, 200, 0, 0, 0, 0, nullptr);
        k->angle = t;
        int beams = 0;
        for (int f = 0; f < 60; ++f) {
            Step();
            beams += NewShots(type_id::S_FZ_Kobabeach_Shot);
        }
        EXPECT_EQ(beams, t == 0 ? 0 : 1) << t;
        k->Vanish();
        for (Object* s : world.shots) s->Vanish();
        Step();
    }
    Object* beam = world.CreateObject(type_id::S_FZ_Kobabeach_Shot, 100, 4, 0, -8, 0, 0, nullptr);
    Step();  // grows to 24, climbs above the top
    EXPECT_EQ(beam->height, 24);
    Step();
    EXPECT_EQ(beam->height, 24 + 16 - 16);
    EXPECT_EQ(beam->y, -4.0f);
    Step(2);
    EXPECT_EQ(beam->height, 24);  // grows and shrinks alike while younger than 4
    Step();
    EXPECT_EQ(beam->height, 8);
    Step();
    EXPECT_EQ(CountShots(type_id::S_FZ_Kobabeach_Shot), 0);
    // The bouncing variant (made with an acceleration) turns at y 4; the seed falls to 248.
    Object* bouncer = world.CreateObject(type_id::S_FZ_Stanparon_Shot, 100, 6, 0, -3, 0, 0.5f, nullptr);
    Step(2);
    EXPECT_EQ(bouncer->vy, 3.0f);
    Object* seed = world.CreateObject(type_id::S_FZ_Boranda_Seed, 100, 247, 0, 1, 0, 0, nullptr);
    Step();
    EXPECT_TRUE(seed->IsAlive());
    Step();
    EXPECT_EQ(CountShots(type_id::S_FZ_Boranda_Seed), 0);
}
