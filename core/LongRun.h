#pragma once

// A scan or compare that has run this long shows how far it is; a shorter
// one shows only the item it has reached, as it always did.
namespace LongRun {
inline constexpr int ShowProgressAfterMs = 500;
} // namespace LongRun
