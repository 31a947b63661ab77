// quorvel-cli: Quorvel's headless client. Connects to a Norv engine, checks its
// version, switches the listeners on and prints every notification that arrives.

#include <arpa/inet.h>
#include <netdb.h>

#include <atomic>
#include <cstdarg>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NotificationSources.h"
#include "QuorvelFactories.h"
#include "RpcInstance.h"

namespace {

constexpr const char* kExpectedVersion = "22.2.1";

std::atomic<bool> g_stop{false};
void OnSignal(int) { g_stop = true; }

struct Options {
    std::string csEngine = "127.0.0.1";
    std::int32_t lEnginePort = 12987;
    std::int32_t lLocalPort = 12988;
    std::vector<std::uint32_t> kinds = {NORV_LISTENER_EVENTS, NORV_LISTENER_RESOURCES, NORV_LISTENER_ATOMIC_LOADING,
                                        NORV_LISTENER_MIXER, NORV_LISTENER_SCENE};
    double rSeconds = 0;  // 0: until interrupted
};

const char* Usage() {
    return "Usage: quorvel-cli [options]\n"
           "Connects to a Norv engine and prints what it reports.\n"
           "\n"
           "  --engine HOST[:PORT]   the engine to connect to (default 127.0.0.1:12987)\n"
           "  --port N               the local port the engine calls back on (default 12988)\n"
           "  --log KINDS            comma-separated: events,resources,loading,mixer,scene (default all)\n"
           "  --duration SECONDS     stop after that long (default: run until interrupted)\n"
           "  --help                 show this text\n";
}

bool ParseKinds(const std::string& text, std::vector<std::uint32_t>* kinds) {
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
    return !kinds->empty();
}

bool Parse(int argc, char** argv, Options* o, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (name == "--help") {
            std::fputs(Usage(), stdout);
            std::exit(0);
        }
        if (!value) {
            *error = name == "--engine" || name == "--port" || name == "--log" || name == "--duration"
                         ? name + " needs a value"
                         : "unknown option " + name;
            return false;
        }
        ++i;
        if (name == "--engine") {
            std::string text = value;
            const auto colon = text.rfind(':');
            if (colon != std::string::npos) {
                o->lEnginePort = std::atoi(text.c_str() + colon + 1);
                text.resize(colon);
            }
            o->csEngine = text;
            if (o->lEnginePort <= 0 || o->lEnginePort > 65535 || text.empty()) {
                *error = std::string("not an engine address: ") + value;
                return false;
            }
        } else if (name == "--port") {
            o->lLocalPort = std::atoi(value);
            if (o->lLocalPort < 0 || o->lLocalPort > 65535) {
                *error = std::string("not a port: ") + value;
                return false;
            }
        } else if (name == "--log") {
            if (!ParseKinds(value, &o->kinds)) {
                *error = std::string("not a list of events,resources,loading,mixer,scene: ") + value;
                return false;
            }
        } else if (name == "--duration") {
            o->rSeconds = std::atof(value);
            if (o->rSeconds <= 0) {
                *error = std::string("not a duration in seconds: ") + value;
                return false;
            }
        } else {
            *error = "unknown option " + name;
            return false;
        }
    }
    return true;
}

// The engine's address as dotted text: the transport connects to addresses only.
bool Resolve(const std::string& host, std::string* dotted) {
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) == 1) {
        *dotted = host;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    char text[INET_ADDRSTRLEN];
    ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
    ::freeaddrinfo(found);
    *dotted = text;
    return true;
}

// Prints each notification as one line, stamped with the local time of day.
class PrintingSource : public IEventSource,
                       public IResourceSource,
                       public IAtomicLoadingSource,
                       public IMixerNoticeSource,
                       public ISceneSource {
public:
    RpcResult OnEvent(std::uint32_t id, std::uint32_t type, std::int32_t priority, std::int32_t object,
                      std::int32_t objectType) override {
        return Print("event     id 0X%X type %u priority %d object %d object type %d", id, type, priority, object,
                     objectType);
    }
    RpcResult OnResource(std::uint32_t id, std::uint32_t type, std::int32_t volume) override {
        return Print("resource  id 0X%X type %u volume %.2f dB", id, type, volume / 65536.0);
    }
    RpcResult OnAtomicLoading(std::uint32_t id, std::uint32_t type, std::uint32_t dataType) override {
        return Print("loading   object 0X%08X event %u data type 0X%08X", id, type, dataType);
    }
    RpcResult PostToTargets(std::uint32_t code, std::uint32_t value) override {
        return Print("mixer     notice %u resource 0X%X", code, value);
    }
    RpcResult UpdateScene(const TRpcArray<CPropSceneObjectRecord>& objects, const CVec3& mic, std::int32_t zone,
                          const CVec2&, const CVec2&) override {
        return Print("scene     %u objects, microphone at (%.1f, %.1f, %.1f) in zone %d", objects.Count(), mic.x, mic.y,
                     mic.z, zone);
    }
    RpcResult AddZone(const CPropZoneRecord& zone, std::int32_t id) override {
        return Print("scene     zone %d added: %u vertices, %u walls, %u occluders", id, zone.m_vertices.Count(),
                     zone.m_wallLines.Count(), zone.m_occluders.Count());
    }
    RpcResult RemoveZone(std::int32_t id) override { return Print("scene     zone %d removed", id); }
    RpcResult AddPortal(const CPropPortalRecord& p, std::int32_t id) override {
        return Print("scene     portal %d added between zones %d and %d", id, p.m_lZoneA, p.m_lZoneB);
    }
    RpcResult RemovePortal(std::int32_t id) override { return Print("scene     portal %d removed", id); }
    RpcResult SetOccluderValue(std::int32_t zone, std::int32_t occluder, float value) override {
        return Print("scene     occluder %d of zone %d at %.2f", occluder, zone, value);
    }
    RpcResult RenameOccluder(std::int32_t from, std::int32_t to) override {
        return Print("scene     occluder %d renamed %d", from, to);
    }

private:
    RpcResult Print(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        std::lock_guard lock(m_lock);
        std::printf("%02d:%02d:%02d ", local.tm_hour, local.tm_min, local.tm_sec);
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
        std::putchar('\n');
        std::fflush(stdout);
        return 0;
    }
    std::mutex m_lock;
};

RpcCookie RegisterFor(std::uint32_t kind, PrintingSource* source) {
    auto& cookies = CSourceCookies::Instance();
    switch (kind) {
    case NORV_LISTENER_EVENTS: return cookies.Register<IEventSource>(source);
    case NORV_LISTENER_RESOURCES: return cookies.Register<IResourceSource>(source);
    case NORV_LISTENER_ATOMIC_LOADING: return cookies.Register<IAtomicLoadingSource>(source);
    case NORV_LISTENER_MIXER: return cookies.Register<IMixerNoticeSource>(source);
    default: return cookies.Register<ISceneSource>(source);
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!Parse(argc, argv, &options, &error)) {
        std::fprintf(stderr, "quorvel-cli: %s\n\n%s", error.c_str(), Usage());
        return 2;
    }
    std::string engineAddress;
    if (!Resolve(options.csEngine, &engineAddress)) {
        std::fprintf(stderr, "quorvel-cli: cannot resolve the engine's host name %s\n", options.csEngine.c_str());
        return 1;
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    auto instance = CRpcInstance::Create();
    instance->RegisterFactory(CreateQuorvelFactory().Get());
    instance->RegisterFactory(CreateQuorvelSceneFactory().Get());
    RpcResult r = instance->Start(options.lLocalPort, RPC_PRIORITY_NORMAL);
    if (RpcFailed(r)) {
        std::fprintf(stderr, "quorvel-cli: cannot listen on port %d (0x%08X)\n", options.lLocalPort, unsigned(r));
        return 1;
    }
    // The notification objects run on the instance's main thread: the first one registered.
    std::atomic<bool> workerReady{false};
    std::thread worker([&] {
        instance->RegisterThread();
        workerReady = true;
        while (!g_stop) instance->WaitForMessages(5);
        instance->UnregisterThread();
    });
    while (!workerReady) std::this_thread::yield();
    instance->RegisterThread();

    int status = 0;
    PrintingSource printer;
    std::vector<std::pair<std::uint32_t, RpcCookie>> listening;
    {
        CRpcAddress address{};
        std::snprintf(address.szAddress, sizeof address.szAddress, "%s", engineAddress.c_str());
        address.lPort = options.lEnginePort;
        RpcPtr<INorvKeepAlive> keepAlive;
        RpcPtr<INorvMonitorManager> manager;
        r = instance->OpenRemote(&address, &INorvKeepAlive::CLSID, &INorvKeepAlive::IID, keepAlive.PutVoid());
        if (RpcSucceeded(r))
            r = instance->OpenRemote(&address, &INorvMonitorManager::CLSID, &INorvMonitorManager::IID, manager.PutVoid());
        CRpcFixedText version;
        if (RpcSucceeded(r)) r = manager->SetQuorvelAddress(instance->LocalAddress(), std::uint32_t(instance->ListeningPort()));
        if (RpcSucceeded(r)) r = manager->GetVersion(&version);
        if (RpcFailed(r)) {
            std::fprintf(stderr, "quorvel-cli: cannot reach the engine at %s:%d (0x%08X)\n", engineAddress.c_str(),
                         options.lEnginePort, unsigned(r));
            status = 1;
        } else {
            std::printf("quorvel-cli: connected to engine version %s at %s:%d%s\n", version.Get(),
                        engineAddress.c_str(), options.lEnginePort,
                        std::strcmp(version.Get(), kExpectedVersion) ? " (not the expected 22.2.1)" : "");
            std::fflush(stdout);
            for (std::uint32_t kind : options.kinds) {
                const RpcCookie cookie = RegisterFor(kind, &printer);
                r = manager->AddListener(kind, cookie);
                if (RpcFailed(r))
                    std::fprintf(stderr, "quorvel-cli: the engine refused listener kind %u (0x%08X)\n", kind, unsigned(r));
                listening.emplace_back(kind, cookie);
            }
            // Probe the engine every 3 s, as the connection worker does.
            const auto start = std::chrono::steady_clock::now();
            auto nextProbe = start;
            while (!g_stop && (options.rSeconds == 0 ||
                               std::chrono::steady_clock::now() - start < std::chrono::duration<double>(options.rSeconds))) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (std::chrono::steady_clock::now() < nextProbe) continue;
                nextProbe += std::chrono::seconds(3);
                if (RpcFailed(keepAlive->IsAlive()) && !g_stop) {
                    std::fprintf(stderr, "quorvel-cli: lost the connection to the engine\n");
                    status = 1;
                    break;
                }
            }
            for (const auto& [kind, cookie] : listening) manager->RemoveListener(kind);
        }
    }
    for (const auto& [kind, cookie] : listening) CSourceCookies::Instance().Unregister(cookie);
    g_stop = true;
    worker.join();
    instance->UnregisterThread();
    instance->Stop();
    return status;
}
