#include "InfoContainer.h"

#include <array>
#include <cstdio>
#include <ctime>
#include <deque>
#include <unordered_map>

namespace {

constexpr std::size_t kLockStripes = 64;
std::array<std::mutex, kLockStripes> g_recordLocks;

struct Names {
    std::mutex lock;
    std::deque<std::string> texts{std::string()};
    std::unordered_map<std::string, std::uint32_t> ids{{std::string(), 0}};
};
Names& NameStore() {
    static Names names;
    return names;
}

}  // namespace

std::uint32_t LocalSecondsOfDay() {
    // The offset from UTC changes at most twice a year: compute it once a minute.
    static std::atomic<std::int64_t> cachedMinute{-1};
    static std::atomic<std::int32_t> cachedOffset{0};
    const std::time_t now = std::time(nullptr);
    const std::int64_t minute = static_cast<std::int64_t>(now) / 60;
    if (cachedMinute.load(std::memory_order_relaxed) != minute) {
        std::tm local{};
        ::localtime_r(&now, &local);
        cachedOffset = static_cast<std::int32_t>(local.tm_gmtoff);
        cachedMinute = minute;
    }
    const std::int64_t localSeconds = static_cast<std::int64_t>(now) + cachedOffset.load(std::memory_order_relaxed);
    return static_cast<std::uint32_t>(((localSeconds % 86400) + 86400) % 86400);
}

std::string FormatTimeOfDay(std::uint32_t seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    return text;
}

namespace {
std::atomic<std::size_t> g_liveRecords{0};
}

CInfoContainer::CInfoContainer() : m_ulSecondsOfDay(LocalSecondsOfDay()) { g_liveRecords.fetch_add(1, std::memory_order_relaxed); }

CInfoContainer::~CInfoContainer() { g_liveRecords.fetch_sub(1, std::memory_order_relaxed); }

std::size_t CInfoContainer::LiveCount() { return g_liveRecords.load(); }

std::int32_t CInfoContainer::Release() {
    const std::int32_t left = m_lRefs.fetch_sub(1, std::memory_order_acq_rel) - 1;
    if (left == 0) delete this;
    return left;
}

std::string CInfoContainer::CreationTime() const { return FormatTimeOfDay(m_ulSecondsOfDay); }

bool CInfoContainer::SetCreationTime(const std::string& text) {
    unsigned h = 0, m = 0, sec = 0;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%2u:%2u:%2u%c", &h, &m, &sec, &extra) != 3 || h > 23 || m > 59 || sec > 59)
        return false;
    m_ulSecondsOfDay = h * 3600 + m * 60 + sec;
    return true;
}

std::mutex& CInfoContainer::Lock() const {
    return g_recordLocks[(reinterpret_cast<std::uintptr_t>(this) >> 6) % kLockStripes];
}

std::string CInfoContainer::TextField(const std::uint32_t& id) const {
    std::lock_guard lock(Lock());
    return CNameTable::Text(id);
}

void CInfoContainer::SetTextField(std::uint32_t& id, const std::string& text) {
    const std::uint32_t interned = CNameTable::Intern(text);  // outside the record's lock
    std::lock_guard lock(Lock());
    id = interned;
}

std::uint32_t CNameTable::Intern(const std::string& text) {
    Names& names = NameStore();
    std::lock_guard lock(names.lock);
    auto it = names.ids.find(text);
    if (it != names.ids.end()) return it->second;
    const auto id = static_cast<std::uint32_t>(names.texts.size());
    names.texts.push_back(text);
    names.ids.emplace(text, id);
    return id;
}

std::string CNameTable::Text(std::uint32_t id) {
    Names& names = NameStore();
    std::lock_guard lock(names.lock);
    return id < names.texts.size() ? names.texts[id] : std::string();
}
