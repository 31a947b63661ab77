// quorvel-cli records: list, add, remove, import and export connection records.

#include <cstdio>

#include "CliCommands.h"
#include "CliPrompt.h"
#include "ConnectionViewDoc.h"
#include "StringTable.h"

namespace {

int Fail(int code, const std::string& text) {
    std::fprintf(stderr, "quorvel-cli: %s\n", text.c_str());
    return code;
}

std::string Formatted(int id, const std::string& argument) {
    char text[1024];
    std::snprintf(text, sizeof text, QvString(id), argument.c_str());
    return text;
}

}  // namespace

int CliRecords(const std::vector<std::string>& args) {
    if (args.empty()) return Fail(CLI_USAGE, "records needs list, add, remove, import or export");
    CCliPrompt prompt(false);
    CConnectionViewDoc records(CKeyStore::User(), &prompt);
    records.Initialise(nullptr);
    const std::string& what = args[0];
    int status = CLI_OK;
    if (what == "list" && args.size() == 1) {
        for (std::size_t i = 0; i < records.Count(); ++i) {
            const CConnectionRecord* r = records.GetRecord(i);
            std::printf("%s\t%s\t%s\t%s\n", r->csName.c_str(), r->csAddress.c_str(), r->csPort.c_str(),
                        r->csComment.c_str());
        }
    } else if (what == "add" && (args.size() == 4 || args.size() == 5)) {
        const int port = std::atoi(args[3].c_str());
        if (port < 1 || port > 65535 || std::to_string(port) != args[3])
            return Fail(CLI_USAGE, "the port must be a number from 1 to 65535: " + args[3]);
        if (records.FindByName(args[1]) >= 0) return Fail(CLI_USAGE, Formatted(IDS_NAME_ALREADY_EXISTS, args[1]));
        records.AppendRecord({args[1], args[2], args.size() == 5 ? args[4] : "", args[3]});
    } else if (what == "remove" && args.size() == 2) {
        const int index = records.FindByName(args[1]);
        if (index < 0) return Fail(CLI_NO_SUCH_RECORD, "no connection record named \"" + args[1] + "\"");
        records.RemoveRecord(static_cast<std::size_t>(index));
    } else if (what == "import" && args.size() >= 2) {
        for (std::size_t i = 1; i < args.size(); ++i)
            if (!records.ImportFile(args[i])) {
                std::fprintf(stderr, "quorvel-cli: %s\n", Formatted(IDS_CANNOT_IMPORT_RECORDS, args[i]).c_str());
                status = CLI_FILE_FAILED;
            }
    } else if (what == "export" && args.size() == 2) {
        if (!records.ExportFile(args[1])) return Fail(CLI_FILE_FAILED, Formatted(IDS_CANNOT_EXPORT_RECORDS, args[1]));
        return CLI_OK;  // nothing changed
    } else {
        return Fail(CLI_USAGE, "records: unknown command or wrong arguments (see --help)");
    }
    records.SaveToRegistry();
    return status;
}
