#pragma once
// The commands of quorvel-cli. Each returns the process exit code.

#include <string>
#include <vector>

enum ECliExit : int {
    CLI_OK = 0,
    CLI_USAGE = 2,
    CLI_CANNOT_START_LINK = 3,
    CLI_CANNOT_CONNECT = 4,
    CLI_VERSION_REFUSED = 5,
    CLI_CONNECTION_LOST = 6,
    CLI_NO_SUCH_RECORD = 7,
    CLI_FILE_FAILED = 8,
};

int CliRecords(const std::vector<std::string>& args);
int CliConnect(const std::vector<std::string>& args);
int CliProject(const std::vector<std::string>& args);
const char* CliUsage();
