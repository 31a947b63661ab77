// The project document's file: what a new project's file holds and in which order,
// reading it back in either form, the messages for files it cannot use, viewer
// tabs, and saving that never destroys the previous file.

#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>

#include "AtomicLoadingViewerDoc.h"
#include "EventLogger.h"
#include "ObjectViewerDoc.h"
#include "QuorvelDoc.h"
#include "RecordingPrompt.h"
#include "ResourceLogger.h"
#include "VoiceListViewDoc.h"

namespace {

namespace fs = std::filesystem;

struct ProjectFile : ::testing::Test {
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("project-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        store = std::make_unique<CKeyStore>((dir / "store.xml").string());
        document = std::make_unique<CQuorvelDoc>(*store, &prompt);
    }
    void TearDown() override {
        document.reset();
        fs::remove_all(dir);
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void Write(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    // A project whose every viewer document differs from a new one's.
    void MakeRichProject() {
        ASSERT_TRUE(document->OnNewDocument());
        document->m_lLocalQuorvelTCPPort = 13001;
        document->m_csLCBProjectFile = "/projects/rain.lcb";
        document->m_csProjectLanguage = "Français";
        document->m_bReadFromCueforge = 1;
        auto* events = document->ViewerDoc<CEventLoggerViewerDoc>(1);
        events->Columns().SaveLayout({{EVENT_COLUMN_TYPE, 90}, {EVENT_COLUMN_TIME, 61}});
        CFilter* filter = events->AddNewFilter();
        filter->SetName("Brücke");
        filter->SetDisplayOnlyFirstOccurrence(true);
        auto* descriptor = static_cast<CEventFilterDescriptor*>(filter->AddNewDescriptor());
        descriptor->SetName("plays");
        descriptor->SetType(FILTER_EXCLUDE);
        descriptor->m_eventType.Choose(1);
        events->SetCurrentFilter(filter);
        events->SetRefreshList(false);
        document->ViewerDoc<CResourceLoggerViewerDoc>(2)->Columns().SaveLayout({{2, 50}});
        auto* loaded = document->ViewerDoc<CAtomicLoadingViewerDoc>(8);
        loaded->SetAutoRefresh(true);
        loaded->SetRefreshInterval(3);
        loaded->AddNewFilter()->SetName("banks");
        document->ViewerDoc<CObjectViewerDoc>(10)->ObjectColumns().SaveLayout({{8, 200}, {0, 90}});
        document->ViewerDoc<CVoiceListViewDoc>(11)->Columns().SaveLayout({{9, 120}, {5, 80}, {0, 80}});
        document->Tabs().OpenViewer("CEventLoggerView");
        document->Tabs().OpenViewer("CObjectViewer");
        document->Tabs().SelectViewer("CEventLoggerView");
    }
    // The document as its XML file would hold it now.
    std::string SavedText() {
        const std::string path = Path("snapshot.qvl");
        EXPECT_TRUE(document->OnSaveDocument(path));
        return Read(path);
    }
    // The binary form of earlier versions, written from the document's current state.
    std::string LegacyBytes(const std::vector<int>& kinds, std::int32_t version = 1,
                            const std::string& magic = QV_LEGACY_MAGIC) {
        CLegacyArchiveWriter w;
        w.WriteString(magic);
        w.WriteInt32(version);
        w.WriteUInt32(static_cast<std::uint32_t>(document->m_lLocalQuorvelTCPPort));
        w.WriteString(document->m_csLCBProjectFile);
        w.WriteString(document->m_csProjectLanguage);
        w.WriteInt32(document->m_bReadFromCueforge);
        w.WriteInt32(document->m_bWriteToCueforge);
        w.WriteInt32(static_cast<std::int32_t>(kinds.size()));
        for (int kind : kinds) {
            w.WriteInt32(kind);
            if (CViewerDoc* doc = document->GetViewerDoc(kind)) doc->StoreArchive(w);
        }
        for (const char* view : {"CAtomicLoadingLoggerView", "CAtomicLoadingViewer", "CEventLoggerView",
                                 "CResourceLoggerView", "CResourceMixerView", "CPROPViewer", "CQuorvelLoggerView",
                                 "CObjectViewer", "CVoiceListView"}) {
            w.WriteInt32(document->Tabs().LoadedFlag(view));
            w.WriteInt32(document->Tabs().IsActive(view) ? 1 : 0);
        }
        return std::string(w.Bytes().begin(), w.Bytes().end());
    }
    bool IsFreshProject() const {
        return document->ViewerDocKinds() == std::vector<int>({6, 11, 10, 8, 7, 5, 2, 1, 9}) &&
               !document->IsModified() && document->m_csLCBProjectFile.empty() && document->GetCommander(4) &&
               document->GetLoggerSource(1) && document->Connections()->Count() >= 1;
    }

    fs::path dir;
    CRecordingPrompt prompt;
    std::unique_ptr<CKeyStore> store;
    std::unique_ptr<CQuorvelDoc> document;
};

TEST_F(ProjectFile, ANewProjectsFileHoldsMainThenTheViewerDocumentsThenTheTabFlags) {
    ASSERT_TRUE(document->OnNewDocument());
    EXPECT_EQ(document->ViewerDocKinds(), std::vector<int>({6, 11, 10, 8, 7, 5, 2, 1, 9}));
    pugi::xml_document xml;
    ASSERT_TRUE(xml.load_string(SavedText().c_str()));
    const pugi::xml_node root = xml.document_element();
    EXPECT_STREQ(root.name(), "QUORVEL_CONFIG");
    std::vector<std::string> children;
    for (pugi::xml_node child : root.children()) children.push_back(child.name());
    std::vector<std::string> expected = {"Main",
                                         "ViewerDocs",
                                         "CPROPViewerDoc",
                                         "CVoiceListViewDoc",
                                         "CObjectViewerDoc",
                                         "CAtomicLoadingViewerDoc",
                                         "CAtomicLoadingLoggerViewerDoc",
                                         "CResourceMixerViewerDoc",
                                         "CResourceLoggerViewerDoc",
                                         "CEventLoggerViewerDoc"};
    for (const char* view : {"CAtomicLoadingLoggerView", "CAtomicLoadingViewer", "CEventLoggerView",
                             "CResourceLoggerView", "CResourceMixerView", "CQuorvelLoggerView", "CObjectViewer",
                             "CVoiceListView", "CPROPViewer"}) {
        expected.push_back(std::string("loaded_") + view);
        expected.push_back(std::string("active_") + view);
    }
    EXPECT_EQ(children, expected);
    std::vector<std::string> main;
    for (pugi::xml_node value : root.child("Main").children()) main.push_back(value.name());
    EXPECT_EQ(main, std::vector<std::string>({"m_lLocalQuorvelTCPPort", "m_csLCBProjectFile", "m_csProjectLanguage",
                                              "m_bReadFromCueforge", "m_bWriteToCueforge"}));
    EXPECT_STREQ(root.child("Main").child("m_lLocalQuorvelTCPPort").attribute("dt:dt").value(), "i4");
    EXPECT_TRUE(root.child("ViewerDocs") && !root.child("ViewerDocs").first_child());
    EXPECT_TRUE(root.child("CEventLoggerViewerDoc").child("CColumnViewerDoc").child("CFilteredViewerDoc"));
    EXPECT_TRUE(root.child("CObjectViewerDoc").child("MicroColumns").next_sibling("ObjectColumns"));
    EXPECT_TRUE(root.child("CVoiceListViewDoc").child("visibleCount"));
    EXPECT_FALSE(document->IsModified());
}

TEST_F(ProjectFile, BothFormsGiveBackEveryViewersState) {
    MakeRichProject();
    const std::string saved = SavedText();
    const std::string legacy = LegacyBytes({1, 2, 7, 8, 10, 11, 9});
    ASSERT_TRUE(document->OnOpenDocument(Path("snapshot.qvl")));
    EXPECT_EQ(SavedText(), saved);
    EXPECT_EQ(document->m_csProjectLanguage, "Français");
    EXPECT_NE(saved.find("Fran\xC3\xA7" "ais"), std::string::npos) << "stored as UTF-8";
    auto* events = document->ViewerDoc<CEventLoggerViewerDoc>(1);
    ASSERT_TRUE(events->GetCurrentFilter());
    EXPECT_EQ(events->GetCurrentFilter()->GetName(), "Brücke");
    EXPECT_FALSE(events->RefreshList());

    Write(Path("old.qvl"), legacy);
    ASSERT_TRUE(document->OnOpenDocument(Path("old.qvl"))) << prompt.Last();
    EXPECT_EQ(document->m_lLocalQuorvelTCPPort, 13001);
    EXPECT_EQ(SavedText(), saved);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(ProjectFile, WhatAFileLacksTakesItsDefaultAndNamesMatchInAnyCase) {
    document->m_lLocalQuorvelTCPPort = 13000;
    Write(Path("sparse.qvl"),
          "<anything><main><M_CSPROJECTLANGUAGE dt:dt='string' xmlns:dt='urn:schemas-microsoft-com:datatypes'>de"
          "</M_CSPROJECTLANGUAGE><m_bReadFromCueforge>seven</m_bReadFromCueforge></main>"
          "<loaded_CEventLoggerView>1</loaded_CEventLoggerView><active_CEventLoggerView>1</active_CEventLoggerView>"
          "<loaded_CVoiceListView>-5</loaded_CVoiceListView><ACTIVE_CVOICELISTVIEW>1</ACTIVE_CVOICELISTVIEW>"
          "</anything>");
    ASSERT_TRUE(document->OnOpenDocument(Path("sparse.qvl")));
    EXPECT_EQ(document->m_lLocalQuorvelTCPPort, 12988);
    EXPECT_EQ(document->m_csProjectLanguage, "de");
    EXPECT_EQ(document->m_bReadFromCueforge, 0) << "not a number: the default";
    EXPECT_TRUE(document->Tabs().LoadedFlag("CEventLoggerView"));
    EXPECT_TRUE(document->Tabs().LoadedFlag("CVoiceListView"));
    EXPECT_TRUE(document->Tabs().IsActive("CVoiceListView")) << "the last active flag read wins";
    auto* events = document->ViewerDoc<CEventLoggerViewerDoc>(1);
    EXPECT_EQ(events->Columns().Order().size(), 9u) << "a missing element leaves the new project's columns";
    EXPECT_FALSE(document->IsModified());
}

TEST_F(ProjectFile, ANewProjectKeepsThePortOfThePreviousOne) {
    ASSERT_TRUE(document->OnNewDocument());
    document->m_lLocalQuorvelTCPPort = 13000;
    document->m_bWriteToCueforge = 1;
    ASSERT_TRUE(document->OnNewDocument());
    EXPECT_EQ(document->m_lLocalQuorvelTCPPort, 13000);
    EXPECT_EQ(document->m_bWriteToCueforge, 0);
}

TEST_F(ProjectFile, FilesItCannotUseAreRefusedWithTheirMessageAndLeaveANewProject) {
    ASSERT_TRUE(document->OnNewDocument());
    document->m_lLocalQuorvelTCPPort = 14000;  // written into the bad files below
    struct Case {
        const char* what;
        std::string bytes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"wrong magic", LegacyBytes({1}, 1, "SOMEONE ELSE'S FILE"), "Invalid Quorvel file."},
        {"version 2", LegacyBytes({1}, 2), "Don't support this Quorvel file version."},
        {"unknown kind", LegacyBytes({3}), "Unknown error. Cannot load the file."},
        {"empty file", "", "Invalid Quorvel file."},
        {"text", "hello, world", "Invalid Quorvel file."},
        {"cut short", LegacyBytes({1, 2}).substr(0, 90), "damaged or incomplete"},
    };
    document->m_lLocalQuorvelTCPPort = 12988;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Write(Path("bad.qvl"), c.bytes);
        document->m_csProjectLanguage = "left over";
        prompt.shown.clear();
        EXPECT_FALSE(document->OnOpenDocument(Path("bad.qvl")));
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_NE(prompt.Last().find(c.message), std::string::npos) << prompt.Last();
        EXPECT_TRUE(IsFreshProject());
        EXPECT_TRUE(document->PathName().empty());
        EXPECT_EQ(document->m_lLocalQuorvelTCPPort, 12988) << "the port of the project before, not the file's";
    }
    std::string absurd = LegacyBytes({});
    absurd.replace(absurd.size() - 72 - 4, 4, std::string("\xFF\xFF\xFF\x7F", 4));  // the count of viewer blocks
    Write(Path("absurd.qvl"), absurd);
    EXPECT_FALSE(document->OnOpenDocument(Path("absurd.qvl")));
    EXPECT_TRUE(IsFreshProject());
}

TEST_F(ProjectFile, EveryPrefixOfAValidFileOpensOrIsRefusedCleanly) {
    MakeRichProject();
    const std::string xml = SavedText();
    const std::string legacy = LegacyBytes({1, 2, 7, 8, 10, 11, 9});
    for (const std::string* file : {&legacy, &xml}) {
        // Every prefix of the binary file; the XML file every 7 bytes and its last 64 one by one.
        for (std::size_t n = 0; n < file->size(); n += (file == &xml && n + 64 < file->size()) ? 7 : 1) {
            Write(Path("prefix.qvl"), file->substr(0, n));
            prompt.shown.clear();
            if (!document->OnOpenDocument(Path("prefix.qvl"))) {
                ASSERT_TRUE(IsFreshProject()) << n;
                ASSERT_EQ(prompt.shown.size(), 1u) << n;
            }
        }
    }
}

TEST_F(ProjectFile, AFailedSaveKeepsThePreviousFileAndTheModifiedFlag) {
    MakeRichProject();
    const std::string path = Path("kept.qvl");
    ASSERT_TRUE(document->OnSaveDocument(path));
    const std::string before = Read(path);
    document->m_csProjectLanguage = "changed";
    document->SetModifiedFlag();
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 256;  // the file system refuses anything longer
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool ok = document->OnSaveDocument(path);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(ok);
    EXPECT_EQ(Read(path), before);
    EXPECT_TRUE(document->IsModified());
    EXPECT_FALSE(prompt.Last().empty()) << "the user is told why";
    EXPECT_FALSE(fs::exists(path + ".tmp"));
}

TEST_F(ProjectFile, StatusAndOutputTexts) {
    ASSERT_TRUE(document->OnNewDocument());
    EXPECT_EQ(document->StatusText(), "Ready");
    document->SetStatusMessage("");
    EXPECT_TRUE(std::regex_match(document->StatusText(), std::regex("<\\d\\d:\\d\\d:\\d\\d> Ready")));
    document->SetStatusMessage("Saved");
    EXPECT_TRUE(std::regex_match(document->StatusText(), std::regex("<\\d\\d:\\d\\d:\\d\\d> Saved")));
    document->Tabs().OpenViewer("CEventLoggerView");
    document->AppendOutput("one\r\n", false);
    EXPECT_TRUE(document->Tabs().LoadedFlag(QV_OUTPUT_VIEW_CLASS)) << "opened when not open";
    document->Tabs().SelectViewer("CEventLoggerView");
    document->AppendOutput("two\r\n", false);
    EXPECT_TRUE(document->Tabs().IsActive("CEventLoggerView")) << "an open Output tab is left alone";
    EXPECT_EQ(document->OutputText(), "one\r\ntwo\r\n");
    document->ClearOutput();
    EXPECT_EQ(document->OutputText(), "");
}

}  // namespace
