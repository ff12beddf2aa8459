// hero_step: controls, sub-steps, aiming, firing and the camera follow.
#include "hero_step.h"
#include <cmath>
#include "camera.h"
#include "main_loop.h"
#include "movement.h"
#include "services.h"
#include "shots.h"
#include "step_input.h"
#include "world.h"

static int heroDirection() {
    if (hero.health <= 0 || levelExitReached) return 0;
    int d = 0;
    if (stepInput.held & ActionRunLeft) d -= 1;
    if (stepInput.held & ActionRunRight) d += 1;
    return d;
}

static bool heroJumpHeld() {
    if (hero.health <= 0 || levelExitReached) return false;
    return (stepInput.held & ActionJump) != 0;
}

Vec4 heroWorldShoulder() { return transform(hero.shoulder, hero.model); }

// The step input carries the point where the pointer's line of sight
// crosses the hero's depth plane.
static void updateAimPoint() { hero.aimPoint = stepInput.aimPoint; }

void heroSubStep(float h) {
    if (hero.health <= 0) return;
    hero.vy -= 500 * h;

    int d = heroDirection();
    bool jump = heroJumpHeld();
    float target = 100.0f * (float)d;
    float limit = 1500 * h;
    float dv = target - hero.vx;
    if (dv > limit) hero.vx += limit;
    else if (dv < -limit) hero.vx -= limit;
    else hero.vx = target;

    if (hero.onGround && jump) {
        hero.vy += 195;
        soundServices->playSound(SoundJump, hero.position);
    }
    if (hero.vy < -300) hero.vy = -300;
    if (hero.vy > 300) hero.vy = 300;

    Vec4 before = hero.position;
    float fallSpeed = hero.onGround ? 0.0f : -hero.vy;
    Vec4 goal = {hero.position.x + hero.vx * h, hero.position.y + hero.vy * h, hero.position.z, hero.position.w};
    ContactFlags c = moveBodyWithStepUp(hero.position, &hero, goal, HERO_BOX_MIN, HERO_BOX_MAX);

    if (c & ContactRobot) hero.touched = 1;
    if (hero.touched && hero.hurtTimer <= 0 && hero.health > 0) {
        hero.health -= 1;
        hero.hurtTimer = 1.0f;
        if (hero.health <= 0) spawnDebris(hero.position, 4, 15, 0xFF422B9Fu);
        soundServices->playSound(hero.health <= 0 ? SoundHeroDeath : SoundHeroHurt, hero.position);
        rumbleServices->rumble(hero.health <= 0 ? 1.0f : 0.6f, 250);
    }
    if (c & (ContactLeft | ContactRight)) hero.vx = 0;
    if (c & (ContactBelow | ContactAbove)) hero.vy = 0;
    hero.onGround = (c & ContactBelow) ? 1 : 0;
    // Stepping off a kerb is no fall: only a drop of about ten voxels lands.
    if (hero.onGround && fallSpeed >= 100) soundServices->playSound(SoundLanding, hero.position);

    if (hero.onGround && (c & ContactExit)) {
        hero.exitTimer += h;
        if (hero.exitTimer >= 0.5f && !levelExitReached) {
            levelExitReached = true;
            soundServices->playSound(SoundExitReached, hero.position);
        }
    } else {
        hero.exitTimer = 0;
    }

    if (hero.position.y < -400) {
        hero.health = 0;
        soundServices->playSound(SoundHeroDeath, hero.position);
    }

    float dx = hero.position.x - before.x;
    float w = hero.onGround ? 0.35f * dx : 0.0f;
    hero.walkPhase = hero.facingRight ? hero.walkPhase + w : hero.walkPhase - w;
    hero.walkPhase = fmodf(hero.walkPhase, 8.0f);
    if (hero.walkPhase < 0) hero.walkPhase += 8.0f;
    if (d == 0) hero.walkPhase = (hero.walkPhase >= 2 && hero.walkPhase < 6) ? 4.0f : 0.0f;

    updateHeroModel();
    updateAimPoint();

    Vec4 shoulder = heroWorldShoulder();
    Vec4 v = {hero.aimPoint.x - shoulder.x, hero.aimPoint.y - shoulder.y, hero.aimPoint.z - shoulder.z, 0};
    float len = length3(v);
    if (len >= 0.5f) {
        hero.aimDirection = {v.x / len, v.y / len, v.z / len, 0};
        hero.facingRight = hero.aimDirection.x > 0 ? 1 : 0;
    }

    // Both timers count down in plain float steps and fire at exactly 0.
    hero.fireCooldown = fmaxf(0.0f, hero.fireCooldown - h);
    if (hero.health >= 0 && !levelExitReached && hero.fireCooldown == 0.0f &&
        (stepInput.held & ActionFire)) {
        Vec4 a = hero.aimDirection;
        Vec4 from = {shoulder.x + 4 * a.x, shoulder.y + 4 * a.y, shoulder.z + 4 * a.z, shoulder.w};
        spawnShot(1, &hero, from, {200 * a.x, 200 * a.y, 200 * a.z, 0}, 0xFF14FF14u);
        soundServices->playSound(SoundShot, from);
        hero.fireCooldown = 1.0f / fireRate;
    }
    hero.hurtTimer = fmaxf(0.0f, hero.hurtTimer - h);
    hero.touched = 0;
}

void heroStep(float dt) {
    hero.previousPosition = hero.position;
    heroSubStep(dt / 2);
    heroSubStep(dt / 2);
    cameraFollowStep(dt);
}

void setHeroPosition(Vec4 p, float dt) {
    hero.previousPosition = hero.position;
    hero.position = p;
    updateAimPoint();
    cameraFollowStep(dt);
}


Vec4 heroDrawPosition(float t) {
    return interpolateStep(hero.previousPosition, hero.position, t);
}

void cameraFollowStep(float dt) {
    Vec4& current = cameraFollow[0];
    cameraFollow[1] = current;
    Vec4 a = {hero.aimPoint.x, hero.aimPoint.y, 0, hero.aimPoint.w};
    Vec4 feet = {hero.position.x, hero.position.y + 9, 0, 1};
    Vec4 goal = a + (feet - a) * 0.7f;
    Vec4 g = goal - current;
    float len = length3(g);
    float maxMove = 300 * dt;
    if (len > maxMove) current = current + g * (maxMove / len);
    else current = goal;
}

void interpolateCamera(float t) {
    cameraPosition = interpolateStep(cameraFollow[1], cameraFollow[0], t);
}
