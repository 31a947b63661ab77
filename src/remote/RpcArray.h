#pragma once
// Owning holders for what crosses the wire with a count: arrays of records and
// texts. Their storage comes from the transport allocator, as callers of the
// remote interfaces expect, and is given back when the holder goes.

#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "RpcAllocator.h"

template <class T>
class TRpcArray {
public:
    TRpcArray() = default;
    TRpcArray(TRpcArray&& o) noexcept : m_pItems(std::exchange(o.m_pItems, nullptr)), m_ulCount(std::exchange(o.m_ulCount, 0)) {}
    TRpcArray& operator=(TRpcArray&& o) noexcept {
        if (this != &o) {
            Clear();
            m_pItems = std::exchange(o.m_pItems, nullptr);
            m_ulCount = std::exchange(o.m_ulCount, 0);
        }
        return *this;
    }
    TRpcArray(const TRpcArray&) = delete;
    TRpcArray& operator=(const TRpcArray&) = delete;
    ~TRpcArray() { Clear(); }

    // count value-initialised items; false (and empty) when memory runs out. A
    // count of 0 gives no storage at all.
    bool Allocate(std::uint32_t count) {
        Clear();
        if (count == 0) return true;
        void* block = RpcAlloc(sizeof(T) * count);
        if (!block) return false;
        m_pItems = static_cast<T*>(block);
        for (std::uint32_t i = 0; i < count; ++i) new (m_pItems + i) T();
        m_ulCount = count;
        return true;
    }
    void Clear() {
        for (std::uint32_t i = 0; i < m_ulCount; ++i) m_pItems[i].~T();
        RpcFree(m_pItems);
        m_pItems = nullptr;
        m_ulCount = 0;
    }

    std::uint32_t Count() const { return m_ulCount; }
    T* Items() { return m_pItems; }
    const T* Items() const { return m_pItems; }
    T& operator[](std::uint32_t i) { return m_pItems[i]; }
    const T& operator[](std::uint32_t i) const { return m_pItems[i]; }
    T* begin() { return m_pItems; }
    T* end() { return m_pItems + m_ulCount; }
    const T* begin() const { return m_pItems; }
    const T* end() const { return m_pItems + m_ulCount; }

private:
    T* m_pItems = nullptr;
    std::uint32_t m_ulCount = 0;
};

// A text allocated with the transport allocator; always NUL-terminated when set.
class CRpcText {
public:
    CRpcText() = default;
    explicit CRpcText(const char* text) { Assign(text); }

    bool Assign(const char* text) { return Assign(text, text ? static_cast<std::uint32_t>(std::strlen(text)) : 0); }
    // Copies n bytes and terminates them.
    bool Assign(const char* bytes, std::uint32_t n) {
        RpcUniqueBlock<char> block(static_cast<char*>(RpcAlloc(std::size_t{n} + 1)));
        if (!block) return false;
        if (n) std::memcpy(block.get(), bytes, n);
        block.get()[n] = '\0';
        m_text = std::move(block);
        return true;
    }
    // Takes a block that the caller allocated with the transport allocator.
    void Adopt(char* block) { m_text.reset(block); }
    char* Release() { return m_text.release(); }

    const char* Get() const { return m_text ? m_text.get() : ""; }
    bool IsSet() const { return static_cast<bool>(m_text); }

private:
    RpcUniqueBlock<char> m_text;
};
