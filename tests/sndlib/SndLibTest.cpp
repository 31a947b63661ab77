// The sound library's exported services: aligned blocks and their header, copy,
// move and fill, the error display policy, assertion reports, and the exported names.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "SndLib.h"

namespace {

class RecordingPrompt : public ISndPrompt {
public:
    struct Shown {
        std::string caption, text;
    };
    void Message(const char* caption, const char* text) override { shown.push_back({caption, text}); }
    bool AskYesNo(const char* caption, const char* text) override {
        questions.push_back({caption, text});
        return answerYes;
    }
    int AskRetryCancel(const char* caption, const char* text) override {
        questions.push_back({caption, text});
        return retryCancel;
    }
    std::vector<Shown> shown, questions;
    bool answerYes = true;
    int retryCancel = 3;
};

struct SndLib : ::testing::Test {
    void SetUp() override {
        SND_SetPrompt(&prompt);
        SND_fn_vInitErrorSnd();
    }
    void TearDown() override { SND_SetPrompt(nullptr); }
    RecordingPrompt prompt;
};

TEST_F(SndLib, AlignedBlocksCarryTheirSizeAndUnderlyingBlockInFront) {
    for (std::size_t alignment : {4u, 8u, 16u, 32u, 64u, 4096u}) {
        void* block = SND_fn_pvMallocSndAligned(10, alignment);
        ASSERT_NE(block, nullptr);
        const auto address = reinterpret_cast<std::uintptr_t>(block);
        EXPECT_EQ(address % alignment, 0u) << alignment;
        const std::size_t size = *reinterpret_cast<std::size_t*>(address - 2 * sizeof(void*));
        void* raw = *reinterpret_cast<void**>(address - sizeof(void*));
        EXPECT_EQ(size, 10u);
        EXPECT_GE(address, reinterpret_cast<std::uintptr_t>(raw) + 8) << "at least 8 bytes after the underlying block";
        std::memset(block, 0xAB, 10);  // the sanitizer checks that the 10 bytes are ours
        SND_fn_vFreeSndAligned(block);
    }
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(SndLib, AlignedReallocationKeepsTheBytesWhenGrowingAndShrinking) {
    auto* block = static_cast<unsigned char*>(SND_fn_pvMallocSndAligned(40, 16));
    for (int i = 0; i < 40; ++i) block[i] = static_cast<unsigned char>(i);
    block = static_cast<unsigned char*>(SND_fn_pvReAllocSndAligned(block, 1000, 64));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % 64, 0u);
    for (int i = 0; i < 40; ++i) EXPECT_EQ(block[i], i);
    block = static_cast<unsigned char*>(SND_fn_pvReAllocSndAligned(block, 7, 16));
    for (int i = 0; i < 7; ++i) EXPECT_EQ(block[i], i);
    EXPECT_EQ(SND_fn_pvReAllocSndAligned(block, 0, 16), nullptr) << "size 0 frees and reports";
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "nb_bytes\nReAlloc cannot be called to allocate 0 bytes");
    void* fresh = SND_fn_pvReAllocSndAligned(nullptr, 8, 8);  // from nothing
    ASSERT_NE(fresh, nullptr);
    SND_fn_vFreeSndAligned(fresh);
}

TEST_F(SndLib, BadCallsAreReportedAndTheProgramGoesOn) {
    EXPECT_EQ(SND_fn_pvMallocSndAligned(0, 16), nullptr);
    SND_fn_vFreeSndAligned(nullptr);
    SND_fn_vFreeSnd(nullptr);
    void* zero = SND_fn_pvMallocSnd(0);
    EXPECT_NE(zero, nullptr) << "a zero-size plain allocation is still made";
    SND_fn_vFreeSnd(zero);
    ASSERT_EQ(prompt.shown.size(), 4u);
    EXPECT_EQ(prompt.shown[0].caption, "Sound-Assertion failed in sndmemaligned (Line n\xC2\xB0 20)\n");
    EXPECT_EQ(prompt.shown[0].text, "nb_bytes\nMalloc cannot be called to allocate 0 bytes");
    EXPECT_EQ(prompt.shown[1].text, "pvPtr!=NULL\nFreeSnd called for NULL pointer");
    EXPECT_EQ(prompt.shown[2].caption, "Sound-Assertion failed in SndMem (Line n\xC2\xB0 337)\n");
    EXPECT_EQ(prompt.shown[3].text, "ulNbBytes\nMallocSnd called for 0 bytes.");
    _snd_assert("x > 0", "here.c", 7);
    EXPECT_EQ(prompt.shown.back().text, "x > 0\nunknown cause; contact Sonderhall; thank you for your cooperation.");
}

TEST_F(SndLib, CopyMoveAndFillEveryLengthAndOffset) {
    for (std::size_t length = 0; length <= 40; ++length) {
        for (std::size_t offset = 0; offset < 4; ++offset) {
            unsigned char source[64], target[64];
            for (int i = 0; i < 64; ++i) source[i] = static_cast<unsigned char>(i * 7 + 1), target[i] = 0xEE;
            SND_fn_vMemCopySnd(target + offset, source + 3, length);
            for (std::size_t i = 0; i < 64; ++i) {
                const bool inside = i >= offset && i < offset + length;
                ASSERT_EQ(target[i], inside ? source[3 + i - offset] : 0xEE) << length << "/" << offset << " at " << i;
            }
            // Overlapping moves in both directions, checked against a plain copy made first.
            for (int direction : {-1, 1}) {
                unsigned char buffer[96], expected[96];
                for (int i = 0; i < 96; ++i) buffer[i] = static_cast<unsigned char>(i);
                std::memcpy(expected, buffer, 96);
                const std::size_t from = 20 + offset, to = direction < 0 ? from - 3 : from + 5;
                std::memmove(expected + to, expected + from, length);
                SND_fn_vMemMoveSnd(buffer + to, buffer + from, length);
                ASSERT_EQ(std::memcmp(buffer, expected, 96), 0) << length << "/" << offset << " dir " << direction;
            }
            unsigned char filled[64];
            std::memset(filled, 0x11, 64);
            SND_fn_vMemsetSnd(filled + offset, 0x5A, length);
            for (std::size_t i = 0; i < 64; ++i)
                ASSERT_EQ(filled[i], i >= offset && i < offset + length ? 0x5A : 0x11);
        }
    }
}

TEST_F(SndLib, ErrorsShowTheirTableTextAsCaption) {
    EXPECT_EQ(SND_fn_vDisplayErrorEx(12, "level.snd", 1), 1);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].caption, "Cannot open file");
    EXPECT_EQ(prompt.shown[0].text, "level.snd");
    SND_fn_vDisplayError(18, "what?");
    EXPECT_EQ(prompt.shown.back().caption, "Unknown error");
    EXPECT_EQ(SND_fn_vDisplayErrorEx(7, "x", 9), 6) << "other kinds show nothing and answer kind - 3";
    // A number outside 0..43: the assertion, then kind 1 still shows, others do not.
    prompt.shown.clear();
    EXPECT_EQ(SND_fn_vDisplayErrorEx(44, "x", 1), 1);
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(prompt.shown[0].text, "(eErrNum>=0) && (eErrNum<E_uwSndErrNumber)\nInvalid Error id");
    EXPECT_EQ(prompt.shown[1].caption, "Unknown error");
    EXPECT_EQ(SND_fn_vDisplayErrorEx(-1, "x", 3), 0);
}

TEST_F(SndLib, AnsweringNoSilencesTheNumberUntilTheFlagsAreReset) {
    prompt.answerYes = false;
    EXPECT_EQ(SND_fn_vDisplayErrorEx(32, "card", 3), 0);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0].caption, "This error may occur many time from now !");
    const std::size_t shown = prompt.shown.size();
    EXPECT_EQ(SND_fn_vDisplayErrorEx(32, "card", 2), 0);
    EXPECT_EQ(SND_fn_vDisplayErrorEx(32, "card", 3), 0);
    EXPECT_EQ(prompt.shown.size(), shown);
    EXPECT_EQ(SND_fn_vDisplayErrorEx(33, "thread", 2), 1) << "other numbers are not affected";
    EXPECT_EQ(SND_fn_vInitErrorSnd(), 1);
    prompt.answerYes = true;
    EXPECT_EQ(SND_fn_vDisplayErrorEx(32, "card", 3), 1);
}

TEST_F(SndLib, DisablingDisplaysNestsAndRestoresInReverseOrder) {
    EXPECT_FALSE(SND_DisableDisplayError::IsDisplayErrorDisabled());
    {
        SND_DisableDisplayError outer;
        EXPECT_TRUE(SND_DisableDisplayError::IsDisplayErrorDisabled());
        {
            SND_DisableDisplayError inner;
            EXPECT_EQ(SND_fn_vDisplayErrorEx(1, "x", 1), 1);
            EXPECT_EQ(SND_fn_vDisplayErrorEx(1, "x", 2), 1);
            EXPECT_EQ(SND_fn_vDisplayErrorEx(2, "x", 3), 0);
        }
        EXPECT_TRUE(SND_DisableDisplayError::IsDisplayErrorDisabled());
    }
    EXPECT_FALSE(SND_DisableDisplayError::IsDisplayErrorDisabled());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(SND_fn_vDisplayErrorEx(2, "x", 2), 0) << "kind 3 while disabled cleared the flag";
}

TEST_F(SndLib, TheBusyDriverQuestionAnswersRetryOrCancel) {
    prompt.retryCancel = 2;
    EXPECT_EQ(SND_fn_iSoundDriverBusy(), 2);
    EXPECT_EQ(prompt.questions.back().caption, "Cannot initialize Sound Driver");
    prompt.retryCancel = 3;
    EXPECT_EQ(SND_fn_iSoundDriverBusy(), 3);
    EXPECT_EQ(SND_fn_bInitMallocSnd(), 1) << "every x86-64 processor has MMX";
}

struct Allocated : NORV_NAMESPACE::CNorvAllocator {
    int value[8];
};

TEST_F(SndLib, ExportedClassesBehave) {
    auto* object = new Allocated();  // through the sound library's allocation
    object->value[7] = 3;
    delete object;
    auto* array = new Allocated[3];
    delete[] array;
    NorvObjectFactory a, b;
    EXPECT_EQ(a.Registered(0), 1);
    EXPECT_EQ(a.Registered(1), 0);
    b = a;
    EXPECT_EQ(b.Registered(0), 1);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(SndLibExports, EveryNameOfTheLibraryIsInItsDynamicSymbolTable) {
    const std::string command = "nm -D --defined-only '" QUORVEL_SND_LIBRARY "' | c++filt";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string symbols;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) symbols += line;
    ::pclose(pipe);
    const char* names[] = {
        "SND_fn_pvMallocSnd", "SND_fn_pvReAllocSnd", "SND_fn_vFreeSnd", "SND_fn_pvMallocSndAligned",
        "SND_fn_vFreeSndAligned", "SND_fn_pvReAllocSndAligned", "SND_fn_bInitMallocSnd", "SND_fn_vDesInitMallocSnd",
        "SND_fn_vDesInitErrorSnd", "SND_fn_vMemCopySnd", "SND_fn_vMemMoveSnd", "SND_fn_vMemsetSnd",
        "SND_fn_vInitErrorSnd", "SND_fn_vDisplayError", "SND_fn_vDisplayErrorEx", "SND_fn_iSoundDriverBusy",
        "_snd_assert_message", "_snd_assert", "_snd_debugger_output",
        "NORV_NAMESPACE::CNorvAllocator::CNorvAllocator()", "NORV_NAMESPACE::CNorvAllocator::operator new(",
        "NORV_NAMESPACE::CNorvAllocator::operator delete(", "NorvObjectFactory::NorvObjectFactory()",
        "NorvObjectFactory::operator=(", "SwitchOnAtomicLoadingPolicyPredicate::operator=(",
        "SND_DisableDisplayError::SND_DisableDisplayError()", "SND_DisableDisplayError::~SND_DisableDisplayError()",
        "SND_DisableDisplayError::IsDisplayErrorDisabled()", "SND_DisableDisplayError::ms_disabledDisplayError",
    };
    for (const char* name : names) EXPECT_NE(symbols.find(name), std::string::npos) << name;
    // The C functions keep their plain names.
    EXPECT_NE(symbols.find(" T SND_fn_pvMallocSnd\n"), std::string::npos);
}

}  // namespace
