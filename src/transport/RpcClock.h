#pragma once
// A free-running 32-bit millisecond counter; differences are taken in unsigned
// arithmetic so that wrap-around is harmless.

#include <chrono>
#include <cstdint>

inline std::uint32_t RpcClockMs() {
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

inline constexpr std::uint32_t RPC_INFINITE = 0xFFFFFFFFu;
