// Connection records in the key store and in record-list files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ConnectionViewDoc.h"
#include "AtomicFile.h"
#include "LegacyArchive.h"

namespace {

namespace fs = std::filesystem;

class ScriptedPrompt : public IPrompt {
public:
    void Show(EPromptKind, const std::string& text) override { shown.push_back(text); }
    bool AskYesNo(const std::string&) override { return false; }
    std::vector<std::string> shown;
};

struct ConnectionRecords : ::testing::Test {
    void SetUp() override {
        directory = fs::path(::testing::TempDir()) / ("records-" + std::to_string(::getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory);
        fs::create_directories(directory);
        store = std::make_unique<CKeyStore>((directory / "registry.xml").string());
    }
    void TearDown() override { fs::remove_all(directory); }
    std::string File(const char* name) const { return (directory / name).string(); }

    void WriteRecords(const std::vector<CConnectionRecord>& records, std::uint32_t count) {
        store->SetNumber(QV_CONNECTION_KEY, "Connection Count", count);
        for (std::size_t i = 0; i < records.size(); ++i) {
            const std::string key = std::string(QV_CONNECTION_KEY) + "Conn_" + std::to_string(i) + "\\";
            store->SetString(key, "Name", records[i].csName);
            store->SetString(key, "Address", records[i].csAddress);
            store->SetString(key, "Comment", records[i].csComment);
            store->SetString(key, "Port", records[i].csPort);
        }
        ASSERT_TRUE(store->Save());
    }
    std::vector<std::string> Names(const CConnectionViewDoc& doc) {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < doc.Count(); ++i) names.push_back(doc.GetRecord(i)->csName);
        return names;
    }

    fs::path directory;
    std::unique_ptr<CKeyStore> store;
    ScriptedPrompt prompt;
};

TEST_F(ConnectionRecords, AFirstStartHoldsTheDefaultRecordAndSavesIt) {
    CConnectionViewDoc doc(*store, &prompt);
    doc.Initialise(nullptr);
    ASSERT_EQ(doc.Count(), 1u);
    EXPECT_EQ(*doc.GetRecord(0), CConnectionRecord::Default());
    EXPECT_EQ(doc.GetRecord(0)->csName, "Local PC-Win32 (Default Connection)");
    EXPECT_EQ(doc.GetRecord(0)->csPort, "12987");
    doc.Reset();
    CKeyStore reread(store->FilePath());
    std::uint32_t count = 0;
    EXPECT_TRUE(reread.GetNumber(QV_CONNECTION_KEY, "Connection Count", &count));
    EXPECT_EQ(count, 1u);
    std::string address;
    EXPECT_TRUE(reread.GetString(std::string(QV_CONNECTION_KEY) + "Conn_0\\", "Address", &address));
    EXPECT_EQ(address, "127.0.0.1");
}

TEST_F(ConnectionRecords, DuplicateNamesAreNumberedAndMissingKeysLoadEmpty) {
    WriteRecords({{"A", "a", "", "1"}, {"A", "b", "", "2"}, {"B", "c", "", "abc"}}, 6);
    CConnectionViewDoc doc(*store, &prompt);
    doc.Initialise(nullptr);
    EXPECT_EQ(Names(doc), (std::vector<std::string>{"A", "A (2)", "B", "", " (2)", " (3)"}));
    EXPECT_EQ(doc.GetRecord(2)->csPort, "abc");
    EXPECT_EQ(doc.GetRecord(2)->PortNumber(), 0);
    EXPECT_EQ(doc.GetRecord(3)->csAddress, "");
}

TEST_F(ConnectionRecords, AddUniqueCountsOnFromTheFirstFreeNumber) {
    CConnectionViewDoc doc(*store);
    doc.AppendRecord({"Lab", "", "", ""});
    doc.AppendRecord({"Lab (2)", "", "", ""});
    doc.AddUnique({"Lab", "", "", ""});
    EXPECT_EQ(doc.GetRecord(2)->csName, "Lab (3)");
    EXPECT_EQ(doc.GetRecordOrDefault(17), CConnectionRecord::Default());
}

TEST_F(ConnectionRecords, SavingRenumbersTheKeysAfterADelete) {
    WriteRecords({{"A", "", "", ""}, {"B", "", "", ""}, {"C", "", "", ""}}, 3);
    CConnectionViewDoc doc(*store);
    doc.Initialise(nullptr);
    doc.RemoveRecord(1);
    doc.SaveToRegistry();
    CKeyStore reread(store->FilePath());
    std::uint32_t count = 0;
    reread.GetNumber(QV_CONNECTION_KEY, "Connection Count", &count);
    EXPECT_EQ(count, 2u);
    std::string name;
    reread.GetString(std::string(QV_CONNECTION_KEY) + "Conn_1\\", "Name", &name);
    EXPECT_EQ(name, "C");
    EXPECT_FALSE(reread.KeyExists(std::string(QV_CONNECTION_KEY) + "Conn_2\\"));
}

TEST_F(ConnectionRecords, PortTextsReadTheirLeadingNumber) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"12987", 12987}, {"  42abc", 42}, {"-5", -5}, {"abc", 0}, {"", 0}, {"+7", 7}};
    for (const auto& [text, port] : cases) {
        CConnectionRecord r;
        r.csPort = text;
        EXPECT_EQ(r.PortNumber(), port) << '"' << text << '"';
    }
}

TEST_F(ConnectionRecords, AnExportedListImportsBackIntoTheSameRecords) {
    CConnectionViewDoc doc(*store, &prompt);
    doc.AppendRecord({"Studio", "10.0.0.5", "the big one", "12987"});
    doc.AppendRecord({"Long", std::string(300, 'x'), std::string(70000, 'c'), "1"});
    doc.AppendRecord({"\xC3\xA9t\xC3\xA9", "host.example", "", "abc"});
    ASSERT_TRUE(doc.ExportFile(File("list.lst")));
    CConnectionViewDoc other(*store, &prompt);
    int changed = 0;
    other.SetListChanged([&] { ++changed; });
    ASSERT_TRUE(other.ImportFile(File("list.lst")));
    ASSERT_EQ(other.Count(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(*other.GetRecord(i), *doc.GetRecord(i));
    EXPECT_EQ(changed, 1);
    ASSERT_TRUE(other.ImportFile(File("list.lst")));
    EXPECT_EQ(other.GetRecord(3)->csName, "Studio (2)");
}

TEST_F(ConnectionRecords, AnEmptyFileAddsNothingAndADamagedOneIsRefusedWhole) {
    CConnectionViewDoc source(*store);
    source.AppendRecord({"A", "1.2.3.4", "c", "1"});
    source.AppendRecord({"B", "5.6.7.8", "d", "2"});
    ASSERT_TRUE(source.ExportFile(File("good.lst")));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(QvReadFile(File("good.lst"), &bytes));

    CConnectionViewDoc doc(*store, &prompt);
    { std::ofstream empty(File("empty.lst")); }
    EXPECT_TRUE(doc.ImportFile(File("empty.lst")));
    EXPECT_EQ(doc.Count(), 0u);
    // Every truncation of a good file, and a file with something after its records.
    for (std::size_t length = 1; length < bytes.size(); ++length) {
        ASSERT_TRUE(QvWriteFileAtomically(File("cut.lst"), std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + length)));
        EXPECT_FALSE(doc.ImportFile(File("cut.lst"))) << "cut at " << length;
    }
    std::vector<std::uint8_t> longer = bytes;
    longer.push_back(0);
    ASSERT_TRUE(QvWriteFileAtomically(File("long.lst"), longer));
    EXPECT_FALSE(doc.ImportFile(File("long.lst")));
    EXPECT_EQ(doc.Count(), 0u) << "nothing of a refused file is added";
    EXPECT_TRUE(prompt.shown.empty()) << "a damaged file is the caller's message (124), not a file error";

    EXPECT_FALSE(doc.ImportFile(File("missing.lst")));
    EXPECT_EQ(prompt.shown.size(), 1u) << "the file error is shown";
    EXPECT_FALSE(doc.ExportFile(File("no-such-dir/x.lst")));
}

TEST(LegacyArchive, StringsInEveryLengthFormAndUtf16) {
    CLegacyArchiveWriter w;
    const std::vector<std::string> texts = {"", "abc", std::string(254, 'a'), std::string(255, 'b'),
                                            std::string(0xFFFD, 'c'), std::string(0x10000, 'd')};
    for (const auto& t : texts) w.WriteString(t);
    w.WriteCount(3);
    w.WriteCount(0x12345);
    CLegacyArchiveReader r(w.Bytes());
    for (const auto& t : texts) {
        std::string read;
        ASSERT_TRUE(r.ReadString(&read));
        EXPECT_EQ(read, t);
    }
    std::uint32_t count = 0;
    EXPECT_TRUE(r.ReadCount(&count));
    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(r.ReadCount(&count));
    EXPECT_EQ(count, 0x12345u);
    EXPECT_TRUE(r.AtEnd());

    // "é€" as UTF-16: marker 0xFF 0xFEFF... then length 2, then the two characters.
    CLegacyArchiveReader wide({0xFF, 0xFE, 0xFF, 0x02, 0xE9, 0x00, 0xAC, 0x20});
    std::string text;
    ASSERT_TRUE(wide.ReadString(&text));
    EXPECT_EQ(text, "\xC3\xA9\xE2\x82\xAC");
    CLegacyArchiveReader truncated({0xFF, 0x10, 0x00, 'a'});
    EXPECT_FALSE(truncated.ReadString(&text));
    EXPECT_TRUE(truncated.Failed());
}

}  // namespace
