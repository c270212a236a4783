#pragma once

namespace engine {

// The product's name: mutex name, window title, message-box caption, tray tip, and the
// entry name that no listing shows.
inline constexpr char ProductName[] = "Velbrook";

}  // namespace engine
