// Sound services that remember the sound events, tunes and volumes game
// logic asked for, in order, and do nothing else.
#pragma once
#include <cmath>
#include <vector>
#include "services.h"

struct RecordingServices : SoundServices {
    struct Event {
        SoundEffect effect;
        Vec4 at;  // NaN for a screen sound
    };
    std::vector<Event> sounds;
    std::vector<MusicTrack> tunes;
    int effectsVolume = -1, musicVolume = -1;

    void playSound(SoundEffect effect, Vec4 at) override { sounds.push_back({effect, at}); }
    void playScreenSound(SoundEffect effect) override { sounds.push_back({effect, {NAN, NAN, NAN, NAN}}); }
    void playMusic(MusicTrack track) override { tunes.push_back(track); }
    void setVolume(int effects, int music) override {
        effectsVolume = effects;
        musicVolume = music;
    }
    void clear() {
        sounds.clear();
        tunes.clear();
    }
    std::vector<SoundEffect> effects() const {
        std::vector<SoundEffect> e;
        for (const Event& s : sounds) e.push_back(s.effect);
        return e;
    }
};
