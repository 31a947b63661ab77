// The per-user key store: values under backslash paths, case-insensitive names,
// atomic saves, and what a missing or damaged file gives.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "KeyStore.h"

namespace {

namespace fs = std::filesystem;

struct KeyStoreTest : ::testing::Test {
    void SetUp() override {
        directory = fs::path(::testing::TempDir()) / ("keystore-" + std::to_string(::getpid()) + "-" +
                                                     ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory);
        path = (directory / "nested" / "registry.xml").string();
    }
    void TearDown() override { fs::remove_all(directory); }
    fs::path directory;
    std::string path;
};

TEST_F(KeyStoreTest, ValuesSurviveASaveAndNamesIgnoreCase) {
    {
        CKeyStore store(path);
        store.SetNumber("SOFTWARE\\Tarnwick\\Quorvel\\Connection\\", "Connection Count", 2);
        store.SetString("SOFTWARE\\Tarnwick\\Quorvel\\Connection\\Conn_0\\", "Name", "Lab <\"&'> \xC3\xA9t\xC3\xA9\n2");
        ASSERT_TRUE(store.Save());
        EXPECT_FALSE(fs::exists(path + ".tmp"));
    }
    CKeyStore again(path);
    std::uint32_t count = 0;
    EXPECT_TRUE(again.GetNumber("software\\TARNWICK\\quorvel\\connection", "connection count", &count));
    EXPECT_EQ(count, 2u);
    std::string name;
    EXPECT_TRUE(again.GetString("SOFTWARE\\Tarnwick\\Quorvel\\Connection\\Conn_0\\", "NAME", &name));
    EXPECT_EQ(name, "Lab <\"&'> \xC3\xA9t\xC3\xA9\n2");
    EXPECT_FALSE(again.GetString("SOFTWARE\\Tarnwick\\Quorvel\\Connection\\", "Connection Count", &name))
        << "a number is not a text";
}

TEST_F(KeyStoreTest, DeletingAKeyTakesItsSubKeys) {
    CKeyStore store(path);
    store.SetString("A\\B\\C", "v", "1");
    store.SetString("A\\D", "v", "2");
    EXPECT_EQ(store.SubKeyNames("A"), (std::vector<std::string>{"B", "D"}));
    EXPECT_TRUE(store.DeleteKey("a\\b"));
    EXPECT_FALSE(store.KeyExists("A\\B\\C"));
    EXPECT_TRUE(store.KeyExists("A\\D"));
    EXPECT_FALSE(store.DeleteKey("A\\B"));
}

TEST_F(KeyStoreTest, AMissingFileIsEmptyAndADamagedOneIsLeftAloneUntilTheNextSave) {
    CKeyStore missing(path);
    EXPECT_FALSE(missing.KeyExists("SOFTWARE"));
    fs::create_directories(fs::path(path).parent_path());
    { std::ofstream(path) << "<QuorvelKeyStore version=\"1\"><Key name=\"SOFT"; }
    CKeyStore damaged(path);
    EXPECT_FALSE(damaged.KeyExists("SOFTWARE"));
    std::ifstream still(path);
    std::string text((std::istreambuf_iterator<char>(still)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "<QuorvelKeyStore version=\"1\"><Key name=\"SOFT") << "loading never rewrites the file";
    damaged.SetNumber("X", "n", 1);
    EXPECT_TRUE(damaged.Save());
    CKeyStore repaired(path);
    EXPECT_TRUE(repaired.KeyExists("X"));
}

TEST_F(KeyStoreTest, ASaveThatCannotWriteFailsAndKeepsTheOldFile) {
    CKeyStore store("/proc/no-such-place/registry.xml");
    store.SetNumber("X", "n", 1);
    EXPECT_FALSE(store.Save());
}

}  // namespace
