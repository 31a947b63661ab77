#pragma once
// One connected TCP socket carrying frames: a send queue that never offers a
// socket more than 16 384 bytes at once, and a receive state machine that
// assembles frames across as many reads and pumps as the socket needs.

#include <cstdint>
#include <deque>

#include "RpcAllocator.h"
#include "RpcBuffer.h"
#include "RpcResult.h"
#include "RpcSocket.h"

class CRpcChannel;

// Three (function, user value) pairs; any may be empty.
struct CRpcChannelHandlers {
    void (*pfnDataReceived)(CRpcChannel* channel, CRpcBuffer* frame, void* user) = nullptr;
    void* pvDataUser = nullptr;
    void (*pfnPongReceived)(CRpcChannel* channel, std::uint32_t latencyMs, void* user) = nullptr;
    void* pvPongUser = nullptr;
    void (*pfnClosed)(CRpcChannel* channel, void* user) = nullptr;
    void* pvClosedUser = nullptr;
};

// Describes one accepted channel: its handle and its peer as dotted IPv4 text.
struct CRpcPeerInfo {
    CRpcChannel* pChannel = nullptr;
    char szAddress[16] = {};
};

class CRpcChannel : public CRpcAllocated {
public:
    // Takes a connected socket and switches it to non-blocking mode. An invalid
    // socket gives a channel that is closed from the start.
    explicit CRpcChannel(CRpcSocket socket);
    ~CRpcChannel();  // closes without notification
    CRpcChannel(const CRpcChannel&) = delete;
    CRpcChannel& operator=(const CRpcChannel&) = delete;

    RpcResult SetHandlers(const CRpcChannelHandlers* handlers);
    // Writes the data frame header into the buffer's header room and queues it.
    RpcResult SendData(CRpcBuffer* buffer);
    RpcResult Ping();
    // Sends what the socket takes, then reads what it has.
    void Pump();
    RpcResult PeerInfo(CRpcPeerInfo* info) const;
    void Close(bool notify);

    bool IsClosed() const { return m_bClosed; }
    int Fd() const { return m_socket.Fd(); }
    bool HasPendingSend() const { return !m_sendQueue.empty(); }
    // While paused the channel reads nothing more from its socket (bytes already
    // read stay staged), so a peer that sends faster than its messages are handled
    // is held back by TCP instead of growing our queues.
    void SetReceivePaused(bool paused) { m_bReceivePaused = paused; }
    bool IsReceivePaused() const { return m_bReceivePaused; }
    // Bytes queued and not yet taken by the socket.
    std::size_t PendingBytes() const { return m_ulPendingBytes; }

private:
    struct SendEntry {
        RpcPtr<CRpcBuffer> buffer;
        std::uint32_t ulCursor;
        std::uint32_t ulRemaining;
    };

    RpcResult Queue(CRpcBuffer* frame);
    void SendRoutine();
    void ReceiveRoutine();
    // Moves staged bytes into the frame being assembled; false when the channel closed.
    bool ConsumeStaged();
    bool CompleteHeader();
    void DispatchFrame(CRpcBuffer* frame);

    CRpcSocket m_socket;
    bool m_bClosed = false;
    bool m_bReceivePaused = false;
    CRpcChannelHandlers m_handlers;
    std::deque<SendEntry> m_sendQueue;
    std::size_t m_ulPendingBytes = 0;

    // Frame being assembled: cursor and missing count are relative to its storage.
    RpcPtr<CRpcBuffer> m_rxFrame;
    std::uint32_t m_ulRxCursor = 0;
    std::uint32_t m_ulRxMissing = 0;
    bool m_bRxHeaderComplete = false;

    // Bytes read from the socket and not yet moved into a frame. Reading in large
    // blocks keeps a stream of small frames at one read call per block.
    RpcUniqueBlock<std::uint8_t> m_stage;
    std::uint32_t m_ulStagePos = 0;
    std::uint32_t m_ulStageEnd = 0;
};
