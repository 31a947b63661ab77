#pragma once
// A table with small integer keys that iterates as the project document's tables
// always have: bucket (key >> 4) mod 50, each new entry at the head of its bucket.
// With every key below 16 that is the reverse order of insertion, and that order
// decides the order of the viewer documents in a saved project.

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

template <class T>
class TIntTable {
public:
    static constexpr std::size_t kBuckets = 50;

    TIntTable() : m_buckets(kBuckets) {}

    // Replaces an entry of the same key.
    void Set(int key, std::unique_ptr<T> value) {
        for (Entry& e : Bucket(key))
            if (e.first == key) {
                e.second = std::move(value);
                return;
            }
        Bucket(key).emplace_back(key, std::move(value));  // the back of a bucket is its head
    }
    T* Get(int key) const {
        for (const Entry& e : Bucket(key))
            if (e.first == key) return e.second.get();
        return nullptr;
    }
    std::unique_ptr<T> Remove(int key) {
        auto& bucket = Bucket(key);
        for (auto it = bucket.begin(); it != bucket.end(); ++it)
            if (it->first == key) {
                std::unique_ptr<T> value = std::move(it->second);
                bucket.erase(it);
                return value;
            }
        return nullptr;
    }
    bool Empty() const {
        for (const auto& bucket : m_buckets)
            if (!bucket.empty()) return false;
        return true;
    }
    // Calls f(key, value) in iteration order.
    template <class F>
    void ForEach(F&& f) const {
        for (const auto& bucket : m_buckets)
            for (auto it = bucket.rbegin(); it != bucket.rend(); ++it) f(it->first, *it->second);
    }
    std::vector<int> Keys() const {
        std::vector<int> keys;
        ForEach([&](int key, const T&) { keys.push_back(key); });
        return keys;
    }

private:
    using Entry = std::pair<int, std::unique_ptr<T>>;
    std::vector<Entry>& Bucket(int key) { return m_buckets[Index(key)]; }
    const std::vector<Entry>& Bucket(int key) const { return m_buckets[Index(key)]; }
    static std::size_t Index(int key) { return (static_cast<unsigned>(key) >> 4) % kBuckets; }

    std::vector<std::vector<Entry>> m_buckets;
};
