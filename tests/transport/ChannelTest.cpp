// The channel over a real loopback TCP connection: framing across reads, the send
// chunking, pings and pongs, and the frames that end a connection.

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "RawPeer.h"
#include "RpcChannel.h"
#include "RpcClock.h"
#include "RpcFrame.h"

namespace {

struct Recorder {
    std::vector<Bytes> frames;  // whole frames, header included
    std::vector<std::uint32_t> latencies;
    int closed = 0;
};

CRpcChannelHandlers RecordingHandlers(Recorder* r) {
    CRpcChannelHandlers h;
    h.pfnDataReceived = [](CRpcChannel*, CRpcBuffer* frame, void* user) {
        static_cast<Recorder*>(user)->frames.emplace_back(frame->Storage(), frame->Storage() + frame->StorageSize());
    };
    h.pvDataUser = r;
    h.pfnPongReceived = [](CRpcChannel*, std::uint32_t latency, void* user) {
        static_cast<Recorder*>(user)->latencies.push_back(latency);
    };
    h.pvPongUser = r;
    h.pfnClosed = [](CRpcChannel*, void* user) { ++static_cast<Recorder*>(user)->closed; };
    h.pvClosedUser = r;
    return h;
}

// A channel on one end of a loopback connection and a raw socket on the other.
struct ChannelFixture : ::testing::Test {
    void SetUp() override {
        RawListener listener;
        peer = RawConnection::ConnectTo(listener.Port());
        RawConnection accepted = listener.Accept();
        ASSERT_TRUE(peer.IsValid() && accepted.IsValid());
        int fd = ::dup(accepted.Fd());
        channel = std::make_unique<CRpcChannel>(CRpcSocket(fd));
        const auto handlers = RecordingHandlers(&recorder);
        ASSERT_EQ(channel->SetHandlers(&handlers), RPC_S_CHANNEL_OK);
    }
    template <class Pred>
    bool PumpUntil(Pred done, int timeoutMs = 3000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            channel->Pump();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return true;
    }

    RawConnection peer;
    std::unique_ptr<CRpcChannel> channel;
    Recorder recorder;
};

Bytes Payload(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}

TEST_F(ChannelFixture, FrameArrivingOneByteAtATimeIsDeliveredOnceAfterItsLastByte) {
    const Bytes frame = Frame(FRAME_DATA, Payload(37, 3));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        ASSERT_TRUE(peer.Send(Bytes{frame[i]}));
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        channel->Pump();
        if (i + 1 < frame.size()) {
            ASSERT_TRUE(recorder.frames.empty()) << "delivered early, at byte " << i;
        }
    }
    ASSERT_TRUE(PumpUntil([&] { return !recorder.frames.empty(); }));
    channel->Pump();
    ASSERT_EQ(recorder.frames.size(), 1u);
    EXPECT_EQ(recorder.frames[0], frame);
}

std::vector<std::size_t> g_sendSizes;
ssize_t RecordingSend(int fd, const void* data, std::size_t length) {
    g_sendSizes.push_back(length);
    return ::send(fd, data, length, MSG_NOSIGNAL | MSG_DONTWAIT);
}

TEST_F(ChannelFixture, LargeFrameLeavesInSendsOfAtMost16384Bytes) {
    g_sendSizes.clear();
    RpcSetSendFunction(&RecordingSend);
    const Bytes payload = Payload(40000 - RPC_FRAME_HEADER_SIZE, 11);
    auto buffer = CRpcBuffer::CreateCopy(payload.data(), static_cast<std::uint32_t>(payload.size()), true);
    const RpcResult r = channel->SendData(buffer.Get());
    RpcSetSendFunction(nullptr);
    ASSERT_EQ(r, RPC_S_CHANNEL_OK);
    EXPECT_EQ(g_sendSizes, (std::vector<std::size_t>{16384, 16384, 7232}));
    auto received = peer.ReadFrame();
    ASSERT_TRUE(received);
    EXPECT_EQ(*received, Frame(FRAME_DATA, payload));
}

ssize_t WouldBlockEveryOtherSend(int fd, const void* data, std::size_t length) {
    static int calls = 0;
    if (++calls % 2 == 0) {
        errno = EAGAIN;
        return -1;
    }
    return ::send(fd, data, std::min<std::size_t>(length, 1000), MSG_NOSIGNAL | MSG_DONTWAIT);
}

TEST_F(ChannelFixture, PartialAndRefusedSendsResumeWithoutInterleavingFrames) {
    RpcSetSendFunction(&WouldBlockEveryOtherSend);
    const Bytes a = Payload(5000, 1), b = Payload(3000, 2);
    auto first = CRpcBuffer::CreateCopy(a.data(), static_cast<std::uint32_t>(a.size()), true);
    auto second = CRpcBuffer::CreateCopy(b.data(), static_cast<std::uint32_t>(b.size()), true);
    EXPECT_EQ(channel->SendData(first.Get()), RPC_S_CHANNEL_OK);
    EXPECT_EQ(channel->SendData(second.Get()), RPC_S_CHANNEL_OK);
    for (int i = 0; i < 100 && channel->HasPendingSend(); ++i) channel->Pump();
    RpcSetSendFunction(nullptr);
    EXPECT_FALSE(channel->HasPendingSend());
    EXPECT_EQ(peer.ReadFrame(), Frame(FRAME_DATA, a));
    EXPECT_EQ(peer.ReadFrame(), Frame(FRAME_DATA, b));
}

TEST_F(ChannelFixture, PingAmongDataFramesIsAnsweredUnchangedAndDataPassesThrough) {
    const Bytes first = Frame(FRAME_DATA, Payload(20, 1));
    const Bytes second = Frame(FRAME_DATA, Payload(300, 2));
    const Bytes pingPayload = Payload(32, 9);
    Bytes stream = first;
    const Bytes ping = Frame(FRAME_PING, pingPayload);
    stream.insert(stream.end(), ping.begin(), ping.end());
    stream.insert(stream.end(), second.begin(), second.end());
    ASSERT_TRUE(peer.Send(stream));

    ASSERT_TRUE(PumpUntil([&] { return recorder.frames.size() == 2; }));
    EXPECT_EQ(recorder.frames[0], first);
    EXPECT_EQ(recorder.frames[1], second);
    EXPECT_EQ(peer.ReadFrame(), Frame(FRAME_PONG, pingPayload));
}

TEST_F(ChannelFixture, PingOfAnyLengthIsEchoedWithTheLengthItCameWith) {
    for (std::size_t length : {0u, 4u, 31u, 33u, 100u}) {
        ASSERT_TRUE(peer.Send(Frame(FRAME_PING, Payload(length, 5))));
        std::optional<Bytes> pong;
        PumpUntil([&] { return (pong = peer.ReadFrame(1)).has_value(); });
        EXPECT_EQ(pong, Frame(FRAME_PONG, Payload(length, 5))) << "ping of " << length << " bytes";
    }
    EXPECT_FALSE(channel->IsClosed());
}

TEST_F(ChannelFixture, UnknownTagsAreDroppedAndPongsReportHalfTheRoundTrip) {
    Bytes pong = Payload(32, 0);
    const std::uint32_t now = RpcClockMs() - 40;  // sent "40 ms ago"
    std::memcpy(pong.data(), &now, 4);
    Bytes stream = Frame(0x12345678, Payload(64, 1));
    const Bytes p = Frame(FRAME_PONG, pong), d = Frame(FRAME_DATA, Payload(8, 3));
    stream.insert(stream.end(), p.begin(), p.end());
    stream.insert(stream.end(), d.begin(), d.end());
    ASSERT_TRUE(peer.Send(stream));
    ASSERT_TRUE(PumpUntil([&] { return recorder.frames.size() == 1; }));
    EXPECT_EQ(recorder.frames[0], d);
    ASSERT_EQ(recorder.latencies.size(), 1u);
    EXPECT_GE(recorder.latencies[0], 20u);
    EXPECT_LT(recorder.latencies[0], 1000u);
}

struct ClosingCase {
    const char* what;
    Bytes bytes;
};

TEST_F(ChannelFixture, FramesThatEndTheConnection) {
    // Each case on a fresh connection of its own.
    const std::vector<ClosingCase> cases = {
        {"length above 16 MiB", [] { Bytes b; Put32(b, FRAME_DATA); Put32(b, RPC_MAX_FRAME_LENGTH + 1); return b; }()},
        {"huge length of an unknown tag", [] { Bytes b; Put32(b, 7); Put32(b, 0xFFFFFFFFu); return b; }()},
        {"empty data frame", Frame(FRAME_DATA, {})},
    };
    for (const auto& c : cases) {
        SetUp();
        ASSERT_TRUE(peer.Send(c.bytes));
        EXPECT_TRUE(PumpUntil([&] { return channel->IsClosed(); })) << c.what;
        EXPECT_EQ(recorder.closed, 1) << c.what;
        EXPECT_TRUE(recorder.frames.empty()) << c.what;
        EXPECT_TRUE(peer.WaitClosed()) << c.what;
        recorder = Recorder{};
    }
}

TEST_F(ChannelFixture, FrameAtTheLimitIsAccepted) {
    const Bytes payload = Payload(RPC_MAX_FRAME_LENGTH, 4);
    std::thread sender([&] { peer.Send(Frame(FRAME_DATA, payload)); });
    EXPECT_TRUE(PumpUntil([&] { return recorder.frames.size() == 1; }, 20000));
    sender.join();
    ASSERT_EQ(recorder.frames.size(), 1u);
    EXPECT_EQ(recorder.frames[0].size(), payload.size() + 8);
    EXPECT_FALSE(channel->IsClosed());
}

TEST_F(ChannelFixture, PeerCloseRunsTheClosedHandlerOnceAndRefusesLaterSends) {
    peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return channel->IsClosed(); }));
    channel->Pump();
    channel->Close(true);
    EXPECT_EQ(recorder.closed, 1);
    auto buffer = CRpcBuffer::Create(4, true);
    EXPECT_EQ(channel->SendData(buffer.Get()), RPC_E_CHANNEL_CLOSED);
    EXPECT_EQ(channel->Ping(), RPC_E_CHANNEL_CLOSED);
}

TEST_F(ChannelFixture, ArgumentErrors) {
    EXPECT_EQ(channel->SetHandlers(nullptr), RPC_E_CHANNEL_HANDLERS);
    EXPECT_EQ(channel->SendData(nullptr), RPC_E_INVALIDARG);
    auto bare = CRpcBuffer::Create(4, false);
    EXPECT_EQ(channel->SendData(bare.Get()), RPC_E_INVALIDARG);
    EXPECT_EQ(channel->PeerInfo(nullptr), RPC_E_INVALIDARG);
    CRpcPeerInfo info;
    EXPECT_EQ(channel->PeerInfo(&info), RPC_S_CHANNEL_OK);
    EXPECT_STREQ(info.szAddress, "127.0.0.1");
    EXPECT_EQ(info.pChannel, channel.get());
}

TEST(ChannelClosing, OwnCloseNotifiesOnlyWhenAskedAndInvalidSocketGivesClosedChannel) {
    CRpcChannel invalid{CRpcSocket()};
    EXPECT_TRUE(invalid.IsClosed());
    EXPECT_EQ(invalid.Ping(), RPC_E_CHANNEL_CLOSED);
}

TEST(Buffer, ResizeKeepsBytesAndHeaderRoomSitsInFront) {
    const Bytes data = {1, 2, 3, 4, 5};
    auto b = CRpcBuffer::CreateCopy(data.data(), 5, true);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->StorageSize(), 13u);
    EXPECT_EQ(b->Payload(), b->Storage() + 8);
    ASSERT_TRUE(b->Resize(1000));
    EXPECT_EQ(Bytes(b->Payload(), b->Payload() + 5), data);
    ASSERT_TRUE(b->Resize(2));
    EXPECT_EQ(b->PayloadLength(), 2u);
    auto bare = CRpcBuffer::Create(3, false);
    EXPECT_EQ(bare->Payload(), bare->Storage());
    EXPECT_EQ(bare->StorageSize(), 3u);
}

}  // namespace
