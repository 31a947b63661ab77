#include "RpcAllocator.h"

#include <atomic>
#include <cstdlib>

namespace {
const CRpcAllocator kHeapAllocator = {
    [](std::size_t size) { return std::malloc(size ? size : 1); },
    [](void* block, std::size_t size) { return std::realloc(block, size ? size : 1); },
    [](void* block) { std::free(block); },
};
std::atomic<const CRpcAllocator*> g_allocator{&kHeapAllocator};
CRpcAllocator g_installed;
}  // namespace

void* RpcAlloc(std::size_t size) { return g_allocator.load(std::memory_order_acquire)->pfnAllocate(size); }

void* RpcRealloc(void* block, std::size_t size) {
    return g_allocator.load(std::memory_order_acquire)->pfnReallocate(block, size);
}

void RpcFree(void* block) {
    if (block) g_allocator.load(std::memory_order_acquire)->pfnFree(block);
}

void RpcInstallAllocator(const CRpcAllocator& allocator) {
    g_installed = allocator;
    g_allocator.store(&g_installed, std::memory_order_release);
}
