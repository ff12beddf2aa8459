// A field of instanced cubes in the cube renderer's vertex format (24
// corners, 36 indices, 12-byte instances), for measuring the device layer.
#pragma once

// Makes the buffers for `count` cubes on a grid and loads "cube.sh".
void initCubeScene(int count);
// Sets the constants and draws all cubes in one instanced call.
void drawCubeScene();
void shutdownCubeScene();
