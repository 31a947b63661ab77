// Plain allocation, copy and fill, the library check, and the allocator class.

#include <cstdlib>
#include <cstring>

#include "SndLib.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

namespace {
constexpr const char* kModule = "SndMem";
constexpr std::size_t kChunk = 16;
}  // namespace

extern "C" {

void* SND_fn_pvMallocSnd(std::size_t ulNbBytes) {
    if (ulNbBytes == 0) _snd_assert_message("ulNbBytes", kModule, 281, "MallocSnd called for 0 bytes.");
    void* tmp = std::malloc(ulNbBytes ? ulNbBytes : 1);
    if (!tmp) _snd_assert_message("tmp", kModule, 292, "Memory can not be allocated, may be memory is full");
    return tmp;
}

void* SND_fn_pvReAllocSnd(void* pvPtr, std::size_t ulNbBytes) { return std::realloc(pvPtr, ulNbBytes); }

void SND_fn_vFreeSnd(void* pvPtr) {
    if (!pvPtr) {
        _snd_assert_message("pvPtr!=NULL", kModule, 337, "FreeSnd called for NULL pointer");
        return;
    }
    std::free(pvPtr);
}

int SND_fn_bInitMallocSnd(void) {
#if defined(__x86_64__) || defined(__i386__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // __get_cpuid answers 0 when the processor has no identification instruction or no leaf 1.
    const bool mmx = __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & (1u << 23));
    if (!mmx) {
        SND_fn_vDisplayError(5, "This game require support for Intel MMX instructions");
        return 0;
    }
#endif
    return 1;
}

void SND_fn_vDesInitMallocSnd(void) {}

void SND_fn_vMemCopySnd(void* pvDest, const void* pvSrc, std::size_t ulCount) {
    auto* d = static_cast<unsigned char*>(pvDest);
    const auto* s = static_cast<const unsigned char*>(pvSrc);
    for (; ulCount >= kChunk; ulCount -= kChunk, d += kChunk, s += kChunk) std::memcpy(d, s, kChunk);
    while (ulCount--) *d++ = *s++;
}

void SND_fn_vMemMoveSnd(void* pvDest, const void* pvSrc, std::size_t ulCount) {
    if (ulCount) std::memmove(pvDest, pvSrc, ulCount);
}

void SND_fn_vMemsetSnd(void* pvDest, int iValue, std::size_t ulCount) {
    auto* d = static_cast<unsigned char*>(pvDest);
    unsigned char chunk[kChunk];
    std::memset(chunk, iValue, kChunk);
    for (; ulCount >= kChunk; ulCount -= kChunk, d += kChunk) std::memcpy(d, chunk, kChunk);
    while (ulCount--) *d++ = static_cast<unsigned char>(iValue);
}

}  // extern "C"

namespace NORV_NAMESPACE {

CNorvAllocator::CNorvAllocator() {}
CNorvAllocator::~CNorvAllocator() {}
CNorvAllocator& CNorvAllocator::operator=(const CNorvAllocator&) { return *this; }
void* CNorvAllocator::operator new(std::size_t size) { return SND_fn_pvMallocSnd(size); }
void* CNorvAllocator::operator new[](std::size_t size) { return SND_fn_pvMallocSnd(size); }
void* CNorvAllocator::operator new(std::size_t, void* place) { return place; }
void* CNorvAllocator::operator new[](std::size_t, void* place) { return place; }
void CNorvAllocator::operator delete(void* block) { SND_fn_vFreeSnd(block); }
void CNorvAllocator::operator delete[](void* block) { SND_fn_vFreeSnd(block); }
void CNorvAllocator::operator delete(void*, void*) {}
void CNorvAllocator::operator delete[](void*, void*) {}

}  // namespace NORV_NAMESPACE
