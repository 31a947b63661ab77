// Column layouts: definition, what a view's layout save does, and both project-file forms.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ColumnSet.h"
#include "StringTable.h"

namespace {

std::vector<CColumnSet::Definition> Table() {
    return {{IDS_CANNOT_CONNECT, 0}, {IDS_NEW_CONNECTION_NAME, 1}, {IDS_NEW_CONNECTION_ADDRESS, 2}, {0, 3}};
}

std::string File(const char* name) {
    const auto dir = std::filesystem::path(::testing::TempDir()) / ("columns-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

TEST(ColumnSet, DefinedColumnsAreShownInDefinitionOrderAtTextWidth) {
    CColumnSet set;
    set.Define(Table());
    EXPECT_EQ(set.Count(), 4u);
    EXPECT_EQ(set.Order(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    ASSERT_NE(set.Find(1), nullptr);
    EXPECT_EQ(set.Find(1)->m_csHeader, "New connection");
    EXPECT_EQ(set.Find(1)->m_bIsVisible, 1);
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 7; };
    EXPECT_EQ(CColumnSet::ShownWidth(*set.Find(1), width, QV_COLUMN_MARGIN_LOGGER), 14 * 7 + 16);
    set.Find(1)->m_nWidth = 120;
    EXPECT_EQ(CColumnSet::ShownWidth(*set.Find(1), width, QV_COLUMN_MARGIN_LIST), 120);
    EXPECT_EQ(set.Find(9), nullptr);
}

TEST(ColumnSet, SavingALayoutKeepsTheDisplayOrderWidthsAndMarksModified) {
    CColumnSet set;
    int modified = 0;
    set.SetModifiedHook([&] { ++modified; });
    set.Define(Table());
    set.SaveLayout({{2, 80}, {0, 60}});
    EXPECT_GT(modified, 0);
    EXPECT_EQ(set.Order(), (std::vector<std::int32_t>{2, 0}));
    EXPECT_EQ(set.Find(2)->m_nWidth, 80);
    EXPECT_EQ(set.Find(2)->m_nDisplayPosition, 0);
    EXPECT_EQ(set.Find(1)->m_bIsVisible, 0);
    EXPECT_EQ(set.Find(1)->m_nDisplayPosition, -1);
}

TEST(ColumnSet, TheXmlFormRoundTripsAndFillsWhatIsMissing) {
    CColumnSet set;
    set.Define(Table());
    set.SaveLayout({{3, 33}, {1, 11}});
    CConfigArchive store(CConfigArchive::STORE);
    {
        CConfigSection section(store, "CColumnViewerDoc");
        set.SerializeXml(store);
    }
    const std::string text = store.Text();
    EXPECT_NE(text.find("<visibleCount dt:dt=\"i4\">2</visibleCount>"), std::string::npos);
    EXPECT_NE(text.find("<m_columnOrder_1 dt:dt=\"i4\">1</m_columnOrder_1>"), std::string::npos);
    std::string error;
    ASSERT_TRUE(store.Save(File("columns.qvl"), &error));

    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(File("columns.qvl")));
    CColumnSet loaded;
    loaded.Define(Table());
    {
        CConfigSection section(load, "CColumnViewerDoc");
        loaded.SerializeXml(load);
    }
    EXPECT_EQ(loaded.Order(), (std::vector<std::int32_t>{3, 1}));
    EXPECT_EQ(loaded.Find(3)->m_nWidth, 33);
    EXPECT_EQ(loaded.Find(0)->m_bIsVisible, 0);

    // A file without column values: every column, in definition order, at text width.
    std::ofstream(File("empty.qvl")) << "<QUORVEL_CONFIG/>";
    CConfigArchive none(CConfigArchive::LOAD);
    ASSERT_TRUE(none.Load(File("empty.qvl")));
    CColumnSet fresh;
    fresh.Define(Table());
    fresh.SerializeXml(none);
    EXPECT_EQ(fresh.Order(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(fresh.Find(2)->m_nWidth, 0);

    // A column that is mentioned without a width gets 40; an absurd count is capped.
    std::ofstream(File("partial.qvl")) << "<r><CLCColumnInfo><m_bIsVisible>1</m_bIsVisible></CLCColumnInfo>"
                                          "<visibleCount>100000</visibleCount></r>";
    CConfigArchive partial(CConfigArchive::LOAD);
    ASSERT_TRUE(partial.Load(File("partial.qvl")));
    CColumnSet capped;
    capped.Define(Table());
    capped.SerializeXml(partial);
    EXPECT_EQ(capped.Find(0)->m_nWidth, 40);
    EXPECT_EQ(capped.Order().size(), 4u);
}

TEST(ColumnSet, HidingEverythingSavesAnEmptyOrder) {
    CColumnSet set;
    set.Define(Table());
    set.SaveLayout({});
    CConfigArchive store(CConfigArchive::STORE);
    set.SerializeXml(store);
    EXPECT_NE(store.Text().find("<visibleCount dt:dt=\"i4\">0</visibleCount>"), std::string::npos);
}

TEST(ColumnSet, TheLegacyFormRoundTripsAndRefusesOtherVersions) {
    CColumnSet set;
    set.Define(Table());
    set.SaveLayout({{2, 70}});
    CLegacyArchiveWriter writer;
    set.StoreLegacy(writer);
    CLegacyArchiveReader reader(writer.Bytes());
    CColumnSet loaded;
    EXPECT_EQ(loaded.LoadLegacy(reader), 0);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(loaded.Count(), 4u);
    EXPECT_EQ(loaded.Order(), std::vector<std::int32_t>{2});
    EXPECT_EQ(loaded.Find(2)->m_nWidth, 70);
    EXPECT_EQ(loaded.Find(0)->m_csHeader, "Cannot establish the connection!");

    std::vector<std::uint8_t> bytes = writer.Bytes();
    bytes[0] = 2;
    CLegacyArchiveReader wrongVersion(bytes);
    EXPECT_EQ(CColumnSet().LoadLegacy(wrongVersion), 2);
    for (std::size_t cut = 0; cut < writer.Bytes().size(); ++cut) {
        CLegacyArchiveReader shortened(std::vector<std::uint8_t>(writer.Bytes().begin(), writer.Bytes().begin() + cut));
        EXPECT_EQ(CColumnSet().LoadLegacy(shortened), 3) << "cut at " << cut;
    }
}

}  // namespace
