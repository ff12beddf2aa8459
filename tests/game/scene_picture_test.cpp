// The drawn game against committed pictures: five scenes at 1280 x 720 and
// 1920 x 1080, from a fixed seed and a fixed number of steps, drawn at t = 0
// and compared pixel by pixel. A scene's mask (white = may differ) marks only
// artefacts the renderer no longer draws; what each one covers is written
// beside the scene below. ZENTREL_WRITE_PICTURES=1 rewrites the pictures;
// ZENTREL_WRITE_PICTURE_MASKS=1 rewrites the masks of the scenes that have
// one from today's differences (look at the diffs before committing them).
//
// On a mismatch the frame and a diff (red: differs, yellow: differs inside
// the mask, grey: equal) are written to the test's folder as PNG.
#include <gtest/gtest.h>
#include <epoxy/gl.h>
#include <cstdlib>
#include <string>
#include <vector>
#include "camera.h"
#include "exit_pad.h"
#include "device.h"
#include "draw_world.h"
#include "fake_input_platform.h"
#include "font.h"
#include "framing_modes.h"
#include "game_step.h"
#include "input_sampling.h"
#include "gl_window.h"
#include "hero.h"
#include "hero_step.h"
#include "level.h"
#include "png_file.h"
#include "progress.h"
#include "qz_utils.h"
#include "random.h"
#include "scene.h"
#include "voxel_cache.h"
#include "world.h"

namespace {

FakeInputPlatform input;
RenderServices services;

// Steps as the main loop does, with the pointer at (px, py) window pixels.
void play(int steps, float px, float py);

// A new game at the level's start, whatever ran before (each scene, and
// each test when both run in one process, starts alike): one step with the
// pointer up to the right sets the hero's aim.
void startLevel(int number) {
    setGameMode(nullptr);
    gameRandom.seed(4242);
    newGame();
    levelNumber = number;
    setGameMode(&playMode);
    play(1, (float)deviceWidth() * 0.75f, (float)deviceHeight() * 0.3f);
}

void lookAt(float x, float y) {
    cameraFollow[0] = cameraFollow[1] = {x, y, 0, 1};
    cameraPosition = cameraFollow[0];
}

void play(int steps, float px, float py) {
    for (int i = 0; i < steps; i++) {
        updateStepCamera();
        pushInput(InputMove, 0, 0, 0, px, py);
        gameStep(0.05f);
        GuiInputRecord r;
        while (popInput(&r)) {
        }
        inputEndStep();
    }
}

void layoutAStart() { startLevel(1); }

void craterAndDebris() {
    startLevel(1);
    // Fire right into the first pillar: craters, and debris still flying.
    input.held[VK_LBUTTON] = true;
    play(24, (float)deviceWidth() * 0.86f, (float)deviceHeight() * 0.58f);
    input.held[VK_LBUTTON] = false;
}

void robotsInView() {
    startLevel(1);
    play(10, (float)deviceWidth() * 0.5f, (float)deviceHeight() * 0.5f);  // the robots land and walk
    lookAt(880.0f, 62.0f);
}

void elevatorRide() {
    startLevel(1);
    ASSERT_TRUE(placeHeroOnExitPad());
    setGameMode(&elevatorMode);
    ASSERT_EQ(currentMode, &elevatorMode);
    // The ride's steps take the pointer where startLevel left it.
    play(12, (float)deviceWidth() * 0.75f, (float)deviceHeight() * 0.3f);
}

void layoutBPlatforms() {
    startLevel(2);
    lookAt(790.0f, 130.0f);  // the zig-zag of platforms with their robots
}

struct PictureScene {
    const char* name;
    void (*set)();
    // What the mask of this scene covers; null: no mask, every pixel counts.
    const char* masked;
};

// The pictures were drawn by the earlier renderer, which drew every cube
// with five or six faces, those between two filled voxels included. Where
// such a hidden face lay on a visible one at nearly or exactly equal depth
// it showed through; drawing only visible faces removes these artefacts:
// - speckles: single pixels and short diagonals (along a face's triangle
//   split) at cube edges;
// - seams: one-pixel lines of a hidden face's shade along the edge of a
//   visible face;
// - edge ties: pixels whose centre lies exactly on the edge where two
//   visible faces meet at equal depth (the camera puts such edges on pixel
//   centres), which a hidden face used to paint and now the face drawn
//   last keeps; this also moves the one-step shading boundary between a
//   double-size block and the unit cubes beside it by a pixel.
// Every masked area is one pixel wide (lines, single pixels, diagonals); a
// face missing would leave a gap at least a voxel wide.
const PictureScene scenes[] = {
    {"layout_a_start", layoutAStart,
     "speckles on the back wall, ceiling, floor and hearts; a seam down the hero's body and one along his "
     "feet (faces between the sprite's own voxels); at 1080 rows the seam along the ceiling over the back "
     "wall; edge ties on back-wall blocks"},
    {"crater_debris", craterAndDebris,
     "speckles on the walls, floor, crater and hearts; the seam down the left side of the pillar's front; "
     "seams on the hero; edge ties on back-wall blocks"},
    {"robots", robotsInView,
     "the seam along the ceiling's underside; edge ties along the back-wall blocks' top and side edges, "
     "which this view puts on pixel centres; speckles and seams on the robots, walls and floor"},
    {"elevator", elevatorRide,
     "the seam down the shaft's wall; seams and edge ties along the back-wall blocks' edges; speckles on "
     "the pad copies, walls and hero"},
    {"layout_b", layoutBPlatforms,
     "the seam down the right wall's side; at 1080 rows the seam along the upper platform's underside; "
     "speckles and short diagonals on the platforms, walls and robots; edge ties on back-wall blocks"},
};

std::string picturePath(const char* scene, int w, int h, const char* suffix) {
    return std::string(ZENTREL_PICTURE_DIR) + "/" + scene + "_" + std::to_string(w) + "x" + std::to_string(h) +
           suffix + ".png";
}

// The back buffer, rows top-down, alpha forced opaque.
std::vector<uint32_t> readFrame(int w, int h) {
    std::vector<uint32_t> rows((size_t)w * h), topDown((size_t)w * h);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) topDown[(size_t)(h - 1 - y) * w + x] = rows[(size_t)y * w + x] | 0xFF000000u;
    return topDown;
}

void checkScenes(int W, int H) {
    initAppPath();
    optAntiAlias = false;
    optVSync = false;
    optFastVoxels = false;
    isFullscreen = false;
    input.overWindow = false;  // no crosshair
    input.width = W;
    input.height = H;
    inputInit(&input);
    refreshCursorInside();
    SDL_Window* window = createDeviceWindow("picture test", 0, 0, W, H, 0);
    ASSERT_TRUE(initDevice(window, W, H));
    ASSERT_EQ(deviceWidth(), W);
    ASSERT_EQ(deviceHeight(), H);
    initFont();
    setViewServices(&services);
    initScene();
    bool rewrite = getenv("ZENTREL_WRITE_PICTURES") != nullptr;
    bool rewriteMasks = getenv("ZENTREL_WRITE_PICTURE_MASKS") != nullptr;

    for (const PictureScene& s : scenes) {
        SCOPED_TRACE(s.name);
        s.set();
        ASSERT_TRUE(renderFrame(0.0f));
        glFinish();
        std::vector<uint32_t> got = readFrame(W, H);
        presentFrame();
        // The level's chunk buffers for a whole view.
        EXPECT_LT(voxelCacheBytes(levelVoxelCache), 4 << 20);
        std::string refPath = picturePath(s.name, W, H, "");
        if (rewrite) {
            ASSERT_TRUE(writePngFile(refPath.c_str(), got.data(), W, H)) << refPath;
            continue;
        }
        std::vector<uint32_t> ref, mask;
        int rw = 0, rh = 0, mw = 0, mh = 0;
        ASSERT_TRUE(readPngFile(refPath.c_str(), &ref, &rw, &rh)) << refPath;
        ASSERT_EQ(rw, W);
        ASSERT_EQ(rh, H);
        if (s.masked && rewriteMasks) {
            std::vector<uint32_t> newMask(got.size());
            for (size_t i = 0; i < got.size(); i++) newMask[i] = got[i] == (ref[i] | 0xFF000000u) ? 0xFF000000u : 0xFFFFFFFFu;
            std::string maskPath = picturePath(s.name, W, H, "_mask");
            ASSERT_TRUE(writePngFile(maskPath.c_str(), newMask.data(), W, H)) << maskPath;
        }
        if (s.masked) {
            std::string maskPath = picturePath(s.name, W, H, "_mask");
            ASSERT_TRUE(readPngFile(maskPath.c_str(), &mask, &mw, &mh)) << maskPath;
            ASSERT_EQ(mw, W);
            ASSERT_EQ(mh, H);
        }
        int wrong = 0, forgiven = 0;
        std::vector<uint32_t> diff(got.size());
        for (size_t i = 0; i < got.size(); i++) {
            bool masked = !mask.empty() && (mask[i] & 0xFFFFFFu);
            uint32_t g = (ref[i] >> 2) & 0x3F3F3Fu;
            if (got[i] == (ref[i] | 0xFF000000u)) {
                diff[i] = 0xFF000000u | g;
            } else if (masked) {
                forgiven++;
                diff[i] = 0xFFFFFF00u;
            } else {
                wrong++;
                diff[i] = 0xFFFF0000u;
            }
        }
        if (wrong > 0 || forgiven > 0) {
            std::string base = std::string(s.name) + "_" + std::to_string(W) + "x" + std::to_string(H);
            writePngFile(("picture_" + base + ".png").c_str(), got.data(), W, H);
            writePngFile(("picture_" + base + "_diff.png").c_str(), diff.data(), W, H);
        }
        EXPECT_EQ(wrong, 0) << "pixels differ outside the mask (" << forgiven << " inside it)";
    }

    shutdownScene();
    setViewServices(nullptr);
    shutdownFont();
    closeDevice();
    destroyDeviceWindow(window);
}

}  // namespace

TEST(ScenePicture, MatchesThePicturesAt1280x720) { checkScenes(1280, 720); }
TEST(ScenePicture, MatchesThePicturesAt1920x1080) { checkScenes(1920, 1080); }
