// quorvel-cli connect: connect to an engine the way the status dialog does, check
// its version, optionally log what it reports, and notice when it goes away.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "CliCommands.h"
#include "CliPrompt.h"
#include "AtomicLoadingCommander.h"
#include "ConnectProcedure.h"
#include "ObjectCommander.h"
#include "VoiceListCommander.h"
#include "PrintingSource.h"
#include "QueueDrain.h"
#include "RecordPrinter.h"
#include "QuorvelDoc.h"
#include "StringTable.h"

namespace {

std::atomic<bool> g_interrupted{false};
void OnSignal(int) { g_interrupted = true; }

// The main frame's part: messages posted to it are handled on the main thread.
class CCliFrame final : public IMessageTarget {
public:
    void PostMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t) override {
        {
            std::lock_guard lock(m_lock);
            m_messages.push_back({message, wParam});
        }
        m_cv.notify_all();
    }
    void SendMessage(std::uint32_t, std::uintptr_t, std::intptr_t) override {}  // the status bar: nothing to redraw
    struct Message {
        std::uint32_t ulMessage = 0;  // 0 when none came within the time-out
        std::uintptr_t wParam = 0;
    };
    Message Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(m_lock);
        if (!m_cv.wait_for(lock, timeout, [this] { return !m_messages.empty(); })) return {};
        const Message message = m_messages.front();
        m_messages.pop_front();
        return message;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_cv;
    std::deque<Message> m_messages;
};

struct ConnectOptions {
    std::string csRecord;
    std::string csAddress;
    std::string csPort;
    std::int32_t lLocalPort = -1;  // the project's unless given
    bool bAcceptMismatch = false;
    bool bJson = false;
    double rSeconds = 0;
    std::vector<std::uint32_t> logKinds;
    std::string csProject;
    std::string csSaveProject;
    bool bPollVoices = false, bPollObjects = false, bPollLoaded = false;
    int nIntervalMs = 500;
};

bool ParsePolls(const std::string& text, ConnectOptions* o) {
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string name = text.substr(start, end - start);
        if (name == "voices") o->bPollVoices = true;
        else if (name == "objects") o->bPollObjects = true;
        else if (name == "loaded") o->bPollLoaded = true;
        else return false;
        start = end + 1;
    }
    return true;
}

bool ParseKinds(const std::string& text, std::vector<std::uint32_t>* kinds) {
    if (text == "all") {
        *kinds = {NORV_LISTENER_EVENTS, NORV_LISTENER_RESOURCES, NORV_LISTENER_ATOMIC_LOADING, NORV_LISTENER_MIXER,
                  NORV_LISTENER_SCENE};
        return true;
    }
    kinds->clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(',', start), text.size());
        const std::string name = text.substr(start, end - start);
        if (name == "events") kinds->push_back(NORV_LISTENER_EVENTS);
        else if (name == "resources") kinds->push_back(NORV_LISTENER_RESOURCES);
        else if (name == "loading") kinds->push_back(NORV_LISTENER_ATOMIC_LOADING);
        else if (name == "mixer") kinds->push_back(NORV_LISTENER_MIXER);
        else if (name == "scene") kinds->push_back(NORV_LISTENER_SCENE);
        else return false;
        start = end + 1;
    }
    return true;
}

int Usage(const std::string& text) {
    std::fprintf(stderr, "quorvel-cli: %s (see --help)\n", text.c_str());
    return CLI_USAGE;
}

int ParseConnect(const std::vector<std::string>& args, ConnectOptions* o) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--accept-version-mismatch") {
            o->bAcceptMismatch = true;
        } else if (a == "--json") {
            o->bJson = true;
        } else if (a == "--address" && hasValue) {
            o->csAddress = args[++i];
        } else if (a == "--port" && hasValue) {
            o->csPort = args[++i];
        } else if (a == "--local-port" && hasValue) {
            const std::string& v = args[++i];
            o->lLocalPort = std::atoi(v.c_str());
            if (o->lLocalPort < 0 || o->lLocalPort > 65535 || std::to_string(o->lLocalPort) != v)
                return Usage("not a local port: " + v);
        } else if (a == "--for-seconds" && hasValue) {
            o->rSeconds = std::atof(args[++i].c_str());
            if (o->rSeconds <= 0) return Usage("not a number of seconds: " + args[i]);
        } else if (a == "--project" && hasValue) {
            o->csProject = args[++i];
        } else if (a == "--save-project" && hasValue) {
            o->csSaveProject = args[++i];
        } else if (a == "--poll" && hasValue) {
            if (!ParsePolls(args[++i], o)) return Usage("not a list of voices,objects,loaded: " + args[i]);
        } else if (a == "--interval-ms" && hasValue) {
            const std::string& v = args[++i];
            o->nIntervalMs = std::atoi(v.c_str());
            if (o->nIntervalMs < 10 || o->nIntervalMs > 3600000 || std::to_string(o->nIntervalMs) != v)
                return Usage("not an interval of 10 to 3600000 ms: " + v);
        } else if (a == "--log" && hasValue) {
            if (!ParseKinds(args[++i], &o->logKinds)) return Usage("not a list of events,resources,loading,mixer,scene: " + args[i]);
        } else if (a.rfind("--", 0) != 0 && o->csRecord.empty()) {
            o->csRecord = a;
        } else {
            return Usage("connect: unknown option or missing value: " + a);
        }
    }
    if (!o->csRecord.empty() && !o->csAddress.empty()) return Usage("give a record name or --address, not both");
    if (o->csAddress.empty() != o->csPort.empty()) return Usage("--address and --port go together");
    return CLI_OK;
}

}  // namespace

int CliConnect(const std::vector<std::string>& args) {
    ConnectOptions options;
    if (const int bad = ParseConnect(args, &options); bad != CLI_OK) return bad;

    CCliPrompt prompt(options.bAcceptMismatch);
    CCliFrame frame;
    CQuorvelDoc document(CKeyStore::User(), &prompt);
    document.SetFrame(&frame);
    if (options.csProject.empty()) {
        document.OnNewDocument();
    } else if (!document.OnOpenDocument(options.csProject)) {
        std::fprintf(stderr, "quorvel-cli: cannot open the project \"%s\"\n", options.csProject.c_str());
        return CLI_FILE_FAILED;
    }
    if (options.lLocalPort >= 0) document.m_lLocalQuorvelTCPPort = options.lLocalPort;
    CConnectionViewDoc& records = *document.Connections();

    CConnectionRecord record;
    if (!options.csAddress.empty()) {
        record = {"Command line", options.csAddress, "", options.csPort};
    } else if (!options.csRecord.empty()) {
        const int index = records.FindByName(options.csRecord);
        if (index < 0) {
            std::fprintf(stderr, "quorvel-cli: no connection record named \"%s\"\n", options.csRecord.c_str());
            return CLI_NO_SUCH_RECORD;
        }
        record = *records.GetRecord(static_cast<std::size_t>(index));
    } else {
        record = records.GetRecordOrDefault(records.Count());
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    const std::atomic<bool> cancel{false};
    const ConnectOutcome outcome = RunConnectProcedure(document, record, cancel);
    if (outcome.nErrorText) {
        std::fprintf(stderr, "quorvel-cli: %s (%s at %s:%s, 0x%08X)\n", QvString(outcome.nErrorText),
                     record.csName.c_str(), record.csAddress.c_str(), record.csPort.c_str(),
                     static_cast<unsigned>(outcome.lResult));
        return outcome.nErrorText == IDS_CANNOT_INITIALIZE_RPC ? CLI_CANNOT_START_LINK : CLI_CANNOT_CONNECT;
    }
    if (!CompleteConnection(document, prompt)) return CLI_VERSION_REFUSED;
    std::string version;
    document.GetEngineVersion(&version);
    std::printf("quorvel-cli: connected to \"%s\" (%s:%d), engine version %s\n", record.csName.c_str(),
                document.Worker().EngineAddress().c_str(), document.Worker().EnginePort(), version.c_str());
    std::fflush(stdout);

    // Events, resources and loading go through the project's logger sources and a
    // view queue, as in the application; the mixer and scene notices are printed
    // as they come. Polls go through the project's commanders.
    CRecordPrinter recordPrinter(document, options.bJson);
    CPrintingSource printer;
    std::vector<CLoggerSource*> switchedOn;
    std::vector<std::pair<std::uint32_t, RpcCookie>> listening;
    RpcPtr<INorvMonitorManager> manager;
    for (std::uint32_t kind : options.logKinds) {
        CLoggerSource* source = kind == NORV_LISTENER_EVENTS            ? document.GetLoggerSource(1)
                                : kind == NORV_LISTENER_RESOURCES       ? document.GetLoggerSource(2)
                                : kind == NORV_LISTENER_ATOMIC_LOADING ? document.GetLoggerSource(6)
                                                                        : nullptr;
        RpcResult r;
        if (source) {
            source->AddQueue(&frame, WM_INFO_QUEUE);
            r = source->Enable(true);
            if (RpcSucceeded(r)) switchedOn.push_back(source);
        } else {
            if (!manager) document.GetEngineInfo(&manager);
            const RpcCookie cookie = printer.Register(kind);
            listening.emplace_back(kind, cookie);
            r = manager ? manager->AddListener(kind, cookie) : CONN_E_NOT_CONNECTED;
        }
        if (RpcFailed(r)) std::fprintf(stderr, "quorvel-cli: the engine refused listener kind %u (0x%08X)\n", kind, unsigned(r));
    }

    auto* voices = document.GetCommanderOf<CVoiceListCommander>(4);
    auto* objects = document.GetCommanderOf<CObjectCommander>(3);
    auto* loaded = document.GetCommanderOf<CAtomicLoadingCommander>(2);
    for (auto [wanted, commander] : {std::pair<bool, CEngineCommander*>{options.bPollVoices, voices},
                                     {options.bPollObjects, objects},
                                     {options.bPollLoaded, loaded}}) {
        if (!wanted) continue;
        const RpcResult r = commander->Enable(true);
        if (RpcFailed(r))
            std::fprintf(stderr, "quorvel-cli: cannot enable %s (0X%X)\n", commander->GetName().c_str(), unsigned(r));
    }
    const bool polling = options.bPollVoices || options.bPollObjects || options.bPollLoaded;
    const auto interval = std::chrono::milliseconds(options.nIntervalMs);
    auto nextPoll = std::chrono::steady_clock::now();

    int status = CLI_OK;
    const auto start = std::chrono::steady_clock::now();
    while (!g_interrupted && (options.rSeconds == 0 || std::chrono::steady_clock::now() - start <
                                                           std::chrono::duration<double>(options.rSeconds))) {
        if (polling && std::chrono::steady_clock::now() >= nextPoll) {
            nextPoll += interval;
            if (options.bPollVoices && voices->IsEnabled() && RpcSucceeded(voices->Poll()))
                recordPrinter.PrintVoices(voices->CopyVoiceList());
            if (options.bPollObjects && objects->IsEnabled()) {
                objects->Poll();
                recordPrinter.PrintObjects(objects->CopyMicroList(), objects->CopyObjectList());
            }
            if (options.bPollLoaded && loaded->IsEnabled() && RpcSucceeded(loaded->Poll()))
                recordPrinter.PrintLoaded(loaded->Loaded());
        }
        auto wait = std::chrono::milliseconds(50);
        if (polling)
            wait = std::clamp(std::chrono::duration_cast<std::chrono::milliseconds>(nextPoll - std::chrono::steady_clock::now()),
                              std::chrono::milliseconds(0), wait);
        const CCliFrame::Message message = frame.Wait(wait);
        if (message.ulMessage == WM_INFO_QUEUE) {
            DrainQueue(*reinterpret_cast<CInfoQueue*>(message.wParam), frame, WM_INFO_QUEUE,
                       [&](CInfoContainer* record) { recordPrinter.PrintRecord(*record); });
        } else if (message.ulMessage == UM_CONNECTION_LOST) {
            std::fprintf(stderr, "quorvel-cli: the connection to the engine was lost\n");
            status = CLI_CONNECTION_LOST;
            break;
        }
    }
    if (status == CLI_OK) {
        for (CLoggerSource* source : switchedOn) source->Enable(false);
        if (manager)
            for (const auto& [kind, cookie] : listening) manager->RemoveListener(kind);
    }
    for (int kind : {1, 2, 6}) document.GetLoggerSource(kind)->RemoveQueue(&frame);
    manager.Reset();
    document.Disconnect();
    document.StopLink();
    for (const auto& [kind, cookie] : listening) CSourceCookies::Instance().Unregister(cookie);
    if (!options.csSaveProject.empty() && !document.OnSaveDocument(options.csSaveProject)) {
        std::fprintf(stderr, "quorvel-cli: cannot write the project \"%s\"\n", options.csSaveProject.c_str());
        return CLI_FILE_FAILED;
    }
    return status;
}
