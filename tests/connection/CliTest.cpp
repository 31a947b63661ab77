// quorvel-cli as a user runs it: records kept in the user's store, exit codes for
// what went wrong, and a connection to norvsim.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <future>
#include <thread>

#include "EventLogger.h"
#include "QuorvelDoc.h"
#include "RawPeer.h"
#include "RunningSimulator.h"

namespace {

namespace fs = std::filesystem;

struct Cli : ::testing::Test {
    void SetUp() override {
        home = fs::path(::testing::TempDir()) / ("cli-" + std::to_string(::getpid()));
        fs::remove_all(home);
        fs::create_directories(home);
    }
    void TearDown() override { fs::remove_all(home); }
    // Runs the tool with its store under our temporary directory; the exit code and what it printed.
    int Run(const std::string& arguments, std::string* output = nullptr) {
        const std::string command = "XDG_CONFIG_HOME='" + (home / "config").string() + "' '" QUORVEL_CLI "' " +
                                    arguments + " > '" + (home / "out").string() + "' 2>&1";
        const int status = std::system(command.c_str());
        if (output) {
            std::ifstream in(home / "out");
            output->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    fs::path home;
};

TEST_F(Cli, ManagesConnectionRecords) {
    std::string out;
    EXPECT_EQ(Run("records list", &out), 0);
    EXPECT_EQ(out, "Local PC-Win32 (Default Connection)\t127.0.0.1\t12987\tUse default port to access a local NORV engine\n");
    EXPECT_EQ(Run("records add Studio 10.0.0.5 12987 'the big one'"), 0);
    EXPECT_EQ(Run("records add Studio 10.0.0.6 1", &out), 2);
    EXPECT_NE(out.find("\"Studio\" already exist"), std::string::npos);
    EXPECT_EQ(Run("records add Bad 10.0.0.6 70000"), 2);
    EXPECT_EQ(Run("records export '" + (home / "all.lst").string() + "'"), 0);
    EXPECT_EQ(Run("records remove Studio"), 0);
    EXPECT_EQ(Run("records remove Studio"), 7);
    EXPECT_EQ(Run("records import '" + (home / "all.lst").string() + "'"), 0);
    EXPECT_EQ(Run("records list", &out), 0);
    EXPECT_NE(out.find("Studio\t10.0.0.5\t12987\tthe big one"), std::string::npos);
    { std::ofstream(home / "bad.lst") << "not a record list"; }
    EXPECT_EQ(Run("records import '" + (home / "bad.lst").string() + "'", &out), 8);
    EXPECT_NE(out.find("Cannot import connection records from file"), std::string::npos);
}

TEST_F(Cli, ExitCodesTellWhatWentWrong) {
    std::string out;
    EXPECT_EQ(Run("--help", &out), 0);
    EXPECT_NE(out.find("--accept-version-mismatch"), std::string::npos);
    EXPECT_EQ(Run("frobnicate"), 2);
    EXPECT_EQ(Run("connect --address 127.0.0.1"), 2);
    EXPECT_EQ(Run("connect Nobody"), 7);
    std::int32_t freePort;
    {
        RawListener gone;
        freePort = gone.Port();
    }
    EXPECT_EQ(Run("connect --address 127.0.0.1 --port " + std::to_string(freePort) + " --local-port 0", &out), 4);
    EXPECT_NE(out.find("Cannot establish the connection!"), std::string::npos);
    RawListener taken;
    EXPECT_EQ(Run("connect --address 127.0.0.1 --port " + std::to_string(freePort) + " --local-port " +
                      std::to_string(taken.Port()), &out), 3);
    EXPECT_NE(out.find("Cannot initialize RPC."), std::string::npos);
}

TEST_F(Cli, ConnectsToNorvsimAndRefusesAnotherVersionUnlessTold) {
    RunningSimulator simulator(RunningSimulator::WithVersion("22.2.0"));
    const std::string engine = "--address 127.0.0.1 --port " + std::to_string(simulator.Port()) + " --local-port 0";
    std::string out;
    EXPECT_EQ(Run("connect " + engine, &out), 5);
    EXPECT_NE(out.find("answered No"), std::string::npos);
    EXPECT_EQ(Run("connect " + engine + " --accept-version-mismatch --for-seconds 1 --log events", &out), 0);
    EXPECT_NE(out.find("engine version 22.2.0"), std::string::npos);
    EXPECT_TRUE(std::regex_search(out, std::regex("event +Time +Event name +Event Id"))) << out;
    EXPECT_NE(out.find("EVT_SON_PLAY"), std::string::npos);
    EXPECT_EQ(Run("connect " + engine + " --accept-version-mismatch --for-seconds 1 --log events,loading --json", &out), 0);
    EXPECT_NE(out.find("{\"kind\":\"event\",\"time\":\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"eventId\":"), std::string::npos);
    EXPECT_NE(out.find("{\"kind\":\"loading\""), std::string::npos);
}

TEST_F(Cli, LogsAndPollsEveryKindOfRecord) {
    RunningSimulator simulator;
    const std::string engine = "--address 127.0.0.1 --port " + std::to_string(simulator.Port()) + " --local-port 0";
    std::string out;
    EXPECT_EQ(Run("connect " + engine +
                      " --for-seconds 2.5 --log events,resources,loading --poll voices,objects,loaded"
                      " --interval-ms 400 --json", &out), 0);
    for (const char* kind : {"event", "resource", "loading", "voice", "micro", "object", "loaded"})
        EXPECT_NE(out.find(std::string("{\"kind\":\"") + kind + "\""), std::string::npos) << kind << "\n" << out;
    EXPECT_NE(out.find("\"volume\":-"), std::string::npos) << "volumes in dB";
    EXPECT_EQ(Run("connect " + engine + " --poll sounds"), 2);
    EXPECT_EQ(Run("connect " + engine + " --poll voices --interval-ms 0"), 2);
}

TEST_F(Cli, TakesThePortAndTheColumnsFromAProject) {
    RunningSimulator simulator;
    const fs::path project = home / "session.qvl";
    {
        CKeyStore store((home / "store.xml").string());
        CQuorvelDoc document(store);
        ASSERT_TRUE(document.OnNewDocument());
        document.m_lLocalQuorvelTCPPort = 0;  // let the system choose
        auto* events = document.ViewerDoc<CEventLoggerViewerDoc>(1);
        events->Columns().SaveLayout({{EVENT_COLUMN_TIME, 70}, {EVENT_COLUMN_TYPE, 90}, {EVENT_COLUMN_ID, 80}});
        ASSERT_TRUE(document.OnSaveDocument(project.string()));
    }
    std::string out;
    EXPECT_EQ(Run("connect --address 127.0.0.1 --port " + std::to_string(simulator.Port()) + " --project '" +
                      project.string() + "' --for-seconds 1.5 --log events", &out), 0);
    EXPECT_NE(out.find("event     Time        Event type    Event Id\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("Event name"), std::string::npos);
    std::string shown;
    EXPECT_EQ(Run("project show '" + project.string() + "'", &shown), 0);
    EXPECT_NE(shown.find("local port 0\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("viewer 1: 3 of 9 columns shown, 0 filter(s)"), std::string::npos) << shown;
    EXPECT_EQ(Run("project convert '" + project.string() + "' '" + (home / "copy.qvl").string() + "'"), 0);
    EXPECT_EQ(Run("project show '" + (home / "copy.qvl").string() + "'", &out), 0);
    EXPECT_EQ(out, shown);
    EXPECT_EQ(Run("project show"), 2);
    { std::ofstream(home / "broken.qvl") << "<QUORVEL_CONFIG><Main>"; }
    EXPECT_EQ(Run("connect --project '" + (home / "broken.qvl").string() + "'", &out), 8);
    EXPECT_NE(out.find("Invalid Quorvel file."), std::string::npos) << out;
}

}  // namespace
