// robots: spawning, the walking step and damage.
#include "robots.h"
#include "hero.h"
#include "services.h"
#include "shots.h"

DynArray<Robot> robots;

static void updateRobotModel(Robot& r) { r.model = yawMatrix(r.facingRight ? 90.0f : -90.0f, r.position); }

void spawnRobot(float bx, float by) {
    Robot r = {};
    r.position = r.previousPosition = vec4(16 * bx + 8, 16 * by, 8, 1);
    r.model = identityMatrix();
    r.health = 1;
    robots.push(r);
}

void robotSubStep(Robot& r, float h) {
    r.vy -= 500 * h;

    // Turn back at whatever the last move pressed against ahead.
    if (r.facingRight && (r.contacts & ContactRight)) r.facingRight = 0;
    if (!r.facingRight && (r.contacts & ContactLeft)) r.facingRight = 1;

    float target = r.facingRight ? 30.0f : -30.0f;
    float limit = 1500 * h;
    float dv = target - r.vx;
    if (dv > limit) r.vx += limit;
    else if (dv < -limit) r.vx -= limit;
    else r.vx = target;

    if (r.vy < -400) r.vy = -400;
    if (r.vy > 400) r.vy = 400;

    Vec4 goal = vec4(r.position.x + r.vx * h, r.position.y + r.vy * h, r.position.z, r.position.w);
    ContactFlags c = moveBodyWithStepUp(r.position, &r, goal, ROBOT_BOX_MIN, ROBOT_BOX_MAX);

    if (c & ContactHero) touchHero();
    if (c & (ContactLeft | ContactRight)) r.vx = 0;
    if (c & (ContactBelow | ContactAbove)) r.vy = 0;
    r.onGround = (c & ContactBelow) ? 1 : 0;
    r.contacts = c;
    // Fell out of the level: removed at the end of this step, no debris.
    if (r.position.y < -400) r.health = 0;
    updateRobotModel(r);
}

void robotsStep(float dt) {
    int i = 0;
    while (i < robots.num) {
        Robot& r = robots[i];
        r.previousPosition = r.position;
        robotSubStep(r, dt / 2);
        robotSubStep(r, dt / 2);
        if (r.health <= 0) robots.removeFast(i, 1);
        else i++;
    }
}

void damageRobot(Robot& r, int amount) {
    if (r.health <= 0) return;
    r.health -= amount;
    soundServices->playSound(SoundRobotHit, r.position);
    if (r.health <= 0) {
        spawnDebris(r.position, 6, 14, 0xFFC8C8C8u);
        soundServices->playSound(SoundRobotBurst, r.position);
    }
}
