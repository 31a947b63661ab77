// The documented exchange with the liveness object, byte for byte, in both roles:
// this side opening and calling, and this side serving.

#include <gtest/gtest.h>

#include <thread>

#include "EchoObject.h"
#include "RawPeer.h"
#include "ServingPeer.h"

namespace {

constexpr GUID kLivenessClass = MakeGuid("{B2C8CFC9-4568-B37B-84B0-2CB3DE5C60FB}");
constexpr GUID kLivenessInterface = MakeGuid("{9EB2B9C8-43CE-48C0-CC43-A698E67D0088}");

const Bytes kOpen = FromHex("01 00 00 F0 18 00 00 00  00 00 00 F0 10 00 00 00"
                            "C9 CF C8 B2 68 45 7B B3 84 B0 2C B3 DE 5C 60 FB");
const Bytes kStatus = FromHex("01 00 00 F0 0C 00 00 00  00 00 00 E0 04 00 00 00  00 00 04 02");
const Bytes kRequest = FromHex("01 00 00 F0 24 00 00 00  03 00 00 F0 1C 00 00 00  01 00 00 00"
                               "C8 B9 B2 9E CE 43 C0 48 CC 43 A6 98 E6 7D 00 88  00 00 00 00  00 00 00 F0");
Bytes Answer(const char* resultHex) {
    Bytes b = FromHex("01 00 00 F0 28 00 00 00  03 00 00 F0 20 00 00 00  01 00 00 00"
                      "C8 B9 B2 9E CE 43 C0 48 CC 43 A6 98 E6 7D 00 88  04 00 00 00  00 00 00 F0");
    const Bytes result = FromHex(resultHex);
    b.insert(b.end(), result.begin(), result.end());
    return b;
}

TEST(WireExample, OpeningAndCallingSendsExactlyTheDocumentedBytes) {
    CallingPeer caller(kLivenessClass, kLivenessInterface);
    RawListener engine;
    Bytes open, request;
    std::thread server([&] {
        RawConnection c = engine.Accept();
        open = c.Read(32).value_or(Bytes{});
        c.Send(kStatus);
        request = c.Read(44).value_or(Bytes{});
        c.Send(Answer("2A 00 00 00"));
        c.WaitClosed();
    });
    RpcPtr<ITestEcho> liveness;
    ASSERT_EQ(OpenTestEcho(caller.Instance(), engine.Port(), &liveness, kLivenessClass, kLivenessInterface), RPC_S_OK);
    std::vector<std::uint8_t> out{9};
    EXPECT_EQ(liveness->Echo({}, &out), 42);
    EXPECT_TRUE(out.empty());
    liveness.Reset();
    server.join();
    EXPECT_EQ(open, kOpen);
    EXPECT_EQ(request, kRequest);
}

TEST(WireExample, ServingAnswersWithExactlyTheDocumentedBytes) {
    ServingPeer engine(kLivenessClass, kLivenessInterface);
    RawConnection c = RawConnection::ConnectTo(engine.Port());
    ASSERT_TRUE(c.Send(kOpen));
    EXPECT_EQ(c.Read(20), kStatus);
    ASSERT_TRUE(c.Send(kRequest));
    EXPECT_EQ(c.Read(48), Answer("00 00 00 00"));
    EXPECT_TRUE(c.Quiet(50));
}

}  // namespace
