#include "SimOptions.h"

#include <charconv>
#include <cstring>

namespace {

template <class T>
bool ParseNumber(const char* text, T* value) {
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, *value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

const char* SimUsage() {
    return "Usage: norvsim [options]\n"
           "A simulated Norv engine that Quorvel can connect to.\n"
           "\n"
           "  --port N                     listen on TCP port N (default 12987; 0 picks a free port)\n"
           "  --version TEXT               the engine version reported to clients (default 22.2.1)\n"
           "  --seed N                     seed of the game (default 1); the same seed plays the same game\n"
           "  --event-rate N               sound events per second (default 5)\n"
           "  --load                       send each listener's notifications as fast as its link takes them\n"
           "  --duration SECONDS           stop after that long (default: run until interrupted)\n"
           "  --verbose                    print every call received, one line each\n"
           "  --write-editor-project FILE  write the sample editor project (LCB file) and exit\n"
           "  --help                       show this text\n";
}

bool SimParseOptions(int argc, char** argv, SimOptions* options, bool* help, std::string* error) {
    *help = false;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const auto need = [&](const char* what) {
            if (!value) *error = name + " needs " + what;
            return value != nullptr;
        };
        if (name == "--help" || name == "-h") {
            *help = true;
        } else if (name == "--load") {
            options->bLoad = true;
        } else if (name == "--verbose") {
            options->bVerbose = true;
        } else if (name == "--port") {
            if (!need("a port number")) return false;
            if (!ParseNumber(value, &options->lPort) || options->lPort < 0 || options->lPort > 65535) {
                *error = std::string("not a port number: ") + value;
                return false;
            }
            ++i;
        } else if (name == "--version") {
            if (!need("a version text")) return false;
            if (std::strlen(value) > 254) {
                *error = "the version text is longer than 254 characters";
                return false;
            }
            options->csVersion = value;
            ++i;
        } else if (name == "--seed") {
            if (!need("a number")) return false;
            if (!ParseNumber(value, &options->ulSeed)) {
                *error = std::string("not a seed: ") + value;
                return false;
            }
            ++i;
        } else if (name == "--event-rate") {
            if (!need("a number of events per second")) return false;
            if (!ParseNumber(value, &options->rEventRate) || options->rEventRate < 0 || options->rEventRate > 100000) {
                *error = std::string("not an event rate between 0 and 100000: ") + value;
                return false;
            }
            ++i;
        } else if (name == "--duration") {
            if (!need("a number of seconds")) return false;
            double seconds = 0;
            if (!ParseNumber(value, &seconds) || seconds <= 0 || seconds > 4e6) {
                *error = std::string("not a duration in seconds: ") + value;
                return false;
            }
            options->ulDurationMs = static_cast<std::uint32_t>(seconds * 1000);
            ++i;
        } else if (name == "--write-editor-project") {
            if (!need("a file name")) return false;
            options->csEditorProject = value;
            ++i;
        } else {
            *error = "unknown option " + name;
            return false;
        }
    }
    return true;
}
