// The event logger's model: cell texts, the event filter's criteria, and the
// document's saved forms.

#include <gtest/gtest.h>

#include <filesystem>

#include "EventLogger.h"
#include "TestProject.h"

namespace {

struct Record {
    CEventInfoContainer* p;
    explicit Record(std::uint32_t id, std::uint32_t type = 1, std::int32_t priority = 5, std::int32_t object = 3,
                    std::int32_t objectType = 1)
        : p(new CEventInfoContainer(id, type, priority, object, objectType)) {}
    ~Record() { p->Release(); }
};

CTestProject g_project;
IProjectDocument* const kOwner = &g_project;

TEST(EventLogger, CellTexts) {
    Record r(0x30012, 12, 0x40, 7, 1);
    EXPECT_EQ(EventCellText(*r.p, EVENT_COLUMN_ID), "0X30012");
    EXPECT_EQ(EventCellText(*r.p, EVENT_COLUMN_GROUP_ID), "3");
    EXPECT_EQ(EventCellText(*r.p, EVENT_COLUMN_TYPE), "EVT_INVALID");
    EXPECT_EQ(EventCellText(*r.p, EVENT_COLUMN_PRIORITY), "0X40");
    EXPECT_EQ(EventCellText(*r.p, EVENT_COLUMN_INFO), "");
    EXPECT_STREQ(EventTypeName(1), "EVT_SON_PLAY");
    EXPECT_STREQ(EventTypeName(11), "EVT_SON_SWITCH");
}

TEST(EventLogger, TheFilterTestsEveryCriterionInUse) {
    CEventLoggerViewerDoc doc;
    CFilter* filter = doc.AddNewFilter();
    auto* include = static_cast<CEventFilterDescriptor*>(filter->AddNewDescriptor());
    include->m_eventGroupId.Set("3");
    include->m_eventType.Choose(1);
    Record a(0x30001, 1), b(0x30002, 2), c(0x40001, 1);
    EXPECT_EQ(filter->Accept(*a.p), 1);
    EXPECT_EQ(filter->Accept(*b.p), 0);
    EXPECT_EQ(filter->Accept(*c.p), 0);
    auto* exclude = static_cast<CEventFilterDescriptor*>(filter->AddNewDescriptor());
    exclude->SetType(FILTER_EXCLUDE);
    exclude->m_eventId.Set("0x30001");
    EXPECT_EQ(filter->Accept(*a.p), 0);
    a.p->SetName("Rain start");
    auto* byName = static_cast<CEventFilterDescriptor*>(filter->AddNewDescriptor());
    byName->m_eventName.Set("ain");
    exclude->SetType(FILTER_DISABLED);
    EXPECT_EQ(filter->Accept(*a.p), 1) << "containment, case-sensitive";
}

TEST(EventLogger, TheDocumentSavesFiltersColumnsAndItsRefreshSwitch) {
    CEventLoggerViewerDoc doc;
    ASSERT_EQ(doc.Initialise(kOwner), 1);
    EXPECT_EQ(doc.Columns().Count(), 9u);
    EXPECT_EQ(doc.Columns().Find(EVENT_COLUMN_GROUP_ID)->m_csHeader, "Event Group Id");
    doc.Columns().SaveLayout({{EVENT_COLUMN_ID, 90}, {EVENT_COLUMN_TIME, 60}});
    CFilter* filter = doc.AddNewFilter();
    filter->SetName("Stops");
    auto* d = static_cast<CEventFilterDescriptor*>(filter->AddNewDescriptor());
    d->SetName("stop events");
    d->m_eventType.Choose(2);
    d->m_eventPriority.Set("-3");
    doc.SetCurrentFilter(filter);
    doc.SetRefreshList(false);

    CConfigArchive store(CConfigArchive::STORE);
    EXPECT_EQ(doc.SerializeXml(store), 0);
    const std::string text = store.Text();
    const auto at = [&](const char* what) { return text.find(what); };
    EXPECT_LT(at("<CEventLoggerViewerDoc>"), at("<CColumnViewerDoc>"));
    EXPECT_LT(at("<CColumnViewerDoc>"), at("<CFilteredViewerDoc>"));
    EXPECT_LT(at("<CFilteredViewerDoc>"), at("<CEventFilterDescriptor>"));
    EXPECT_LT(at("</CColumnViewerDoc>"), at("<m_bRefreshList"));
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "events.qvl").string();
    std::string error;
    ASSERT_TRUE(store.Save(path, &error));

    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(path));
    CEventLoggerViewerDoc fromXml;
    EXPECT_EQ(fromXml.SerializeXml(load), 0);
    CLegacyArchiveWriter writer;
    doc.StoreArchive(writer);
    CLegacyArchiveReader reader(writer.Bytes());
    CEventLoggerViewerDoc fromBinary;
    EXPECT_EQ(fromBinary.LoadArchive(kOwner, reader), 0);
    EXPECT_TRUE(reader.AtEnd());
    for (const CEventLoggerViewerDoc* loaded : {&fromXml, &fromBinary}) {
        EXPECT_FALSE(loaded->RefreshList());
        EXPECT_EQ(loaded->Columns().Order(), (std::vector<std::int32_t>{EVENT_COLUMN_ID, EVENT_COLUMN_TIME}));
        ASSERT_NE(loaded->GetCurrentFilter(), nullptr);
        EXPECT_EQ(loaded->GetCurrentFilter()->GetName(), "Stops");
        const auto* l = static_cast<const CEventFilterDescriptor*>(loaded->GetCurrentFilter()->GetDescriptor(0));
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->GetName(), "stop events");
        EXPECT_EQ(l->m_eventType.bUsed, 1);
        EXPECT_EQ(l->m_eventType.value, 2u);
        EXPECT_EQ(l->m_eventPriority.value, -3);
        EXPECT_EQ(l->m_eventPriority.csText, "-3");
    }
    CLegacyArchiveReader again(writer.Bytes());
    EXPECT_EQ(CEventLoggerViewerDoc().LoadArchive(nullptr, again), 3) << "no owner";
}

}  // namespace

#include "ResourceLogger.h"

namespace {

TEST(ResourceLogger, CellsFilterAndSavedFormsShareTheEventLoggersShape) {
    auto* r = new CResourceInfoContainer(0x00020003, 5, -6 * 65536);
    EXPECT_EQ(ResourceCellText(*r, RESOURCE_COLUMN_ID), "0X20003");
    EXPECT_EQ(ResourceCellText(*r, RESOURCE_COLUMN_TYPE), "RES_THEME");
    EXPECT_EQ(ResourceCellText(*r, RESOURCE_COLUMN_VOLUME), "-6.000000");
    EXPECT_STREQ(ResourceTypeName(9), "RES_INVALID");

    CResourceLoggerViewerDoc doc;
    ASSERT_EQ(doc.Initialise(kOwner), 1);
    EXPECT_EQ(doc.Columns().Count(), 7u);
    EXPECT_EQ(doc.Columns().Find(RESOURCE_COLUMN_VOLUME)->m_csHeader, "Resource Volume [dB]");
    CFilter* filter = doc.AddNewFilter();
    auto* d = static_cast<CResourceFilterDescriptor*>(filter->AddNewDescriptor());
    d->m_resourceType.Choose(5);
    d->m_bankId.Set("12");  // kept and saved, never evaluated
    EXPECT_EQ(filter->Accept(*r), 1);
    d->m_resourceId.Set("0x20004");
    EXPECT_EQ(filter->Accept(*r), 0);

    CConfigArchive store(CConfigArchive::STORE);
    EXPECT_EQ(doc.SerializeXml(store), 0);
    EXPECT_NE(store.Text().find("<m_lBankId dt:dt=\"i4\">12</m_lBankId>"), std::string::npos);
    CLegacyArchiveWriter writer;
    doc.StoreArchive(writer);
    CLegacyArchiveReader reader(writer.Bytes());
    CResourceLoggerViewerDoc loaded;
    EXPECT_EQ(loaded.LoadArchive(kOwner, reader), 0);
    const auto* l = static_cast<const CResourceFilterDescriptor*>(loaded.GetFilter(0)->GetDescriptor(0));
    EXPECT_EQ(l->m_bankId.value, 12);
    EXPECT_EQ(l->m_resourceId.value, 0x20004u);
    r->Release();
}

}  // namespace

#include "AtomicLoadingLogger.h"

namespace {

TEST(AtomicLoadingLogger, CellsFilterAndSavedForms) {
    auto* r = new CAtomicLoadingInfoContainer(0x20000013, 4, 0x20000000);
    EXPECT_EQ(AtomicLoadingCellText(*r, LOADING_COLUMN_OBJECT_ID), "0X20000013");
    EXPECT_EQ(AtomicLoadingCellText(*r, LOADING_COLUMN_EVENT), "Load");
    EXPECT_EQ(AtomicLoadingCellText(*r, LOADING_COLUMN_DATA), "Resource");
    EXPECT_STREQ(AtomicLoadingEventName(9), "ATM_INVALID");
    EXPECT_STREQ(AtomicLoadingDataTypeName(0), "Unknown");
    EXPECT_STREQ(LoadStateName(1), "Unloaded");

    CAtomicLoadingLoggerViewerDoc doc;
    ASSERT_EQ(doc.Initialise(kOwner), 1);
    EXPECT_EQ(doc.Columns().Count(), 5u);
    CFilter* filter = doc.AddNewFilter();
    auto* d = static_cast<CAtomicLoadingFilterDescriptor*>(filter->AddNewDescriptor());
    EXPECT_TRUE(d->SetObjectIdText("0X20000013"));
    d->Choose(LOADING_BY_DATA_TYPE, 0x20000000);
    d->SetLoadCountText("3");  // the viewer's criterion: ignored by the logger's filter
    EXPECT_EQ(filter->Accept(*r), 1);
    EXPECT_FALSE(d->SetRefCountText("12AB"));
    d->Choose(LOADING_BY_EVENT_TYPE, 5);
    EXPECT_EQ(filter->Accept(*r), 0);
    d->Ignore(LOADING_BY_EVENT_TYPE);

    CConfigArchive store(CConfigArchive::STORE);
    EXPECT_EQ(doc.SerializeXml(store), 0);
    const std::string text = store.Text();
    EXPECT_NE(text.find("<CAtomicLoadingInfoContainer>"), std::string::npos);
    EXPECT_NE(text.find("<m_ulUsedParams dt:dt=\"ui4\">21</m_ulUsedParams>"), std::string::npos);
    const std::string path = (std::filesystem::path(::testing::TempDir()) / "loading.qvl").string();
    std::string error;
    ASSERT_TRUE(store.Save(path, &error));
    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(path));
    CAtomicLoadingLoggerViewerDoc fromXml;
    EXPECT_EQ(fromXml.SerializeXml(load), 0);
    CLegacyArchiveWriter writer;
    doc.StoreArchive(writer);
    CLegacyArchiveReader reader(writer.Bytes());
    CAtomicLoadingLoggerViewerDoc fromBinary;
    EXPECT_EQ(fromBinary.LoadArchive(kOwner, reader), 0);
    EXPECT_TRUE(reader.AtEnd());
    for (const CAtomicLoadingLoggerViewerDoc* loaded : {&fromXml, &fromBinary}) {
        const auto* l = static_cast<const CAtomicLoadingFilterDescriptor*>(loaded->GetFilter(0)->GetDescriptor(0));
        EXPECT_TRUE(l->Uses(LOADING_BY_OBJECT_ID));
        EXPECT_TRUE(l->Uses(LOADING_BY_LOAD_COUNT));
        EXPECT_FALSE(l->Uses(LOADING_BY_REFERENCE_COUNT));
        EXPECT_EQ(l->Template().ObjectId(), 0x20000013u);
        EXPECT_EQ(l->Template().LoadCount(), 3u);
        EXPECT_EQ(l->ObjectIdText(), "0X20000013");
        EXPECT_EQ(l->Template().CreationTime(), d->Template().CreationTime());
    }
    r->Release();
}

}  // namespace
