#pragma once
// The thin layer between the transport and POSIX sockets: an owning socket handle,
// the counted start of the socket layer, and the few socket calls the endpoints make.

#include <sys/types.h>

#include <cstddef>
#include <utility>

class CRpcSocket {
public:
    CRpcSocket() = default;
    explicit CRpcSocket(int fd) : m_fd(fd) {}
    CRpcSocket(CRpcSocket&& o) noexcept : m_fd(std::exchange(o.m_fd, -1)) {}
    CRpcSocket& operator=(CRpcSocket&& o) noexcept {
        if (this != &o) {
            Close();
            m_fd = std::exchange(o.m_fd, -1);
        }
        return *this;
    }
    CRpcSocket(const CRpcSocket&) = delete;
    CRpcSocket& operator=(const CRpcSocket&) = delete;
    ~CRpcSocket() { Close(); }

    int Fd() const { return m_fd; }
    bool IsValid() const { return m_fd >= 0; }
    void Close();

private:
    int m_fd = -1;
};

// Starting the socket layer on POSIX only counts; it always succeeds.
bool RpcSocketLayerStart();
void RpcSocketLayerStop();
int RpcSocketLayerStarts();

bool RpcSetNonBlocking(int fd);
void RpcSetNoDelay(int fd, bool noDelay);

// Text fields of the endpoints are 255 bytes.
inline constexpr std::size_t RPC_TEXT_SIZE = 255;

// Looks up the local host's name and its first IPv4 address. On failure both
// texts keep what they held.
void RpcReadLocalHost(char (&hostName)[RPC_TEXT_SIZE], char (&address)[RPC_TEXT_SIZE]);

// Every socket send of the transport goes through here (no SIGPIPE, never blocks).
// A test may install its own function to watch or shape the sends.
using RpcSendFunction = ssize_t (*)(int fd, const void* data, std::size_t length);
ssize_t RpcSocketSend(int fd, const void* data, std::size_t length);
void RpcSetSendFunction(RpcSendFunction function);  // none restores the default
