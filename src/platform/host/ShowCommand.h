#pragma once

namespace zozuz {

// The show command a process is started with, in the numbering the program's start-up rules use.
// Only two values change how the main window first appears; every other value leaves the window in
// the state stored with it.
namespace show_command {
inline constexpr int kHide = 0;
inline constexpr int kNormal = 1;
inline constexpr int kShowMinimized = 2;
inline constexpr int kShowMaximized = 3;
inline constexpr int kMinimize = 6;
inline constexpr int kShowMinNoActive = 7;
// What a starter that names no show command gets.
inline constexpr int kShowDefault = 10;
}  // namespace show_command

// The state of a top-level window.
enum class WindowState { Normal, Minimized, Maximized };

}  // namespace zozuz
