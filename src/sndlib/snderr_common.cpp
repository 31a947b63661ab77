// The error table and its display policy, the busy-driver question, assertion
// reports and debugger output.

#include <cstdio>
#include <string>

#include "SndLib.h"

namespace {

constexpr const char* kModule = "snderr_common";
constexpr unsigned kTableEnd = 0xFFFF;

struct ErrorText {
    unsigned number;
    const char* text;
};

const ErrorText kErrors[] = {
    {0, "Sound Engine Fatal Error"},
    {1, "Cannot allocate main memory-block for sound engine"},
    {2, "Possible DeadLock with Sound Engine"},
    {3, "Detected Re-entrance in SoundLibrary"},
    {4, "Sound Engine cannot be used before initialization"},
    {5, "Sound Engine cannot be runned on this Machine. Missing component:"},
    {6, " text of the error # E_uwSndFatalError4"},
    {7, " Start of warning (this string should never be called)"},
    {8, "Warning: an error occured in SND library"},
    {9, "This sound file is obsolet"},
    {10, "Cannot allocate memory for sound data"},
    {11, "Cannot (re)allocate memory for sound data"},
    {12, "Cannot open file"},
    {13, "Error reading file"},
    {14, "INI file for Sound options cannot be found"},
    {15, "error while loading from script "},
    {16, "Cannot dynamically resolve function "},
    {17, "Cannot load DLL "},
    {19, " Missing Windows-Resource for Sound Library"},
    {21, " Too many Events for SOUND3D "},
    {22, " Invalid type of Sound Event "},
    {23, " Too many Voices for SNDPLAY "},
    {24, " Invalid type of Sound Resource "},
    {25, " Too many Voices for SNDSEQ"},
    {26, " Too many Voices for SNDXD "},
    {27, " Too many Voices for SNDSwitch"},
    {28, " Too many Voices for SNDSplits"},
    {29, " Invalid dynamic parameters for resource "},
    {30, " Invalid static parameters for resource "},
    {31, "Multi-threading not allowed with SoundLibrary"},
    {32, "Problem with your sound card"},
    {33, "Cannot create Wave thread"},
    {34, "Cannot create thread"},
    {35, "Cannot create user bank"},
    {36, "Mixer : No mixer available"},
    {37, "Mixer : No mixer Id available"},
    {38, "Mixer : Open command"},
    {39, "Mixer : Getcaps command"},
    {40, "Mixer : close command"},
    {41, "Sound Event is in no sound bank"},
    {42, "Bank containing sound event is not loaded"},
    {kTableEnd, nullptr},
};

// Process-wide and unguarded, like the switch.
int g_displayFlags[E_uwSndErrNumber] = {};

class CStderrPrompt final : public ISndPrompt {
public:
    void Message(const char* caption, const char* text) override { std::fprintf(stderr, "%s: %s\n", caption, text); }
    bool AskYesNo(const char* caption, const char* text) override {
        std::fprintf(stderr, "%s: %s (Yes)\n", caption, text);
        return true;
    }
    int AskRetryCancel(const char* caption, const char* text) override {
        std::fprintf(stderr, "%s: %s (Cancel)\n", caption, text);
        return 3;
    }
};

CStderrPrompt g_stderrPrompt;
ISndPrompt* g_prompt = &g_stderrPrompt;

const char* ErrorCaption(int number) {
    for (const ErrorText* e = kErrors; e->number != kTableEnd; ++e)
        if (static_cast<int>(e->number) == number) return e->text;
    return "Unknown error";
}

}  // namespace

bool SND_DisableDisplayError::ms_disabledDisplayError = false;

SND_DisableDisplayError::SND_DisableDisplayError() : m_bSaved(ms_disabledDisplayError) { ms_disabledDisplayError = true; }

SND_DisableDisplayError::~SND_DisableDisplayError() { ms_disabledDisplayError = m_bSaved; }

SND_DisableDisplayError& SND_DisableDisplayError::operator=(const SND_DisableDisplayError& other) {
    m_bSaved = other.m_bSaved;
    return *this;
}

bool SND_DisableDisplayError::IsDisplayErrorDisabled() { return ms_disabledDisplayError; }

void SND_SetPrompt(ISndPrompt* prompt) { g_prompt = prompt ? prompt : &g_stderrPrompt; }

extern "C" {

int SND_fn_vInitErrorSnd(void) {
    for (int& flag : g_displayFlags) flag = 1;
    return 1;
}

void SND_fn_vDesInitErrorSnd(void) {}

void SND_fn_vDisplayError(int eErrNum, const char* szText) { SND_fn_vDisplayErrorEx(eErrNum, szText, 1); }

int SND_fn_vDisplayErrorEx(int eErrNum, const char* szText, int iKind) {
    const bool valid = eErrNum >= 0 && eErrNum < E_uwSndErrNumber;
    if (!valid) {
        _snd_assert_message("(eErrNum>=0) && (eErrNum<E_uwSndErrNumber)", kModule, 138, "Invalid Error id");
        if (iKind != 1) return 0;
    }
    const char* caption = ErrorCaption(eErrNum);
    const char* text = szText ? szText : "";
    if (SND_DisableDisplayError::ms_disabledDisplayError) {
        if (iKind == 1 || iKind == 2) return 1;
        if (iKind == 3) {
            g_displayFlags[eErrNum] = 0;
            return 0;
        }
        return iKind - 3;
    }
    switch (iKind) {
    case 1:
        g_prompt->Message(caption, text);
        return 1;
    case 2:
        if (!g_displayFlags[eErrNum]) return 0;
        g_prompt->Message(caption, text);
        g_displayFlags[eErrNum] = 1;
        return 1;
    case 3: {
        if (!g_displayFlags[eErrNum]) return 0;
        g_prompt->Message(caption, text);
        const bool again = g_prompt->AskYesNo(
            "This error may occur many time from now !",
            "Do you want this error to be displayed next time ?\nNo = next occurence of this errror will only be "
            "listed in LOG file");
        g_displayFlags[eErrNum] = again ? 1 : 0;
        return g_displayFlags[eErrNum];
    }
    default:
        return iKind - 3;
    }
}

int SND_fn_iSoundDriverBusy(void) {
    return g_prompt->AskRetryCancel("Cannot initialize Sound Driver",
                                    "Your Sound-Driver is currently used by an other application.\nClose any "
                                    "application using your Sound-Driver and try again ...\nelse you'll not be able "
                                    "to hear any sounds or musics.");
}

void _snd_assert_message(const char* szExpression, const char* szFile, int iLine, const char* szMessage) {
    // The degree sign after "n" is written in this program's encoding (UTF-8).
    char caption[512];
    std::snprintf(caption, sizeof caption, "Sound-Assertion failed in %s (Line n\xC2\xB0 %d)\n", szFile ? szFile : "",
                  iLine);
    const std::string text = std::string(szExpression ? szExpression : "") + "\n" + (szMessage ? szMessage : "");
    _snd_debugger_output(caption);
    g_prompt->Message(caption, text.c_str());
    // Reported, then the caller goes on: an assertion never ends the program.
}

void _snd_assert(const char* szExpression, const char* szFile, int iLine) {
    _snd_assert_message(szExpression, szFile, iLine, "unknown cause; contact Sonderhall; thank you for your cooperation.");
}

void _snd_debugger_output(const char* szText) {
    std::fputs(szText ? szText : "", stderr);
    std::fflush(stderr);
}

}  // extern "C"
