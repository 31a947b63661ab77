// quorvel-cli: Quorvel's headless front end.

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CliCommands.h"

const char* CliUsage() {
    return "Usage: quorvel-cli COMMAND [arguments]\n"
           "Quorvel's headless front end for the Norv engine.\n"
           "\n"
           "Connection records (kept per user, like the desktop application's):\n"
           "  records list                           one line per record: name, address, port, comment\n"
           "  records add NAME ADDRESS PORT [COMMENT]\n"
           "  records remove NAME\n"
           "  records import FILE...                 add the records of record-list (*.lst) files\n"
           "  records export FILE                    write every record to a record-list file\n"
           "\n"
           "Connecting:\n"
           "  connect [RECORD] [options]             connect to the named record, or the first record\n"
           "    --address A --port P                 connect to this engine instead of a record\n"
           "    --local-port N                       the port the engine calls back on (default 12988;\n"
           "                                         0 picks a free one)\n"
           "    --accept-version-mismatch            answer Yes when the engine's version is not 22.2.1\n"
           "                                         (otherwise the answer is No and the link is closed)\n"
           "    --for-seconds S                      stay connected S seconds (default: until interrupted)\n"
           "    --log KINDS                          print notifications: all, or a comma-separated list of\n"
           "                                         events,resources,loading,mixer,scene\n"
           "    --poll LISTS                         ask the engine every interval for a comma-separated list\n"
           "                                         of voices,objects,loaded and print the answers\n"
           "    --interval-ms N                      the interval of --poll (default 500)\n"
           "    --project FILE                       open this project first: its local port (unless\n"
           "                                         --local-port is given) and its columns apply\n"
           "    --save-project FILE                  save the project when the connection ends\n"
           "    --json                               print one JSON object per line instead of aligned text\n"
           "\n"
           "Projects:\n"
           "  project show FILE                      what a project file holds\n"
           "  project convert FROM TO                write FROM (also an earlier binary project) as TO\n"
           "\n"
           "Exit codes: 0 done; 2 bad arguments; 3 the link cannot start (change --local-port);\n"
           "4 the connection cannot be established; 5 the engine's version was refused;\n"
           "6 the connection was lost; 7 no such record; 8 a record or project file could not be read or\n"
           "written.\n";
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(CliUsage(), args.empty() ? stderr : stdout);
        return args.empty() ? CLI_USAGE : CLI_OK;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "records") return CliRecords(args);
    if (command == "connect") return CliConnect(args);
    if (command == "project") return CliProject(args);
    std::fprintf(stderr, "quorvel-cli: unknown command %s (see --help)\n", command.c_str());
    return CLI_USAGE;
}
