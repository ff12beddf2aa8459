// wait_until: tests of the real programs wait for what they expect to see
// (a log line, a window, a picture, an exit) instead of sleeping a fixed time.
#pragma once
#include <chrono>
#include <thread>

// Checks done() until it holds, every pollMs milliseconds; false when it
// still does not hold after the given seconds.
template <typename Condition>
bool waitUntil(Condition done, double seconds = 10, int pollMs = 50) {
    auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(pollMs));
    }
}
