// norvsim: a simulated Norv engine for Quorvel to connect to.

#include <csignal>
#include <cstdio>

#include "SimOptions.h"
#include "Simulator.h"

namespace {
std::atomic<bool> g_stop{false};
void OnSignal(int) { g_stop = true; }
}  // namespace

int main(int argc, char** argv) {
    SimOptions options;
    bool help = false;
    std::string error;
    if (!SimParseOptions(argc, argv, &options, &help, &error)) {
        std::fprintf(stderr, "norvsim: %s\n\n%s", error.c_str(), SimUsage());
        return 2;
    }
    if (help) {
        std::fputs(SimUsage(), stdout);
        return 0;
    }
    if (!options.csEditorProject.empty()) {
        if (!SimWriteEditorProject(options.csEditorProject, &error)) {
            std::fprintf(stderr, "norvsim: %s\n", error.c_str());
            return 1;
        }
        std::printf("norvsim: wrote the sample editor project to %s\n", options.csEditorProject.c_str());
        return 0;
    }

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    CSimulator simulator(options);
    const RpcResult r = simulator.Start();
    if (RpcFailed(r)) {
        std::fprintf(stderr, "norvsim: cannot listen on port %d (0x%08X)\n", options.lPort, static_cast<unsigned>(r));
        return 1;
    }
    std::printf("norvsim: listening on port %d (version %s, seed %u%s)\n", simulator.Port(), options.csVersion.c_str(),
                options.ulSeed, options.bLoad ? ", load mode" : "");
    std::fflush(stdout);
    simulator.Run(g_stop);
    std::printf("%s\n", simulator.Summary().c_str());
    return 0;
}
