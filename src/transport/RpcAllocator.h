#pragma once
// The process-wide transport allocator. Transport buffers, remote objects and the
// texts and arrays that proxies hand to their callers all come from here, so that a
// caller frees such a result with RpcFree whichever module allocated it.

#include <cstddef>
#include <memory>

struct CRpcAllocator {
    void* (*pfnAllocate)(std::size_t size);
    void* (*pfnReallocate)(void* block, std::size_t size);
    void (*pfnFree)(void* block);
};

void* RpcAlloc(std::size_t size);
void* RpcRealloc(void* block, std::size_t size);
void RpcFree(void* block);

// Replaces the allocator for the rest of the process. Blocks allocated before the
// call must not be freed after it; install an allocator before any transport use.
void RpcInstallAllocator(const CRpcAllocator& allocator);

struct RpcFreeDeleter {
    void operator()(void* block) const { RpcFree(block); }
};
template <class T>
using RpcUniqueBlock = std::unique_ptr<T, RpcFreeDeleter>;
