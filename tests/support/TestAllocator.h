#pragma once
// A transport allocator for tests: the process heap underneath, with a count of
// allocations and a switch that makes every allocation fail. Installing it is safe
// at any time because it shares the heap with the default allocator.

#include <atomic>
#include <cstdlib>

#include "RpcAllocator.h"

class TestAllocator {
public:
    static TestAllocator& Install() {
        static TestAllocator allocator;
        return allocator;
    }
    std::size_t Allocations() const { return m_allocations.load(); }
    void FailFromNowOn(bool fail) { m_bFail = fail; }

    // Fails allocations while alive.
    struct Failing {
        Failing() { Install().FailFromNowOn(true); }
        ~Failing() { Install().FailFromNowOn(false); }
    };

private:
    TestAllocator() {
        RpcInstallAllocator(CRpcAllocator{
            [](std::size_t n) -> void* {
                if (Install().m_bFail) return nullptr;
                ++Install().m_allocations;
                return std::malloc(n ? n : 1);
            },
            [](void* p, std::size_t n) -> void* {
                if (Install().m_bFail) return nullptr;
                ++Install().m_allocations;
                return std::realloc(p, n ? n : 1);
            },
            [](void* p) { std::free(p); },
        });
    }
    std::atomic<std::size_t> m_allocations{0};
    std::atomic<bool> m_bFail{false};
};
