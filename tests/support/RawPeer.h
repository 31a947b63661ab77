#pragma once
// A peer made of plain blocking sockets, for tests that must see or shape the exact
// bytes on the wire. Everything here binds and connects on 127.0.0.1 only.

#include <cstdint>
#include <optional>
#include <vector>

#include "RpcGuid.h"
#include "RpcSocket.h"

using Bytes = std::vector<std::uint8_t>;

class RawConnection {
public:
    RawConnection() = default;
    explicit RawConnection(CRpcSocket socket) : m_socket(std::move(socket)) {}
    static RawConnection ConnectTo(std::int32_t port);

    bool IsValid() const { return m_socket.IsValid(); }
    int Fd() const { return m_socket.Fd(); }
    bool Send(const Bytes& bytes);
    // Exactly n bytes, or none when the time-out passes or the peer closes first.
    std::optional<Bytes> Read(std::size_t n, int timeoutMs = 5000);
    // One whole frame (header included).
    std::optional<Bytes> ReadFrame(int timeoutMs = 5000);
    // True when the peer closed the connection within the time-out.
    bool WaitClosed(int timeoutMs = 5000);
    // True when nothing arrives within the time-out and the connection stays open.
    bool Quiet(int timeoutMs);
    void Close() { m_socket.Close(); }

private:
    CRpcSocket m_socket;
};

class RawListener {
public:
    RawListener();  // listens on a free port of 127.0.0.1
    std::int32_t Port() const { return m_lPort; }
    RawConnection Accept(int timeoutMs = 5000);

private:
    CRpcSocket m_socket;
    std::int32_t m_lPort = -1;
};

// Wire builders.
void Put32(Bytes& out, std::uint32_t v);
void PutGuid(Bytes& out, const GUID& g);
Bytes Frame(std::uint32_t tag, const Bytes& payload);
Bytes LinkMessage(std::uint32_t kind, const Bytes& body);
Bytes DataFrame(std::uint32_t kind, const Bytes& body);  // a data frame holding one link message
Bytes CallBody(std::uint32_t method, const GUID& iid, std::uint32_t callId, const Bytes& values);
Bytes FromHex(const char* hex);  // "01 00 00 F0 ..."
std::uint32_t Get32(const Bytes& b, std::size_t offset);
