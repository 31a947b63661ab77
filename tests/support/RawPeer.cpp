#include "RawPeer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>

namespace {
sockaddr_in Loopback(std::int32_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
}

int Remaining(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}
}  // namespace

RawConnection RawConnection::ConnectTo(std::int32_t port) {
    CRpcSocket s(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    const sockaddr_in a = Loopback(port);
    if (::connect(s.Fd(), reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) return {};
    const int one = 1;
    ::setsockopt(s.Fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return RawConnection(std::move(s));
}

bool RawConnection::Send(const Bytes& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(m_socket.Fd(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<Bytes> RawConnection::Read(std::size_t n, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    Bytes out(n);
    std::size_t got = 0;
    while (got < n) {
        pollfd p{m_socket.Fd(), POLLIN, 0};
        if (::poll(&p, 1, Remaining(deadline)) <= 0) return std::nullopt;
        const ssize_t r = ::recv(m_socket.Fd(), out.data() + got, n - got, 0);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return std::nullopt;
        got += static_cast<std::size_t>(r);
    }
    return out;
}

std::optional<Bytes> RawConnection::ReadFrame(int timeoutMs) {
    auto header = Read(8, timeoutMs);
    if (!header) return std::nullopt;
    auto payload = Read(Get32(*header, 4), timeoutMs);
    if (!payload) return std::nullopt;
    header->insert(header->end(), payload->begin(), payload->end());
    return header;
}

bool RawConnection::WaitClosed(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::uint8_t sink[4096];
    for (;;) {
        pollfd p{m_socket.Fd(), POLLIN, 0};
        if (::poll(&p, 1, Remaining(deadline)) <= 0) return false;
        const ssize_t r = ::recv(m_socket.Fd(), sink, sizeof sink, 0);
        if (r == 0 || (r < 0 && errno != EINTR)) return true;
    }
}

bool RawConnection::Quiet(int timeoutMs) {
    pollfd p{m_socket.Fd(), POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) == 0;
}

RawListener::RawListener() : m_socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    sockaddr_in a = Loopback(0);
    socklen_t size = sizeof a;
    if (::bind(m_socket.Fd(), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && ::listen(m_socket.Fd(), 8) == 0 &&
        ::getsockname(m_socket.Fd(), reinterpret_cast<sockaddr*>(&a), &size) == 0)
        m_lPort = ntohs(a.sin_port);
}

RawConnection RawListener::Accept(int timeoutMs) {
    pollfd p{m_socket.Fd(), POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return {};
    CRpcSocket s(::accept4(m_socket.Fd(), nullptr, nullptr, SOCK_CLOEXEC));
    const int one = 1;
    ::setsockopt(s.Fd(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return RawConnection(std::move(s));
}

void Put32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutGuid(Bytes& out, const GUID& g) {
    std::uint8_t b[16];
    GuidToBytes(g, b);
    out.insert(out.end(), b, b + 16);
}

Bytes Frame(std::uint32_t tag, const Bytes& payload) {
    Bytes out;
    Put32(out, tag);
    Put32(out, static_cast<std::uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes LinkMessage(std::uint32_t kind, const Bytes& body) {
    Bytes out;
    Put32(out, kind);
    Put32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes DataFrame(std::uint32_t kind, const Bytes& body) { return Frame(0xF0000001u, LinkMessage(kind, body)); }

Bytes CallBody(std::uint32_t method, const GUID& iid, std::uint32_t callId, const Bytes& values) {
    Bytes out;
    Put32(out, method);
    PutGuid(out, iid);
    Put32(out, static_cast<std::uint32_t>(values.size()));
    Put32(out, callId);
    out.insert(out.end(), values.begin(), values.end());
    return out;
}

Bytes FromHex(const char* hex) {
    Bytes out;
    while (*hex) {
        if (std::isxdigit(static_cast<unsigned char>(hex[0])) && std::isxdigit(static_cast<unsigned char>(hex[1]))) {
            const char pair[3] = {hex[0], hex[1], 0};
            out.push_back(static_cast<std::uint8_t>(std::strtoul(pair, nullptr, 16)));
            hex += 2;
        } else {
            ++hex;
        }
    }
    return out;
}

std::uint32_t Get32(const Bytes& b, std::size_t offset) {
    return static_cast<std::uint32_t>(b[offset]) | static_cast<std::uint32_t>(b[offset + 1]) << 8 |
           static_cast<std::uint32_t>(b[offset + 2]) << 16 | static_cast<std::uint32_t>(b[offset + 3]) << 24;
}
