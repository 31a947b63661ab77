#pragma once
// The sound library's memory and error services, exported by name from the
// shared library libquorvel_snd: allocation with assertion checks, aligned
// allocation, fast copy and fill, the error table with its per-error display
// policy, assertion reports, and three small classes.

#include <cstddef>

#define SND_EXPORT __attribute__((visibility("default")))

extern "C" {
SND_EXPORT void* SND_fn_pvMallocSnd(std::size_t ulNbBytes);
SND_EXPORT void* SND_fn_pvReAllocSnd(void* pvPtr, std::size_t ulNbBytes);
SND_EXPORT void SND_fn_vFreeSnd(void* pvPtr);
SND_EXPORT void* SND_fn_pvMallocSndAligned(std::size_t ulNbBytes, std::size_t ulAlignment);
SND_EXPORT void SND_fn_vFreeSndAligned(void* pvPtr);
SND_EXPORT void* SND_fn_pvReAllocSndAligned(void* pvPtr, std::size_t ulNbBytes, std::size_t ulAlignment);
SND_EXPORT int SND_fn_bInitMallocSnd(void);
SND_EXPORT void SND_fn_vDesInitMallocSnd(void);
SND_EXPORT void SND_fn_vDesInitErrorSnd(void);
SND_EXPORT void SND_fn_vMemCopySnd(void* pvDest, const void* pvSrc, std::size_t ulCount);
SND_EXPORT void SND_fn_vMemMoveSnd(void* pvDest, const void* pvSrc, std::size_t ulCount);
SND_EXPORT void SND_fn_vMemsetSnd(void* pvDest, int iValue, std::size_t ulCount);
SND_EXPORT int SND_fn_vInitErrorSnd(void);
SND_EXPORT void SND_fn_vDisplayError(int eErrNum, const char* szText);
SND_EXPORT int SND_fn_vDisplayErrorEx(int eErrNum, const char* szText, int iKind);
SND_EXPORT int SND_fn_iSoundDriverBusy(void);
SND_EXPORT void _snd_assert_message(const char* szExpression, const char* szFile, int iLine, const char* szMessage);
SND_EXPORT void _snd_assert(const char* szExpression, const char* szFile, int iLine);
SND_EXPORT void _snd_debugger_output(const char* szText);
}

// The number of error numbers, 0 to 43.
inline constexpr int E_uwSndErrNumber = 44;

// Where the library's message boxes and questions go. The application shows
// dialogs; without one, texts go to stderr and questions get their safe answer
// (Yes to "display next time", Cancel to the busy driver).
struct ISndPrompt {
    virtual void Message(const char* caption, const char* text) = 0;
    virtual bool AskYesNo(const char* caption, const char* text) = 0;
    // 2 retry, 3 cancel, 4 abort.
    virtual int AskRetryCancel(const char* caption, const char* text) = 0;

protected:
    ~ISndPrompt() = default;
};
SND_EXPORT void SND_SetPrompt(ISndPrompt* prompt);

namespace NORV_NAMESPACE {
// A class deriving from it takes its memory from the sound library.
class SND_EXPORT CNorvAllocator {
public:
    CNorvAllocator();
    ~CNorvAllocator();
    CNorvAllocator& operator=(const CNorvAllocator&);
    static void* operator new(std::size_t size);
    static void* operator new[](std::size_t size);
    static void* operator new(std::size_t size, void* place);
    static void* operator new[](std::size_t size, void* place);
    static void operator delete(void* block);
    static void operator delete[](void* block);
    static void operator delete(void* block, void* place);
    static void operator delete[](void* block, void* place);
};
}  // namespace NORV_NAMESPACE

// Cannot be placed on the heap: its allocation operators are private and give none.
class SND_EXPORT NorvObjectFactory {
public:
    NorvObjectFactory();
    NorvObjectFactory& operator=(const NorvObjectFactory& other);
    int Registered(int which) const { return which >= 0 && which < 4 ? m_aiInfo[which] : 0; }

private:
    void ResetRegisteredInfo();
    static void* operator new(std::size_t size) noexcept;
    static void* operator new[](std::size_t size) noexcept;
    static void* operator new(std::size_t size, void* place) noexcept;
    static void operator delete(void* block);
    static void operator delete[](void* block);
    static void operator delete(void* block, void* place);

    int m_aiInfo[4];
};

class SND_EXPORT SwitchOnAtomicLoadingPolicyPredicate {
public:
    SwitchOnAtomicLoadingPolicyPredicate() = default;
    SwitchOnAtomicLoadingPolicyPredicate& operator=(const SwitchOnAtomicLoadingPolicyPredicate&);

private:
    static void* operator new(std::size_t size) noexcept;
    static void* operator new[](std::size_t size) noexcept;
    static void* operator new(std::size_t size, void* place) noexcept;
    static void operator delete(void* block);
    static void operator delete[](void* block);
    static void operator delete(void* block, void* place);
};

// While one is alive, error displays show nothing; the previous state returns
// when it goes, so nested ones restore in reverse order.
class SND_EXPORT SND_DisableDisplayError {
public:
    SND_DisableDisplayError();
    ~SND_DisableDisplayError();
    SND_DisableDisplayError& operator=(const SND_DisableDisplayError& other);
    static bool IsDisplayErrorDisabled();

    static bool ms_disabledDisplayError;

private:
    bool m_bSaved;
};
