// Transport figures on loopback, each the median of several runs:
//  - the ceiling: plain blocking TCP sockets exchanging frames of the same sizes
//    (a request/answer round trip, and a one-way stream of 64-byte and 1 KiB frames);
//  - the transport: a two-way call with no arguments into an object served by the
//    peer's main thread, and streams of one-way calls of the same frame sizes,
//    counted when the served side has handled them;
//  - the ratios of the two.
//
// Usage: transport_bench [--runs N] [--calls N] [--messages N]

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "EchoObject.h"
#include "RawPeer.h"
#include "RpcFrame.h"
#include "ServingPeer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Frame sizes on the wire: a request with no arguments and its answer.
constexpr std::size_t kRequestFrame = 8 + 8 + 28;
constexpr std::size_t kAnswerFrame = kRequestFrame + 4;
constexpr std::size_t kCallOverhead = kRequestFrame;  // frame + link + call headers
constexpr std::size_t kSendBacklog = 256 * 1024;

struct Options {
    int runs = 5;
    int calls = 20000;
    int messages = 200000;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Measure(int runs, const std::function<double()>& once) {
    std::vector<double> figures;
    for (int i = 0; i < runs; ++i) figures.push_back(once());
    return Median(figures);
}

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// ---- the ceiling: plain blocking sockets -------------------------------------------

struct RawPair {
    RawConnection a, b;
    RawPair() {
        RawListener listener;
        a = RawConnection::ConnectTo(listener.Port());
        b = listener.Accept();
    }
};

bool ReadFully(int fd, std::uint8_t* p, std::size_t n) {
    while (n) {
        const ssize_t r = ::recv(fd, p, n, 0);
        if (r <= 0) return false;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

bool WriteFully(int fd, const std::uint8_t* p, std::size_t n) {
    while (n) {
        const ssize_t r = ::send(fd, p, n, MSG_NOSIGNAL);
        if (r <= 0) return false;
        p += r;
        n -= static_cast<std::size_t>(r);
    }
    return true;
}

// Reads one frame the way a simple framed reader does: header, then payload.
bool ReadFrame(int fd, std::vector<std::uint8_t>& buffer) {
    std::uint8_t header[8];
    if (!ReadFully(fd, header, 8)) return false;
    const std::uint32_t length = RpcLoad32(header + 4);
    buffer.resize(length);
    return ReadFully(fd, buffer.data(), length);
}

std::vector<std::uint8_t> RawFrame(std::size_t total) {
    std::vector<std::uint8_t> f(total, 0);
    RpcStore32(f.data(), FRAME_DATA);
    RpcStore32(f.data() + 4, static_cast<std::uint32_t>(total - 8));
    return f;
}

double RawRoundTripMicros(int calls) {
    RawPair pair;
    std::thread server([&] {
        std::vector<std::uint8_t> in;
        const auto answer = RawFrame(kAnswerFrame);
        while (ReadFrame(pair.b.Fd(), in))
            if (!WriteFully(pair.b.Fd(), answer.data(), answer.size())) break;
    });
    const auto request = RawFrame(kRequestFrame);
    std::vector<std::uint8_t> in;
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i) {
        WriteFully(pair.a.Fd(), request.data(), request.size());
        ReadFrame(pair.a.Fd(), in);
    }
    const double micros = Seconds(start) * 1e6 / calls;
    pair.a.Close();
    server.join();
    return micros;
}

double RawStreamPerSecond(int messages, std::size_t frameSize) {
    RawPair pair;
    std::atomic<int> received{0};
    std::thread server([&] {
        std::vector<std::uint8_t> in;
        while (received < messages && ReadFrame(pair.b.Fd(), in)) ++received;
    });
    const auto frame = RawFrame(frameSize);
    const auto start = Clock::now();
    for (int i = 0; i < messages; ++i) WriteFully(pair.a.Fd(), frame.data(), frame.size());
    server.join();
    return messages / Seconds(start);
}

// ---- the transport -------------------------------------------------------------------

double CallRoundTripMicros(int calls) {
    ServingPeer engine;
    CallingPeer quorvel;
    RpcPtr<ITestEcho> echo;
    if (OpenTestEcho(quorvel.Instance(), engine.Port(), &echo) != RPC_S_OK) return -1;
    std::vector<std::uint8_t> out;
    for (int i = 0; i < 100; ++i) echo->Echo({}, &out);  // warm up
    const auto start = Clock::now();
    for (int i = 0; i < calls; ++i)
        if (echo->Echo({}, &out) != 0) return -1;
    return Seconds(start) * 1e6 / calls;
}

double OneWayPerSecond(int messages, std::size_t frameSize) {
    ServingPeer engine;
    CallingPeer quorvel;
    RpcPtr<ITestEcho> echo;
    if (OpenTestEcho(quorvel.Instance(), engine.Port(), &echo) != RPC_S_OK) return -1;
    const std::vector<std::uint8_t> args(frameSize - kCallOverhead, 0x11);
    const std::uint32_t binding = TestEchoBindingId(echo.Get());
    TestEchoStats().notifications = 0;
    const auto start = Clock::now();
    for (int i = 0; i < messages; ++i) {
        // A blocking socket would make the raw sender wait here; ours waits for its backlog to drain.
        while (quorvel.Instance()->PendingSendBytes(binding) > kSendBacklog) std::this_thread::yield();
        echo->Notify(args);
    }
    while (TestEchoStats().notifications < messages) std::this_thread::sleep_for(std::chrono::microseconds(50));
    return messages / Seconds(start);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const int value = std::atoi(argv[i + 1]);
        if (name == "--runs") o.runs = std::max(1, value);
        if (name == "--calls") o.calls = std::max(1, value);
        if (name == "--messages") o.messages = std::max(1, value);
    }
    return o;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    std::printf("Transport on loopback: medians of %d runs, %d calls, %d one-way messages per run\n\n", o.runs,
                o.calls, o.messages);

    const double rawRtt = Measure(o.runs, [&] { return RawRoundTripMicros(o.calls); });
    const double callRtt = Measure(o.runs, [&] { return CallRoundTripMicros(o.calls); });
    std::printf("%-44s %12s %12s %8s\n", "", "raw sockets", "transport", "ratio");
    std::printf("%-44s %9.1f us %9.1f us %7.2fx   (target: at most 3x)\n", "two-way round trip", rawRtt, callRtt,
                callRtt / rawRtt);

    for (std::size_t size : {std::size_t{64}, std::size_t{1024}}) {
        const double raw = Measure(o.runs, [&] { return RawStreamPerSecond(o.messages, size); });
        const double oneWay = Measure(o.runs, [&] { return OneWayPerSecond(o.messages, size); });
        char label[64];
        std::snprintf(label, sizeof label, "one-way stream, %zu-byte frames (msg/s)", size);
        std::printf("%-44s %12.0f %12.0f %7.2fx   (target: at least 0.5x)\n", label, raw, oneWay, oneWay / raw);
    }
    return 0;
}
