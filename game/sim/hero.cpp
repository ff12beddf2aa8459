// hero: record, placement and the camera reset.
#include "hero.h"
#include "camera.h"

const Hero heroAtProgramStart = {
    {0, 0, 0, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}, {0, 8, 2, 1}, identityMatrix(),
    0, 0, 0, 0, 0, 0, 4, 1, 0, 0,
};
Hero hero = heroAtProgramStart;

Vec4 cameraFollow[2];

void updateHeroModel() { hero.model = yawMatrix(hero.facingRight ? 90.0f : -90.0f, hero.position); }

void placeHero(float x, float y) {
    hero.facingRight = 1;
    hero.onGround = 0;
    hero.touched = 0;
    hero.position = hero.previousPosition = vec4(x, y, 8, 1);
    hero.vx = hero.vy = 0;
    hero.walkPhase = 0;
    hero.fireCooldown = 0;
    hero.hurtTimer = 0;
    hero.exitTimer = 0;
    // The drawing reads the model before the first step; keep it on the hero.
    updateHeroModel();
    resetCamera();
}

void touchHero() { hero.touched = 1; }

int heroHealth() { return hero.health; }
void setHeroHealth(int health) { hero.health = health; }

void resetCamera() {
    Vec4 a = vec4(hero.position.x, hero.position.y + 9, 0, 1);
    cameraFollow[0] = cameraFollow[1] = a;
    cameraPosition = a;
}
