#pragma once
// The messages that the parts of the program post to each other's windows, with
// the numbers they are posted with, and the small interface core code posts them
// through (the application implements it with Qt events, tests record them).

#include <cstdint>

inline constexpr std::uint32_t WM_USER = 1024;
inline constexpr std::uint32_t UM_CONNECT_ERROR = 1074;
inline constexpr std::uint32_t UM_STATUS_REFRESH = 1076;
inline constexpr std::uint32_t UM_CONNECTION_LOST = 1077;
inline constexpr std::uint32_t WM_INFO_QUEUE = 1078;  // a logger source queued records for the view
inline constexpr std::uint32_t WM_REFRESH_FROM_HISTORY = 1080;
inline constexpr std::uint32_t WM_MIXER_PRESET_CHANGED = 1081;
inline constexpr std::uint32_t WM_MIXER_RESOURCE_EVENT = 1082;
inline constexpr std::uint32_t WM_MIXER_LINE_MUTED = 1083;
inline constexpr std::uint32_t WM_PROP_ZONES_CHANGED = 1086;
inline constexpr std::uint32_t WM_MIXER_LINE_CHANGED = 1087;
inline constexpr std::uint32_t WM_MIXER_LINE_EDITED = 1088;
inline constexpr std::uint32_t WM_MIXER_PRESET_ADDED = 1089;

struct IMessageTarget {
    // Queued for the target's thread; returns at once.
    virtual void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Handled before it returns (on the target's thread when the caller is another).
    virtual void SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

protected:
    ~IMessageTarget() = default;
};
