#pragma once
// What a logger view does with its queue's wake-up message: at most 51 records per
// message, then the message is posted again for the rest, so the user interface
// stays responsive under a burst of notifications.

#include <cstddef>
#include <functional>

#include "InfoQueue.h"

inline constexpr std::size_t QV_DRAIN_BATCH = 50;  // more than this many in one message, and it re-posts

// Hands each popped record to add (which takes its own references if it keeps the
// record) and releases the popped reference. Returns how many were handled.
std::size_t DrainQueue(CInfoQueue& queue, IMessageTarget& self, std::uint32_t message,
                       const std::function<void(CInfoContainer*)>& add);
