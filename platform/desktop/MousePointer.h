#pragma once

// The screen's mouse pointer: 11 shows the wait shape, 0 the default.
namespace MousePointer {
inline constexpr int Default = 0;
inline constexpr int Wait = 11;
void set(int code);
} // namespace MousePointer
