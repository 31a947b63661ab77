// Aligned allocation. The block handed out is preceded by a header of two
// pointer-wide slots: the requested size, then the address of the underlying
// plain block directly before the returned address.

#include <algorithm>
#include <cstdint>

#include "SndLib.h"

namespace {

constexpr const char* kModule = "sndmemaligned";
constexpr std::size_t kSlot = sizeof(void*);
constexpr std::size_t kHeader = 2 * kSlot;

std::size_t& SizeSlot(void* block) { return *reinterpret_cast<std::size_t*>(static_cast<char*>(block) - kHeader); }
void*& RawSlot(void* block) { return *reinterpret_cast<void**>(static_cast<char*>(block) - kSlot); }

}  // namespace

extern "C" {

void* SND_fn_pvMallocSndAligned(std::size_t ulNbBytes, std::size_t ulAlignment) {
    if (ulNbBytes == 0) {
        _snd_assert_message("nb_bytes", kModule, 20, "Malloc cannot be called to allocate 0 bytes");
        return nullptr;
    }
    if (ulAlignment == 0) ulAlignment = 1;
    // The header slots need pointer alignment whatever was asked for.
    const std::uintptr_t mask = (ulAlignment - 1) | (kSlot - 1);
    const std::size_t pad = ((ulAlignment - 1) / kSlot + 1) * kSlot;
    if (ulNbBytes > SIZE_MAX - pad - kHeader) return nullptr;
    void* raw = SND_fn_pvMallocSnd(ulNbBytes + pad + kHeader);
    if (!raw) return nullptr;
    const std::uintptr_t d = reinterpret_cast<std::uintptr_t>(raw) + kHeader;
    std::uintptr_t result = d & ~mask;
    if (d & mask) result += pad;
    void* block = reinterpret_cast<void*>(result);
    SizeSlot(block) = ulNbBytes;
    RawSlot(block) = raw;
    return block;
}

void SND_fn_vFreeSndAligned(void* pvPtr) {
    void* raw = pvPtr ? RawSlot(pvPtr) : nullptr;
    if (!raw) {
        _snd_assert_message("pvPtr!=NULL", "SndMem", 337, "FreeSnd called for NULL pointer");
        return;
    }
    SND_fn_vFreeSnd(raw);
}

void* SND_fn_pvReAllocSndAligned(void* pvPtr, std::size_t ulNbBytes, std::size_t ulAlignment) {
    if (ulNbBytes == 0) {
        _snd_assert_message("nb_bytes", kModule, 50, "ReAlloc cannot be called to allocate 0 bytes");
        if (pvPtr) SND_fn_vFreeSndAligned(pvPtr);
        return nullptr;
    }
    void* block = SND_fn_pvMallocSndAligned(ulNbBytes, ulAlignment);
    if (block && pvPtr) SND_fn_vMemCopySnd(block, pvPtr, std::min(ulNbBytes, SizeSlot(pvPtr)));
    if (pvPtr) SND_fn_vFreeSndAligned(pvPtr);
    return block;
}

}  // extern "C"
