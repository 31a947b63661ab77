// The marshalling stream's growth, attach, rewind and read-past-end rules.

#include <gtest/gtest.h>

#include <cstring>

#include "RawPeer.h"
#include "RpcStream.h"
#include "TestAllocator.h"

namespace {

Bytes Written(const CRpcStream& s) { return Bytes(s.Data(), s.Data() + s.WrittenSize()); }

TEST(Stream, GrowsByTheLargerOfItsStepAndTheWrite) {
    CRpcStream s;
    EXPECT_EQ(s.GrowthStep(), 512u);
    EXPECT_TRUE(s.Owned());
    const Bytes big(600, 7);
    ASSERT_EQ(s.WriteBytes(big.data(), 600), 0);
    EXPECT_EQ(s.Total(), 600u);
    ASSERT_EQ(s.WriteBytes(big.data(), 10), 0);
    EXPECT_EQ(s.Total(), 1112u);
    EXPECT_EQ(s.WrittenSize(), 610u);
}

TEST(Stream, EmptyOrAbsentWritesChangeNothing) {
    CRpcStream s;
    EXPECT_EQ(s.WriteBytes(nullptr, 10), 0);
    EXPECT_EQ(s.WriteBytes("x", 0), 0);
    EXPECT_EQ(s.Total(), 0u);
    EXPECT_EQ(s.Data(), nullptr);
}

TEST(Stream, ValueEncodings) {
    CRpcStream s;
    s.Write8(0xAB).Write16(0x1234).Write32(0xDEADBEEF).Write64(0x0102030405060708ull).WriteText("abc");
    s.WriteGuid(MakeGuid("{CFAC2E06-4C2B-467D-ADA9-5AA3EEEEFFFF}"));
    EXPECT_EQ(Written(s), FromHex("AB  34 12  EF BE AD DE  08 07 06 05 04 03 02 01  04 00 00 00 61 62 63 00"
                                  "06 2E AC CF 2B 4C 7D 46 AD A9 5A A3 EE EE FF FF"));
    CRpcStream fixed;
    fixed.WriteFixedText("22.2.1");
    ASSERT_EQ(fixed.WrittenSize(), 255u);
    EXPECT_STREQ(reinterpret_cast<const char*>(fixed.Data()), "22.2.1");
    EXPECT_EQ(fixed.Data()[254], 0);
}

TEST(Stream, ReadingPastTheEndConsumesNothingAndLeavesTheDestination) {
    const Bytes three = {1, 2, 3};
    CRpcStream s;
    ASSERT_EQ(s.Attach(three.data(), 3, false), 0);
    std::uint32_t v = 0x55555555;
    EXPECT_EQ(s.Read32(v).Status(), RPC_E_READ_PAST_END);
    EXPECT_EQ(v, 0x55555555u);
    EXPECT_EQ(s.Remaining(), 3u);
    std::uint8_t b = 0;
    s.Read8(b);
    EXPECT_EQ(b, 1);  // the chain goes on after an error
    EXPECT_EQ(s.Status(), RPC_E_READ_PAST_END) << "the first failure is kept";
}

TEST(Stream, AttachWithoutCopyReadsInPlaceAndNeverFreesTheCallersBytes) {
    std::uint8_t caller[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    {
        CRpcStream s;
        ASSERT_EQ(s.Attach(caller, sizeof caller, false), 0);
        EXPECT_FALSE(s.Owned());
        EXPECT_EQ(s.Data(), caller);
        std::uint32_t a = 0, b = 0;
        s.Read32(a).Read32(b);
        EXPECT_EQ(a, 1u);
        EXPECT_EQ(b, 2u);
        s.Rewind();
        EXPECT_EQ(s.Remaining(), 8u);
        s.Reset();
    }  // a stream that freed stack bytes would be caught by the sanitizer here
    EXPECT_EQ(caller[4], 2);
    EXPECT_EQ(CRpcStream().Attach(nullptr, 4, false), E_INVALIDARG);
}

TEST(Stream, AttachWithCopyOwnsItsBytes) {
    Bytes source = {9, 8, 7};
    CRpcStream s;
    ASSERT_EQ(s.Attach(source.data(), 3, true), 0);
    source.assign(3, 0);
    EXPECT_TRUE(s.Owned());
    std::uint8_t b = 0;
    s.Read8(b);
    EXPECT_EQ(b, 9);
}

TEST(Stream, RunningOutOfMemoryResetsTheStream) {
    CRpcStream s;
    s.Write32(1);
    {
        TestAllocator::Failing failing;
        const Bytes big(4096, 1);
        EXPECT_EQ(s.WriteBytes(big.data(), 4096), E_OUTOFMEMORY);
    }
    EXPECT_EQ(s.WrittenSize(), 0u);
    EXPECT_EQ(s.Data(), nullptr);
    EXPECT_EQ(s.Status(), E_OUTOFMEMORY);
    s.Write32(2);  // usable again
    EXPECT_EQ(s.WrittenSize(), 4u);
}

TEST(Stream, RewindWithoutDataResets) {
    CRpcStream s;
    EXPECT_EQ(s.Rewind(64), 0);
    EXPECT_EQ(s.GrowthStep(), 64u);
    s.Write8(1);
    EXPECT_EQ(s.Total(), 64u);
}

}  // namespace
