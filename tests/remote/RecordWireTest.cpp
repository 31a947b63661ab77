// Every record against bytes built by hand in wire order: decoding gives the
// memory order, encoding gives the bytes back, and counts the bytes cannot hold
// are refused before anything is allocated.

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>

#include "NorvRecords.h"
#include "RawPeer.h"
#include "TestAllocator.h"

namespace {

// Builds wire bytes field by field.
struct Wire {
    Bytes bytes;
    Wire& U(std::uint32_t v) {
        Put32(bytes, v);
        return *this;
    }
    Wire& F(float v) { return U(std::bit_cast<std::uint32_t>(v)); }
    Wire& Raw(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
};

template <class T>
RpcResult Decode(const Bytes& bytes, T& out, std::uint32_t* left = nullptr) {
    CRpcStream s;
    s.Attach(bytes.data(), static_cast<std::uint32_t>(bytes.size()), false);
    const RpcResult r = TRpcCodec<T>::Read(s, out);
    if (left) *left = s.Remaining();
    return r;
}

template <class T>
Bytes Encode(const T& value) {
    CRpcStream s;
    TRpcCodec<T>::Write(s, value);
    return Bytes(s.Data(), s.Data() + s.WrittenSize());
}

template <class T>
void ExpectWire(const Bytes& wire, const T& memory) {
    T decoded;
    std::uint32_t left = 99;
    ASSERT_EQ(Decode(wire, decoded, &left), 0);
    EXPECT_EQ(left, 0u);
    EXPECT_TRUE(decoded == memory);
    EXPECT_EQ(Encode(memory), wire);
}

TEST(RecordWire, ObjectRecordIsReorderedOn52Bytes) {
    CNorvObjectRecord m;
    m.m_ulObjectId = 0x11223344;
    m.m_lObjectType = -2;
    m.m_position = {5, 6, 7};
    m.m_rValue1 = 8, m.m_rValue2 = 9, m.m_rValue3 = 10;
    m.m_ulRollOffPresent = 1;
    m.m_rRollOffA = 1, m.m_rRollOffB = 2, m.m_rRollOffC = 3, m.m_rRollOffD = 4;
    const Bytes wire = Wire{}.U(1).F(1).F(2).F(3).F(4).F(5).F(6).F(7).F(8).F(9).F(10).U(0x11223344).U(0xFFFFFFFE).bytes;
    ASSERT_EQ(wire.size(), 52u);
    ExpectWire(wire, m);
}

TEST(RecordWire, MicroListSharesOneCountAndStoresIdPositionSecondFrontTop) {
    CNorvMicroList list;
    ASSERT_TRUE(list.Allocate(2));
    list[0].m_ulMicroId = 7;
    list[0].m_record = {/*P*/ {1, 2, 3}, /*V*/ {4, 5, 6}, /*F*/ {7, 8, 9}, /*T*/ {10, 11, 12}};
    list[1].m_ulMicroId = 8;
    list[1].m_record = {{21, 22, 23}, {24, 25, 26}, {27, 28, 29}, {30, 31, 32}};
    const Bytes wire = Wire{}
                           .U(2)
                           .U(7)
                           .U(8)
                           // first micro: F, T, P, V
                           .F(7).F(8).F(9).F(10).F(11).F(12).F(1).F(2).F(3).F(4).F(5).F(6)
                           .F(27).F(28).F(29).F(30).F(31).F(32).F(21).F(22).F(23).F(24).F(25).F(26)
                           .bytes;
    CNorvMicroList decoded;
    ASSERT_EQ(Decode(wire, decoded), 0);
    ASSERT_EQ(decoded.Count(), 2u);
    EXPECT_TRUE(decoded[0] == list[0]);
    EXPECT_TRUE(decoded[1] == list[1]);
    EXPECT_EQ(Encode(list), wire);
}

CNorvVoiceRecord Voice(const char* name) {
    CNorvVoiceRecord v;
    v.m_ulType = 1;
    v.m_ulWord1 = 2;
    v.m_ulStreaming = 1;
    v.m_lPriority = 0x40;
    v.m_lInstance = 3;
    v.m_lVoiceId = 0x1001;
    v.m_lResourceId = 0x00020003;
    v.m_ulStatus = 2;
    v.m_ulWord8 = 77;
    v.m_ulRollOffPresent = 1;
    v.m_lRollOff1 = 0x10000;
    v.m_lRollOff4 = -1;
    v.m_lRollOff2 = 0x28000;
    v.m_lRollOff3 = 0x50000;
    v.m_ulNameLength = static_cast<std::uint32_t>(std::strlen(name));
    std::memcpy(v.m_szName, name, v.m_ulNameLength);
    return v;
}

Wire VoiceWords() {
    return Wire{}.U(1).U(2).U(1).U(0x40).U(3).U(0x1001).U(0x00020003).U(2).U(77).U(1).U(0x10000).U(0xFFFFFFFF).U(
        0x28000).U(0x50000);
}

TEST(RecordWire, VoiceRecordCarriesItsNameAfterFifteenWords) {
    ExpectWire(VoiceWords().U(5).Raw("Steps").bytes, Voice("Steps"));
    ExpectWire(VoiceWords().U(0).bytes, Voice(""));
}

TEST(RecordWire, VoiceNamesAreKeptToTheirFirst128Bytes) {
    const std::string longName(200, 'n');
    const Bytes wire = VoiceWords().U(200).Raw(longName).U(0xAABBCCDD).bytes;
    CRpcStream s;
    s.Attach(wire.data(), static_cast<std::uint32_t>(wire.size()), false);
    CNorvVoiceRecord v;
    ASSERT_EQ(RpcRead(s, v), 0);
    EXPECT_EQ(v.m_ulNameLength, 128u);
    EXPECT_EQ(std::string(v.m_szName), std::string(128, 'n'));
    std::uint32_t next = 0;
    s.Read32(next);
    EXPECT_EQ(next, 0xAABBCCDDu) << "the rest of the name is skipped, not read as the next value";
}

TEST(RecordWire, LoadedObjectRecordIsSixWordsInOrder) {
    const CNorvLoadedObjectRecord m{0x100, 2, 3, 4, 0, 65536};
    ExpectWire(Wire{}.U(0x100).U(2).U(3).U(4).U(0).U(65536).bytes, m);
}

TEST(RecordWire, PortalSwapsItsHeights) {
    CPropPortalRecord m;
    m.m_lZoneA = 1, m.m_lZoneB = 2;
    m.m_point1 = {3, 4}, m.m_point2 = {5, 6};
    m.m_rBottomHeight = 7, m.m_rTopHeight = 8;
    m.m_ulWord9 = 9;
    ExpectWire(Wire{}.U(1).U(2).F(3).F(4).F(5).F(6).F(8).F(7).U(9).bytes, m);
}

TEST(RecordWire, SceneObjectSendsOnlyThePathsAndVerticesInUse) {
    CPropSceneObjectRecord m;
    m.m_lObjectId = 42;
    m.m_ulPathCount = 1;
    m.m_ulVertexCount[0] = 2;
    m.m_pathVertices[0][0] = {1, 2, 3};
    m.m_pathVertices[0][1] = {4, 5, 6};
    m.m_physicalPosition = {7, 8, 9};
    m.m_virtualPosition = {10, 11, 12};
    ExpectWire(Wire{}.U(42).U(1).F(7).F(8).F(9).F(10).F(11).F(12).U(2).F(1).F(2).F(3).F(4).F(5).F(6).bytes, m);
}

TEST(RecordWire, SceneObjectsBeyondTheCapsAreRefused) {
    CPropSceneObjectRecord m;
    Wire threePaths = Wire{}.U(1).U(3).F(0).F(0).F(0).F(0).F(0).F(0);
    for (int p = 0; p < 3; ++p) threePaths.U(0);
    EXPECT_EQ(Decode(threePaths.bytes, m), RPC_E_READ_PAST_END);
    Wire longPath = Wire{}.U(1).U(1).F(0).F(0).F(0).F(0).F(0).F(0).U(33);
    for (int v = 0; v < 33 * 3; ++v) longPath.F(0);
    EXPECT_EQ(Decode(longPath.bytes, m), RPC_E_READ_PAST_END);
}

TEST(RecordWire, ZoneReordersItsWordsAndItsItems) {
    CPropZoneRecord m;
    m.m_ulWord1 = 1, m.m_ulWord8 = 8, m.m_ulWord11 = 11, m.m_ulWord12 = 12;
    m.m_rBottomHeight = -1, m.m_rTopHeight = 3;
    ASSERT_TRUE(m.m_vertices.Allocate(2));
    m.m_vertices[0] = {0.5f, 1.5f, 103, 104};
    m.m_vertices[1] = {2.5f, 3.5f, 203, 204};
    ASSERT_TRUE(m.m_wallLines.Allocate(1));
    m.m_wallLines[0] = {1, 0, 2};
    ASSERT_TRUE(m.m_occluders.Allocate(1));
    m.m_occluders[0] = {0, 1, 0.25f, 77, 5};
    const Bytes wire = Wire{}
                           .U(1).U(8).U(12).U(11).F(-1).F(3)
                           .U(2).F(0.5f).F(1.5f).U(104).U(103).F(2.5f).F(3.5f).U(204).U(203)
                           .U(1).U(1).U(2).U(0)
                           .U(1).U(77).F(0.25f).U(0).U(1).U(5)
                           .bytes;
    CPropZoneRecord decoded;
    ASSERT_EQ(Decode(wire, decoded), 0);
    EXPECT_EQ(decoded.m_ulWord1, 1u);
    EXPECT_EQ(decoded.m_ulWord8, 8u);
    EXPECT_EQ(decoded.m_ulWord11, 11u);
    EXPECT_EQ(decoded.m_ulWord12, 12u);
    EXPECT_EQ(decoded.m_rBottomHeight, -1.f);
    EXPECT_EQ(decoded.m_rTopHeight, 3.f);
    ASSERT_EQ(decoded.m_vertices.Count(), 2u);
    EXPECT_TRUE(decoded.m_vertices[0] == m.m_vertices[0]);
    EXPECT_TRUE(decoded.m_vertices[1] == m.m_vertices[1]);
    ASSERT_EQ(decoded.m_wallLines.Count(), 1u);
    EXPECT_TRUE(decoded.m_wallLines[0] == m.m_wallLines[0]);
    ASSERT_EQ(decoded.m_occluders.Count(), 1u);
    EXPECT_TRUE(decoded.m_occluders[0] == m.m_occluders[0]);
    EXPECT_EQ(Encode(m), wire);
}

TEST(RecordWire, CountsTheMessageCannotHoldAllocateNothing) {
    TestAllocator& allocator = TestAllocator::Install();
    struct Case {
        const char* what;
        std::function<RpcResult(const Bytes&)> decode;
    };
    const std::vector<Case> cases = {
        {"object array", [](const Bytes& b) { TRpcArray<CNorvObjectRecord> a; return Decode(b, a); }},
        {"micro list", [](const Bytes& b) { CNorvMicroList a; return Decode(b, a); }},
        {"voice array", [](const Bytes& b) { TRpcArray<CNorvVoiceRecord> a; return Decode(b, a); }},
        {"zone vertices", [](const Bytes& b) {
             Bytes wire(24, 0);  // the six words in front of the vertex count
             wire.insert(wire.end(), b.begin(), b.end());
             CPropZoneRecord z;
             return Decode(wire, z);
         }},
    };
    for (const auto& c : cases) {
        for (std::uint32_t count : {0xFFFFFFFFu, 0x10000000u, 16u}) {
            // 60 bytes follow the count: not even 16 of the smallest item fit.
            Bytes wire = Wire{}.U(count).bytes;
            wire.resize(wire.size() + 60, 0);
            const std::size_t before = allocator.Allocations();
            EXPECT_EQ(c.decode(wire), RPC_E_READ_PAST_END) << c.what << " count " << count;
            EXPECT_EQ(allocator.Allocations(), before) << c.what << " allocated for count " << count;
        }
    }
}

TEST(RecordWire, TextsAreCutAtTheirCountOrFirstNul) {
    struct Case {
        Bytes wire;
        const char* text;
        RpcResult result;
    };
    const std::vector<Case> cases = {
        {Wire{}.U(4).Raw(std::string("abc\0", 4)).bytes, "abc", 0},
        {Wire{}.U(3).Raw("abc").bytes, "abc", 0},  // no NUL within the count
        {Wire{}.U(6).Raw(std::string("ab\0cd\0", 6)).bytes, "ab", 0},
        {Wire{}.U(0).bytes, "", 0},
        {Wire{}.U(10).Raw("abc").bytes, "", RPC_E_READ_PAST_END},
    };
    for (const auto& c : cases) {
        CRpcText text;
        EXPECT_EQ(Decode(c.wire, text), c.result);
        EXPECT_STREQ(text.Get(), c.text);
    }
}

}  // namespace
