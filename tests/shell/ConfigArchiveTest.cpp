// The XML archive: typed values in sections, names in any case, defaults for what
// a file lacks, and text that survives a save and a reload.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ConfigArchive.h"

namespace {

namespace fs = std::filesystem;

struct ConfigArchiveTest : ::testing::Test {
    std::string File(const std::string& name) {
        const fs::path dir = fs::path(::testing::TempDir()) / ("archive-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        return (dir / name).string();
    }
    void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
};

TEST_F(ConfigArchiveTest, ValuesRoundTripWithTheirTypes) {
    CConfigArchive store(CConfigArchive::STORE);
    {
        CConfigSection main(store, "Main");
        store.WriteI4("m_lLocalQuorvelTCPPort", -13000);
        store.WriteUI4("m_ulBig", 4000000000u);
        store.WriteR4("m_rSpeed", 2.5f);
        store.WriteString("m_csLCBProjectFile", "/home/s\xC3\xA9verine/proj <1> & \"2\".lcb");
    }
    store.EnterSection("ViewerDocs");
    store.LeaveSection();
    const std::string text = store.Text();
    EXPECT_NE(text.find("<QUORVEL_CONFIG"), std::string::npos);
    EXPECT_NE(text.find("xmlns:dt=\"urn:schemas-microsoft-com:datatypes\""), std::string::npos);
    EXPECT_NE(text.find("<m_lLocalQuorvelTCPPort dt:dt=\"i4\">-13000</m_lLocalQuorvelTCPPort>"), std::string::npos);
    EXPECT_NE(text.find("dt:dt=\"ui4\">4000000000<"), std::string::npos);
    EXPECT_NE(text.find("<ViewerDocs />"), std::string::npos);
    const std::string path = File("round.qvl");
    std::string error;
    ASSERT_TRUE(store.Save(path, &error)) << error;

    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(path));
    CConfigSection main(load, "Main");
    EXPECT_EQ(load.ReadI4("m_lLocalQuorvelTCPPort", 0), -13000);
    EXPECT_EQ(load.ReadUI4("m_ulBig", 0), 4000000000u);
    EXPECT_FLOAT_EQ(load.ReadR4("m_rSpeed", 0), 2.5f);
    EXPECT_EQ(load.ReadString("m_csLCBProjectFile", ""), "/home/s\xC3\xA9verine/proj <1> & \"2\".lcb");
}

TEST_F(ConfigArchiveTest, NamesMatchInAnyCaseAndMissingEntriesGiveDefaults) {
    const std::string path = File("case.qvl");
    Write(path, "<?xml version='1.0'?><Anything><main><M_LLOCALQUORVELTCPPORT dt:dt='i4'>777</M_LLOCALQUORVELTCPPORT>"
                "<bad dt:dt='i4'>12abc</bad></main><Item><v>1</v></Item><item><v>2</v></item></Anything>");
    CConfigArchive load(CConfigArchive::LOAD);
    ASSERT_TRUE(load.Load(path));
    {
        CConfigSection main(load, "Main");
        EXPECT_EQ(load.ReadI4("m_lLocalQuorvelTCPPort", 12988), 777);
        EXPECT_EQ(load.ReadI4("m_bReadFromCueforge", 5), 5);
        EXPECT_EQ(load.ReadI4("bad", 9), 9) << "a value that does not parse gives the default";
    }
    {
        CConfigSection second(load, "ITEM", 1);
        EXPECT_EQ(load.ReadI4("v", 0), 2) << "sections are taken by index among same-named elements";
    }
    {
        CConfigSection missing(load, "NotThere");
        {
            CConfigSection deeper(load, "Main");  // inside a missing section everything is missing
            EXPECT_EQ(load.ReadI4("m_lLocalQuorvelTCPPort", 1), 1);
        }
        EXPECT_EQ(load.ReadString("x", "default"), "default");
    }
    CConfigSection main(load, "main");
    EXPECT_EQ(load.ReadI4("m_lLocalQuorvelTCPPort", 0), 777) << "leaving a missing section restores the place";
}

TEST_F(ConfigArchiveTest, FilesThatAreNotXmlDoNotLoadAndUnwritablePathsDoNotSave) {
    const std::string path = File("binary.qvl");
    Write(path, std::string("\x3BQUORVEL PROJECT FILE", 22));
    CConfigArchive load(CConfigArchive::LOAD);
    EXPECT_FALSE(load.Load(path));
    EXPECT_FALSE(load.Load(File("missing.qvl")));
    CConfigArchive store(CConfigArchive::STORE);
    std::string error;
    EXPECT_FALSE(store.Save("/proc/none/x.qvl", &error));
    EXPECT_FALSE(error.empty());
}

TEST_F(ConfigArchiveTest, SerializeReadsWithTheCurrentValueAsDefault) {
    CConfigArchive load(CConfigArchive::LOAD);
    const std::string path = File("partial.qvl");
    Write(path, "<r><a>4</a></r>");
    ASSERT_TRUE(load.Load(path));
    std::int32_t a = 1, b = 2;
    std::string s = "keep";
    load.SerializeI4("a", &a);
    load.SerializeI4("b", &b);
    load.SerializeString("s", &s);
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(s, "keep");
}

}  // namespace
