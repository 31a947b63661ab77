// quorvel-cli as a user runs it: records kept in the user's store, exit codes for
// what went wrong, and a connection to norvsim.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

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
    EXPECT_NE(out.find("event     id 0X"), std::string::npos);
    EXPECT_EQ(Run("connect " + engine + " --accept-version-mismatch --for-seconds 1 --log events,loading --json", &out), 0);
    EXPECT_NE(out.find("{\"kind\":\"event\",\"time\":\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"eventId\":"), std::string::npos);
    EXPECT_NE(out.find("{\"kind\":\"loading\""), std::string::npos);
}

}  // namespace
