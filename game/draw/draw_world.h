// draw_world: how the world-showing modes draw the level, the figures and
// the effects through the cube renderer, and the "GAME OVER" text.
#pragma once

struct VoxelCache;

// The level's chunk cache; null until the drawing services create it.
extern VoxelCache* levelVoxelCache;

// Level, hero, robots, shots and debris in one cube pass, then the debug
// boxes when they are switched on.
void worldRender(float t);
void drawHero(float t);
void drawHeroDebug(float t);
void drawRobots(float t);
void drawRobotsDebug(float t);
void drawShots(float t);
void drawParticles(float t);

// The elevator ride: the world, then copies of the pad stacked from the
// hero's feet down to where the pad started.
void elevatorRender(float t);
// "GAME OVER" five times the text size, with a black copy behind it.
void drawGameOver();
