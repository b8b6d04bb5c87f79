// The commands the main frame routes to the active editor view: the grid's
// Copy and Paste accelerators and F11 Channel Edit. The frame's own command
// table names them too.
#pragma once

namespace vrm::cmd {

inline constexpr int kGridCopy = 32741;
inline constexpr int kGridPaste = 32742;
inline constexpr int kChannelEdit = 32807;

}  // namespace vrm::cmd
