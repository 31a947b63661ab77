// The documents of the object viewer, the voice list and the atomic loading viewer:
// their cells, their layouts and the atomic loading viewer's refresh.

#include <gtest/gtest.h>

#include <map>

#include "AtomicLoadingViewerDoc.h"
#include "ObjectViewerDoc.h"
#include "TestProject.h"
#include "VoiceListViewDoc.h"

namespace {

TEST(ObjectViewer, CellsAndRollOffTexts) {
    CNorvObjectRecord o;
    o.m_ulObjectId = 0x2A;
    o.m_lObjectType = -3;
    o.m_position = {1.5f, -2.0f, 0.25f};
    o.m_rValue2 = 4.0f;
    EXPECT_EQ(ObjectCellText(o, 0), "0X0000002A");
    EXPECT_EQ(ObjectCellText(o, 1), "-3");
    EXPECT_EQ(ObjectCellText(o, 3), "-2.000000");
    EXPECT_EQ(ObjectCellText(o, 6), "4.000000");
    EXPECT_EQ(ObjectCellText(o, 8), "default");
    EXPECT_EQ(ObjectCellText(o, 42), "N/A");
    o.m_ulRollOffPresent = 1;
    o.m_rRollOffA = 50.0f, o.m_rRollOffB = -1.0f, o.m_rRollOffC = 65536.0f, o.m_rRollOffD = 10.0f;
    EXPECT_EQ(ObjectCellText(o, 8), "1.00/10.0/dis./50.0");

    CNorvMicro m;
    m.m_ulMicroId = 7;
    m.m_record.m_position = {1, 2, 3};
    m.m_record.m_second = {9, 9, 9};
    m.m_record.m_front = {0, 1, 0};
    m.m_record.m_top = {0, 0, 1};
    EXPECT_EQ(MicroCellText(m, 0), "0X00000007");
    EXPECT_EQ(MicroCellText(m, 3), "3.000000");
    EXPECT_EQ(MicroCellText(m, 5), "1.000000") << "Ny is the front vector's";
    EXPECT_EQ(MicroCellText(m, 9), "1.000000") << "Tz is the top vector's";
    EXPECT_EQ(MicroCellText(m, 10), "N/A");
}

TEST(ObjectViewer, TheTwoLayoutsAreSeparateAndSavedInBothForms) {
    CTestProject project;
    CObjectViewerDoc doc;
    ASSERT_EQ(doc.Initialise(&project), 1);
    EXPECT_EQ(doc.MicroColumns().Order().size(), 10u);
    EXPECT_EQ(doc.ObjectColumns().Order().size(), 9u);
    doc.ObjectColumns().SaveLayout({});  // hide all object columns
    EXPECT_TRUE(doc.ObjectColumns().Order().empty());
    EXPECT_EQ(doc.MicroColumns().Order().size(), 10u);
    EXPECT_GT(project.nModified, 0);

    CConfigArchive store(CConfigArchive::STORE);
    EXPECT_EQ(doc.SerializeXml(store), 0);
    CLegacyArchiveWriter writer;
    doc.StoreArchive(writer);
    const std::string path = ::testing::TempDir() + "/objects.xml";
    std::string error;
    ASSERT_TRUE(store.Save(path, &error));
    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(path));
    CObjectViewerDoc fromXml;
    fromXml.SetOwner(&project);
    EXPECT_EQ(fromXml.SerializeXml(load), 0);
    EXPECT_TRUE(fromXml.ObjectColumns().Order().empty());
    EXPECT_EQ(fromXml.MicroColumns().Order().size(), 10u);
    CLegacyArchiveReader reader(writer.Bytes());
    CObjectViewerDoc fromBinary;
    EXPECT_EQ(fromBinary.LoadArchive(&project, reader), 0);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_TRUE(fromBinary.ObjectColumns().Order().empty());
    CLegacyArchiveReader shortReader(std::vector<std::uint8_t>(writer.Bytes().begin(), writer.Bytes().begin() + 20));
    EXPECT_EQ(CObjectViewerDoc().LoadArchive(&project, shortReader), 3);
    EXPECT_EQ(CObjectViewerDoc().LoadArchive(nullptr, reader), 3);
}

CNorvVoiceRecord Voice(std::uint32_t type, std::uint32_t status) {
    CNorvVoiceRecord v;
    v.m_ulType = type;
    v.m_ulStatus = status;
    v.m_lVoiceId = 0x11;
    v.m_lPriority = 0x80;
    v.m_lInstance = 2;
    v.m_lResourceId = 0x20001;
    std::snprintf(v.m_szName, sizeof v.m_szName, "rain");
    v.m_ulNameLength = 4;
    return v;
}

TEST(VoiceList, CellsRollOffAndResourceNames) {
    CNorvVoiceRecord v = Voice(1, 2);
    EXPECT_EQ(VoiceCellText(v, 0), "0X00000011");
    EXPECT_EQ(VoiceCellText(v, 1), "0X00000080");
    EXPECT_EQ(VoiceCellText(v, 2), "2");
    EXPECT_EQ(VoiceCellText(v, 3), "Looping");
    EXPECT_EQ(VoiceCellText(v, 4), "Virtual");
    EXPECT_EQ(VoiceCellText(v, 5), "0X00020001");
    EXPECT_EQ(VoiceCellText(v, 6), "default");
    EXPECT_EQ(VoiceCellText(v, 7), "False");
    EXPECT_EQ(VoiceCellText(v, 9), "rain");
    EXPECT_EQ(VoiceCellText(v, 10), "N/A");
    EXPECT_EQ(VoiceCellText(Voice(7, 3), 3), "N/A");
    EXPECT_EQ(VoiceCellText(Voice(7, 3), 4), "N/A");
    v.m_ulRollOffPresent = 1;
    v.m_lRollOff1 = 131072;   // word 10
    v.m_lRollOff2 = 655360;   // word 12
    v.m_lRollOff3 = -1;       // word 13
    v.m_lRollOff4 = 3276800;  // word 11
    EXPECT_EQ(VoiceCellText(v, 6), "2.00/10.0/dis./50.0");

    struct Names final : INameResolver {
        bool EventName(std::uint32_t, std::string*) override { return true; }
        bool ResourceName(std::uint32_t id, std::string* name) override {
            if (id == 0x20001) *name = "Rain loop";
            return true;
        }
        bool GroupName(std::uint32_t, std::string*) override { return true; }
        bool AtomicObjectName(std::uint32_t, std::string*) override { return true; }
    } names;
    CTestProject project;
    project.pResolver = &names;
    CVoiceListViewDoc doc;
    doc.Initialise(&project);
    doc.SetVoices(std::vector<CNorvVoiceRecord>(10, v));
    EXPECT_EQ(doc.CellText(0, VOICE_COLUMN_RESOURCE_NAME), "") << "the project does not read from the editor";
    project.bReadsFromEditor = true;
    EXPECT_EQ(doc.CellText(0, VOICE_COLUMN_RESOURCE_NAME), "Rain loop");
    doc.SetVoices(std::vector<CNorvVoiceRecord>(3, Voice(0, 1)));
    EXPECT_EQ(doc.Voices().size(), 3u);
    EXPECT_EQ(doc.CellText(5, 0), "") << "past the last row";
}

// The view's tree, as lines keyed by object id with their cells.
struct Tree final : ILoadedObjectTree {
    void InsertItem(const CAtomicLoadingInfoContainer& r) override {
        ASSERT_FALSE(lines.count(r.ObjectId()));
        lines[r.ObjectId()] = LoadedObjectCellText(r, LOADED_COLUMN_OBJECT_NAME);
        ++inserts;
    }
    void UpdateItem(const CAtomicLoadingInfoContainer& r) override {
        ASSERT_TRUE(lines.count(r.ObjectId()));
        ++updates;
    }
    void DeleteItem(std::uint32_t id) override { ASSERT_EQ(lines.erase(id), 1u); }
    void SetRedraw(bool on) override { redrawOff = !on; }
    std::map<std::uint32_t, std::string> lines;
    int inserts = 0, updates = 0;
    bool redrawOff = false;
};

CLoadedSet Loaded(std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> sizes) {
    CLoadedSet set;
    for (auto [id, size] : sizes)
        set[id].reset(new CAtomicLoadingInfoContainer(id, 2, 1, 1, 1, size));
    return set;
}

TEST(AtomicLoadingViewer, TotalsCountEveryObjectAndTheFilteredOnes) {
    CTestProject project;
    CAtomicLoadingViewerDoc doc;
    ASSERT_EQ(doc.Initialise(&project), 1);
    CFilter* filter = doc.AddNewFilter();
    auto* only = static_cast<CAtomicLoadingFilterDescriptor*>(filter->AddNewDescriptor());
    ASSERT_TRUE(only->SetObjectIdText("0X2"));
    doc.SetCurrentFilter(filter);

    CAtomicLoadingRefresh refresh;
    Tree tree;
    CLoadedSet set = Loaded({{1, 100}, {2, 200}, {3, 300}});
    refresh.Refresh(&set, doc.GetCurrentFilter(), tree);
    EXPECT_EQ(refresh.TotalText(), "Total Memory Usage (Bytes): 600");
    EXPECT_EQ(refresh.FilteredTotalText(), "Filtered Memory Usage (Bytes): 200");
    EXPECT_EQ(tree.lines, (std::map<std::uint32_t, std::string>{{2, "0X00000002"}})) << "unnamed: the id as name";
    EXPECT_FALSE(tree.redrawOff);

    refresh.Refresh(&set, nullptr, tree);
    EXPECT_EQ(tree.lines.size(), 3u);
    EXPECT_EQ(tree.updates, 1) << "the line already shown is refilled";
    set.erase(1);
    refresh.Refresh(&set, nullptr, tree);
    EXPECT_FALSE(tree.lines.count(1)) << "gone from the engine's answer, gone from the tree";
    EXPECT_EQ(refresh.Total(), 500u);

    refresh.Refresh(nullptr, nullptr, tree);  // the commander is off
    EXPECT_EQ(tree.lines.size(), 2u);
    EXPECT_EQ(refresh.TotalText(), "Total Memory Usage (Bytes): 0");
}

TEST(AtomicLoadingViewer, FirstOccurrenceHoldsAcrossRefreshes) {
    CTestProject project;
    CAtomicLoadingViewerDoc doc;
    doc.Initialise(&project);
    CFilter* filter = doc.AddNewFilter();
    filter->SetDisplayOnlyFirstOccurrence(true);
    doc.SetCurrentFilter(filter);
    CAtomicLoadingRefresh refresh;
    Tree tree;
    CLoadedSet set = Loaded({{1, 10}, {2, 20}});
    refresh.Refresh(&set, filter, tree);
    EXPECT_EQ(tree.lines.size(), 2u);
    refresh.Refresh(&set, filter, tree);
    EXPECT_TRUE(tree.lines.empty()) << "seen at the first refresh, hidden at the next";
    EXPECT_EQ(refresh.Total(), 30u);
    EXPECT_EQ(refresh.FilteredTotal(), 0u);
}

TEST(AtomicLoadingViewer, CellsAndSavedForms) {
    CAtomicLoadingInfoContainer* r = new CAtomicLoadingInfoContainer(0x30000002, 0x30000000, 4, 2, 1, 4096);
    r->SetObjectName("Forest bank");
    EXPECT_EQ(LoadedObjectCellText(*r, LOADED_COLUMN_OBJECT_NAME), "Forest bank");
    EXPECT_EQ(LoadedObjectCellText(*r, LOADED_COLUMN_OBJECT_ID), "0X30000002");
    EXPECT_EQ(LoadedObjectCellText(*r, LOADED_COLUMN_DATA), "Sound Data");
    EXPECT_EQ(LoadedObjectCellText(*r, LOADED_COLUMN_REFERENCE_COUNT), "4");
    EXPECT_EQ(LoadedObjectCellText(*r, LOADED_COLUMN_LOAD_COUNT), "2");
    EXPECT_EQ(LoadedObjectCellText(*r, LOADED_COLUMN_MEMORY), "4096");
    EXPECT_EQ(LoadedObjectCellText(*r, 9), "N/A");
    r->Release();

    CTestProject project;
    CAtomicLoadingViewerDoc doc;
    doc.Initialise(&project);
    EXPECT_EQ(doc.Columns().Order(), std::vector<std::int32_t>({4, 0, 1, 2, 3, 5, 6}));
    doc.SetAutoRefresh(true);
    doc.SetRefreshInterval(5);
    CLegacyArchiveWriter writer;
    doc.StoreArchive(writer);
    CLegacyArchiveReader reader(writer.Bytes());
    CAtomicLoadingViewerDoc back;
    EXPECT_EQ(back.LoadArchive(&project, reader), 0);
    EXPECT_TRUE(back.AutoRefresh());
    EXPECT_EQ(back.RefreshInterval(), 5);
    std::vector<std::uint8_t> other = writer.Bytes();
    other[other.size() - 12] = 2;  // the block's own version
    CLegacyArchiveReader otherReader(other);
    EXPECT_EQ(CAtomicLoadingViewerDoc().LoadArchive(&project, otherReader), 2);
}

}  // namespace
