#pragma once

namespace engine {

// The product's name: mutex name, window title, message-box caption, tray tip, and the
// entry name that no listing shows.
inline constexpr char ProductName[] = "Velbrook";

// The name of the root task that starts Velbrook at logon.
inline constexpr char LogonTaskName[] = "Velbrook startups";

}  // namespace engine
