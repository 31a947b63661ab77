#pragma once
// The steps that make a connection, in their order: the procedure the status
// dialog runs on a thread of its own, and the steps that follow on the user's
// thread once the dialog has closed.

#include <atomic>

#include "ConnectionDocument.h"
#include "ConnectionRecord.h"
#include "Prompt.h"

inline constexpr const char* QV_EXPECTED_ENGINE_VERSION = "22.2.1";

struct ConnectOutcome {
    RpcResult lResult = 0;   // 0 when connected
    int nErrorText = 0;      // string id to show (104 or 131), 0 when none
    bool bCancelled = false;
};

// Starts the link, connects to the record's engine on the calling thread and
// detaches that thread again. A cancel seen before the link is up, or right after
// it, ends the procedure with the link stopped.
ConnectOutcome RunConnectProcedure(IConnectionDocument& document, const CConnectionRecord& record,
                                   const std::atomic<bool>& cancel);

// On the user's thread after a successful procedure: attach the thread, tell the
// views, check the engine's version. A mismatch (or an unreadable version) is put
// to the user; on No the link is closed and false returned.
bool CompleteConnection(IConnectionDocument& document, IPrompt& prompt);
