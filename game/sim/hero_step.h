// hero_step: the hero's fixed step, aiming and firing, and the camera point
// that follows it. The controls come from the step input (run left / right,
// jump, fire, the aim point).
#pragma once
#include "hero.h"

// previousPosition = position, two half sub-steps, then the camera follow.
void heroStep(float dt);
// h = 0.025 s: gravity, run, jump, move, hurt, exit pad, falling out, legs,
// aim, fire, timers.
void heroSubStep(float h);
// Carries the hero to p (the elevator ride), keeping the previous position
// for drawing and letting the camera follow.
void setHeroPosition(Vec4 p, float dt);

// previousPosition + (position - previousPosition) x (t x 20).
Vec4 heroDrawPosition(float t);
// The arm pivot in the world: shoulder x model.
Vec4 heroWorldShoulder();

void cameraFollowStep(float dt);
// Sets cameraPosition between the last two follow points for a frame drawn
// t seconds after the step.
void interpolateCamera(float t);
