// Server and client endpoints over loopback: their operation results, accepting and
// pumping channels, and noticing a peer that goes away.

#include <gtest/gtest.h>

#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <thread>

#include "RawPeer.h"
#include "RpcClientEndpoint.h"
#include "RpcFrame.h"
#include "RpcServerEndpoint.h"

namespace {

struct ServerEvents {
    int accepted = 0;
    int added = 0;
    int closed = 0;
    int data = 0;
    CRpcServerEndpoint* endpoint = nullptr;
    std::uint32_t countAtClose = 99;
};

CRpcEndpointHandlers CountingHandlers(ServerEvents* e) {
    CRpcEndpointHandlers h;
    h.pfnAccept = [](CRpcChannel*, void* user, CRpcChannelHandlers* fill) {
        ++static_cast<ServerEvents*>(user)->accepted;
        fill->pfnDataReceived = [](CRpcChannel*, CRpcBuffer*, void* u) { ++static_cast<ServerEvents*>(u)->data; };
        fill->pvDataUser = user;
    };
    h.pvAcceptUser = e;
    h.pfnChannelAdded = [](CRpcChannel*, void* user) { ++static_cast<ServerEvents*>(user)->added; };
    h.pvAddedUser = e;
    h.pfnDefaultClosed = [](CRpcChannel*, void* user) {
        auto* events = static_cast<ServerEvents*>(user);
        ++events->closed;
        events->endpoint->ChannelCount(&events->countAtClose);
    };
    h.pvClosedUser = e;
    return h;
}

template <class Pred>
bool PollUntil(CRpcServerEndpoint& server, Pred done, int timeoutMs = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        server.Poll();
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return true;
}

TEST(ServerEndpoint, ResultsBeforeStartAndWhileListening) {
    CRpcServerEndpoint server;
    EXPECT_STREQ(server.LocalAddress(), "INIT INSTANCE FIRST");
    EXPECT_STREQ(server.LocalHostName(), "INIT INSTANCE FIRST");
    ServerEvents events;
    const auto handlers = CountingHandlers(&events);
    std::int32_t port = 0;
    EXPECT_EQ(server.Listen(0, &handlers), RPC_E_SERVER_NOT_STARTED);
    EXPECT_EQ(server.GetPort(&port), RPC_E_SERVER_NOT_STARTED);

    EXPECT_EQ(server.Start(), RPC_S_SERVER_OK);
    EXPECT_EQ(server.Start(), RPC_S_ALREADY_STARTED);
    EXPECT_STRNE(server.LocalAddress(), "INIT INSTANCE FIRST");
    EXPECT_EQ(server.Listen(0, nullptr), RPC_E_SERVER_HANDLERS);
    CRpcEndpointHandlers noAdded = handlers;
    noAdded.pfnChannelAdded = nullptr;
    EXPECT_EQ(server.Listen(0, &noAdded), RPC_E_SERVER_HANDLERS);

    EXPECT_EQ(server.Listen(0, &handlers), RPC_S_SERVER_OK);
    EXPECT_EQ(server.Listen(0, &handlers), RPC_E_SERVER_LISTENING);
    EXPECT_EQ(server.GetPort(nullptr), RPC_E_INVALIDARG);
    EXPECT_EQ(server.GetPort(&port), RPC_S_SERVER_OK);
    EXPECT_GT(port, 0);
    EXPECT_EQ(server.PingChannel(nullptr), RPC_E_INVALIDARG);
    EXPECT_EQ(server.CloseChannel(nullptr), RPC_E_INVALIDARG);

    server.Stop();
    EXPECT_FALSE(server.IsListening());
    EXPECT_EQ(server.PingChannel(nullptr), RPC_E_SERVER_NOT_LISTENING);
    // The port is free again.
    CRpcServerEndpoint again;
    again.Start();
    EXPECT_EQ(again.Listen(port, &handlers), RPC_S_SERVER_OK);
}

TEST(ServerEndpoint, ListeningOnAHeldPortFailsAndLeavesTheEndpointNotListening) {
    ServerEvents events;
    const auto handlers = CountingHandlers(&events);
    RawListener holder;
    CRpcServerEndpoint server;
    server.Start();
    EXPECT_EQ(server.Listen(holder.Port(), &handlers), RPC_E_SERVER_SOCKET);
    EXPECT_FALSE(server.IsListening());
    std::int32_t port;
    EXPECT_EQ(server.GetPort(&port), RPC_E_SERVER_NOT_STARTED);
    EXPECT_EQ(server.Listen(0, &handlers), RPC_S_SERVER_OK);  // still usable
}

TEST(ServerEndpoint, AcceptsPumpsAndDropsAClosedChannelInTheSamePoll) {
    ServerEvents events;
    CRpcServerEndpoint server;
    events.endpoint = &server;
    const auto handlers = CountingHandlers(&events);
    server.Start();
    ASSERT_EQ(server.Listen(0, &handlers), RPC_S_SERVER_OK);
    std::int32_t port;
    server.GetPort(&port);

    RawConnection peer = RawConnection::ConnectTo(port);
    ASSERT_TRUE(peer.Send(Frame(FRAME_DATA, Bytes(12, 1))));
    ASSERT_TRUE(PollUntil(server, [&] { return events.data == 1; }));
    EXPECT_EQ(events.accepted, 1);
    EXPECT_EQ(events.added, 1);
    std::vector<CRpcPeerInfo> peers;
    ASSERT_EQ(server.ListPeers(&peers), RPC_S_SERVER_OK);
    ASSERT_EQ(peers.size(), 1u);
    EXPECT_STREQ(peers[0].szAddress, "127.0.0.1");

    auto frame = CRpcBuffer::Create(4, true);
    EXPECT_EQ(server.SendOnChannel(peers[0].pChannel, frame.Get()), RPC_S_CHANNEL_OK);
    EXPECT_TRUE(peer.ReadFrame().has_value());
    EXPECT_EQ(server.Broadcast(frame.Get()), RPC_S_SERVER_OK);
    EXPECT_TRUE(peer.ReadFrame().has_value());

    peer.Close();
    ASSERT_TRUE(PollUntil(server, [&] { return events.closed > 0; }));
    EXPECT_EQ(events.closed, 1);
    std::uint32_t count = 99;
    server.ChannelCount(&count);
    EXPECT_EQ(count, 0u);
    server.Poll();
    EXPECT_EQ(events.closed, 1);
    // A handle that is no longer listed is refused, not followed.
    EXPECT_EQ(server.SendOnChannel(peers[0].pChannel, frame.Get()), RPC_E_INVALIDARG);
}

TEST(ServerEndpoint, StopClosesEveryChannelWithoutNotification) {
    ServerEvents events;
    CRpcServerEndpoint server;
    events.endpoint = &server;
    const auto handlers = CountingHandlers(&events);
    server.Start();
    server.Listen(0, &handlers);
    std::int32_t port;
    server.GetPort(&port);
    RawConnection a = RawConnection::ConnectTo(port), b = RawConnection::ConnectTo(port);
    ASSERT_TRUE(PollUntil(server, [&] { return events.added == 2; }));
    server.Stop();
    EXPECT_EQ(events.closed, 0);
    EXPECT_TRUE(a.WaitClosed());
    EXPECT_TRUE(b.WaitClosed());
}

TEST(ClientEndpoint, OperationsOnANeverConnectedEndpoint) {
    CRpcClientEndpoint client;
    EXPECT_STREQ(client.LocalAddress(), "ERROR: CALL InitializeInstance");
    auto frame = CRpcBuffer::Create(4, true);
    EXPECT_EQ(client.Send(frame.Get()), RPC_E_CLIENT_NOT_CONNECTED);
    EXPECT_EQ(client.Ping(), RPC_E_CLIENT_NOT_CONNECTED);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.Port(), -1);
    CRpcChannelHandlers handlers;
    EXPECT_EQ(client.Connect(nullptr, 1, &handlers), RPC_E_INVALIDARG);
    EXPECT_EQ(client.Connect("127.0.0.1", 1, nullptr), RPC_E_INVALIDARG);
}

TEST(ClientEndpoint, HostNamesAreNotResolvedAndRefusedConnectsFail) {
    RawListener listener;
    CRpcClientEndpoint client;
    CRpcChannelHandlers handlers;
    EXPECT_EQ(client.Connect("localhost", listener.Port(), &handlers), RPC_E_CLIENT_SOCKET);
    std::int32_t freePort;
    {
        RawListener gone;
        freePort = gone.Port();
    }
    EXPECT_EQ(client.Connect("127.0.0.1", freePort, &handlers), RPC_E_CLIENT_SOCKET);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.Connect("127.0.0.1", listener.Port(), &handlers), RPC_S_CLIENT_OK);  // still usable
}

TEST(ClientEndpoint, ConnectsSendsAndDisconnectsAtThePollAfterThePeerLeaves) {
    RawListener listener;
    CRpcClientEndpoint client;
    int closed = 0;
    CRpcChannelHandlers handlers;
    handlers.pfnClosed = [](CRpcChannel*, void* user) { ++*static_cast<int*>(user); };
    handlers.pvClosedUser = &closed;
    ASSERT_EQ(client.Connect("127.0.0.1", listener.Port(), &handlers), RPC_S_CLIENT_OK);
    EXPECT_EQ(client.Connect("127.0.0.1", listener.Port(), &handlers), RPC_E_CLIENT_CONNECTED);
    EXPECT_TRUE(client.IsConnected());
    EXPECT_STREQ(client.PeerAddress(), "127.0.0.1");
    EXPECT_EQ(client.Port(), listener.Port());
    EXPECT_STRNE(client.LocalAddress(), "ERROR: CALL InitializeInstance");

    RawConnection server = listener.Accept();
    auto frame = CRpcBuffer::CreateCopy("abcd", 4, true);
    EXPECT_EQ(client.Send(frame.Get()), RPC_S_CHANNEL_OK);
    EXPECT_EQ(server.ReadFrame(), Frame(FRAME_DATA, Bytes{'a', 'b', 'c', 'd'}));

    server.Close();
    for (int i = 0; i < 3000 && client.IsConnected(); ++i) {
        client.Poll();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(client.Port(), -1);
    EXPECT_STREQ(client.PeerAddress(), "");
    EXPECT_EQ(client.Send(frame.Get()), RPC_E_CLIENT_NOT_CONNECTED);
}

TEST(ClientEndpoint, DelayFlagSwitchesNagleOnTheConnectedSocket) {
    RawListener listener;
    CRpcClientEndpoint client;
    EXPECT_EQ(client.GetDelayFlag(), 1);
    client.SetDelayFlag(0);
    CRpcChannelHandlers handlers;
    ASSERT_EQ(client.Connect("127.0.0.1", listener.Port(), &handlers), RPC_S_CLIENT_OK);
    int noDelay = 0;
    socklen_t size = sizeof noDelay;
    ASSERT_EQ(::getsockopt(client.Fd(), IPPROTO_TCP, TCP_NODELAY, &noDelay, &size), 0);
    EXPECT_NE(noDelay, 0);
    EXPECT_EQ(client.GetDelayFlag(), 0);
}

}  // namespace
