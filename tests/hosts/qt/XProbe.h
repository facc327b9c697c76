#pragma once

// Reading the X server and the window manager from outside the program, for the on-screen tests:
// what a window's place and frame really are, whatever the program believes its bounds to be.

#include <array>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/gfx/Geometry.h"

namespace zozuz {

// What a shell command prints; empty when it could not run.
inline std::string outputOf(const std::string& command) {
    std::string text;
    const std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), &pclose);
    if (!pipe) return text;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()) != nullptr) text += buffer.data();
    return text;
}

// An X window's client area on the screen as the X server has it; -1 where xwininfo gave nothing.
inline Rect clientOnScreen(unsigned long id) {
    const std::string info = outputOf("xwininfo -id " + std::to_string(id));
    int values[4] = {-1, -1, -1, -1};
    const char* names[4] = {"Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:"};
    for (int i = 0; i < 4; ++i) {
        const auto at = info.find(names[i]);
        if (at != std::string::npos) std::sscanf(info.c_str() + at + std::string(names[i]).size(), " %d", &values[i]);
    }
    return Rect{values[0], values[1], values[0] + values[2], values[1] + values[3]};
}

// The frame extents the window manager set on an X window, as xprop prints them.
inline std::string frameExtentsOf(unsigned long id) {
    return outputOf("xprop -notype -id " + std::to_string(id) + " _NET_FRAME_EXTENTS");
}

// The outer rectangle of a framed X window: its client area widened by its frame extents; all -1
// while the window manager has set none.
inline Rect outerOnScreen(unsigned long id) {
    const Rect client = clientOnScreen(id);
    const std::string extents = frameExtentsOf(id);
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
    const auto equals = extents.find('=');
    if (equals == std::string::npos ||
        std::sscanf(extents.c_str() + equals + 1, " %d, %d, %d, %d", &left, &right, &top, &bottom) != 4)
        return Rect{-1, -1, -1, -1};
    return Rect{client.left - left, client.top - top, client.right + right, client.bottom + bottom};
}

}  // namespace zozuz
