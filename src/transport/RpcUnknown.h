#pragma once
// The reference-counted base of every transport object, proxy, stub and served
// object, an owning handle for such objects, and the one implementation of the
// counting that the concrete classes share.

#include <atomic>
#include <cstdint>
#include <new>
#include <utility>

#include "RpcAllocator.h"
#include "RpcGuid.h"
#include "RpcResult.h"

inline constexpr GUID IID_IRpcUnknown = MakeGuid("{CFAC2E06-4C2B-467D-ADA9-5AA3EEEEFFFF}");

struct IRpcUnknown {
    virtual std::int32_t AddRef() = 0;
    virtual std::int32_t Release() = 0;
    virtual RpcResult QueryInterface(const GUID* iid, void** out) = 0;

protected:
    virtual ~IRpcUnknown() = default;
};

// Owns one reference to T (anything with AddRef and Release).
template <class T>
class RpcPtr {
public:
    RpcPtr() = default;
    RpcPtr(std::nullptr_t) {}
    RpcPtr(const RpcPtr& o) : m_p(o.m_p) { if (m_p) m_p->AddRef(); }
    RpcPtr(RpcPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    template <class U>
    RpcPtr(RpcPtr<U>&& o) noexcept : m_p(o.Detach()) {}
    template <class U>
    RpcPtr(const RpcPtr<U>& o) : m_p(o.Get()) {
        if (m_p) m_p->AddRef();
    }
    ~RpcPtr() { Reset(); }

    RpcPtr& operator=(RpcPtr o) noexcept {
        std::swap(m_p, o.m_p);
        return *this;
    }

    // Takes over a reference the caller already owns (a creation reference, an out pointer).
    static RpcPtr Adopt(T* p) {
        RpcPtr r;
        r.m_p = p;
        return r;
    }
    // Adds a reference of its own.
    static RpcPtr Retain(T* p) {
        if (p) p->AddRef();
        return Adopt(p);
    }

    void Reset() {
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    // Gives the reference to the caller.
    [[nodiscard]] T* Detach() { return std::exchange(m_p, nullptr); }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    T& operator*() const { return *m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    friend bool operator==(const RpcPtr& a, const RpcPtr& b) { return a.m_p == b.m_p; }

    // Out-pointer slot for calls that hand back a new reference.
    void** PutVoid() {
        Reset();
        return reinterpret_cast<void**>(&m_p);
    }

private:
    T* m_p = nullptr;
};

// Object storage drawn from the transport allocator. Creation uses the nothrow
// form so that running out of memory becomes a result code, not an exception.
class CRpcAllocated {
public:
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return RpcAlloc(size); }
    static void* operator new(std::size_t size) {
        if (void* p = RpcAlloc(size)) return p;
        throw std::bad_alloc();
    }
    static void operator delete(void* p) noexcept { RpcFree(p); }
    static void operator delete(void* p, const std::nothrow_t&) noexcept { RpcFree(p); }
};

// Reference counting for a class that implements one or more IRpcUnknown-derived
// interfaces. The count starts at 1, owned by the creator.
template <class... Interfaces>
class TRpcObject : public Interfaces..., public CRpcAllocated {
public:
    std::int32_t AddRef() final { return m_lRefs.fetch_add(1, std::memory_order_relaxed) + 1; }
    std::int32_t Release() final {
        const std::int32_t left = m_lRefs.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0) delete this;
        return left;
    }

protected:
    TRpcObject() = default;
    virtual ~TRpcObject() = default;
    TRpcObject(const TRpcObject&) = delete;
    TRpcObject& operator=(const TRpcObject&) = delete;

private:
    std::atomic<std::int32_t> m_lRefs{1};
};

// An internal transport object that only answers for IRpcUnknown itself.
class CRpcInternalObject : public TRpcObject<IRpcUnknown> {
public:
    RpcResult QueryInterface(const GUID* iid, void** out) override {
        if (!iid || !out) return E_INVALIDARG;
        if (*iid == IID_IRpcUnknown) {
            AddRef();
            *out = static_cast<IRpcUnknown*>(this);
            return RPC_S_OK;
        }
        return RPC_E_NO_INTERFACE;
    }
};

// Creates a T with its creation reference, or none when memory runs out.
template <class T, class... Args>
RpcPtr<T> RpcMake(Args&&... args) {
    return RpcPtr<T>::Adopt(new (std::nothrow) T(std::forward<Args>(args)...));
}
