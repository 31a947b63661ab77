#pragma once
// The base of every history record: a reference count, the local time of day it
// was made at, and a lock for its fields. Records are shared between a source's
// history, the views' queues and the views' rows, and there can be millions of
// them, so each is kept small: the time is stored as seconds of the day and shown
// as "%02d:%02d:%02d", names are shared through a table of texts, and the lock is
// one of a fixed set picked by the record's address (same guarantees, no mutex
// per record).

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CInfoContainer {
public:
    CInfoContainer();
    CInfoContainer(const CInfoContainer&) = delete;
    CInfoContainer& operator=(const CInfoContainer&) = delete;

    std::int32_t AddRef() { return m_lRefs.fetch_add(1, std::memory_order_relaxed) + 1; }
    // Destroys the record when the last reference goes; returns the new count.
    std::int32_t Release();

    // The key that marks records about the same thing (first-occurrence filtering).
    virtual std::uint32_t Key() const = 0;
    std::string CreationTime() const;
    // Takes a time of day written "HH:MM:SS" (a saved filter's template); false and
    // nothing changed for any other text.
    bool SetCreationTime(const std::string& text);
    // Records alive in the process, for tests and measurements.
    static std::size_t LiveCount();
    std::uint32_t SecondsOfDay() const { return m_ulSecondsOfDay; }

protected:
    virtual ~CInfoContainer();
    // The lock of this record's fields.
    std::mutex& Lock() const;
    // A text field kept as a number in the shared text table, read and written under the lock.
    std::string TextField(const std::uint32_t& id) const;
    void SetTextField(std::uint32_t& id, const std::string& text);

private:
    std::atomic<std::int32_t> m_lRefs{1};
    std::atomic<std::uint32_t> m_ulSecondsOfDay;
};

// Holds one reference to a record.
struct CInfoRelease {
    void operator()(CInfoContainer* record) const { record->Release(); }
};
template <class T>
using TInfoPtr = std::unique_ptr<T, CInfoRelease>;

// Texts shared by many records (names looked up in the editor project): stored
// once, referred to by number. Number 0 is the empty text.
class CNameTable {
public:
    static std::uint32_t Intern(const std::string& text);
    static std::string Text(std::uint32_t id);
};

// The local time of day, in seconds since midnight.
std::uint32_t LocalSecondsOfDay();
std::string FormatTimeOfDay(std::uint32_t secondsOfDay);
