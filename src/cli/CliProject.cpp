// quorvel-cli project: show what a project file holds, or write it again as a
// current project file (which also converts a file of an earlier version).

#include <cstdio>

#include "CliCommands.h"
#include "CliPrompt.h"
#include "ColumnViewerDoc.h"
#include "QuorvelDoc.h"

namespace {

int Fail(int code, const std::string& text) {
    std::fprintf(stderr, "quorvel-cli: %s\n", text.c_str());
    return code;
}

void Show(const CQuorvelDoc& document) {
    std::printf("local port %d\n", document.m_lLocalQuorvelTCPPort);
    std::printf("editor project \"%s\", language \"%s\", read %d, write %d\n", document.m_csLCBProjectFile.c_str(),
                document.m_csProjectLanguage.c_str(), document.m_bReadFromCueforge, document.m_bWriteToCueforge);
    for (int kind : document.ViewerDocKinds()) {
        std::printf("viewer %d", kind);
        if (const auto* doc = document.ViewerDoc<CColumnViewerDoc>(kind)) {
            std::printf(": %zu of %zu columns shown, %zu filter(s)", doc->Columns().Order().size(),
                        doc->Columns().Count(), doc->FilterCount());
            if (const CFilter* current = doc->GetCurrentFilter())
                std::printf(", current \"%s\"", current->GetName().c_str());
        }
        std::printf("\n");
    }
}

}  // namespace

int CliProject(const std::vector<std::string>& args) {
    const bool show = args.size() == 2 && args[0] == "show";
    const bool convert = args.size() == 3 && args[0] == "convert";
    if (!show && !convert) return Fail(CLI_USAGE, "project needs show FILE or convert FROM TO");
    CCliPrompt prompt(false);
    CQuorvelDoc document(CKeyStore::User(), &prompt);
    if (!document.OnOpenDocument(args[1])) return Fail(CLI_FILE_FAILED, "cannot open the project \"" + args[1] + "\"");
    if (show) {
        Show(document);
        return CLI_OK;
    }
    if (!document.OnSaveDocument(args[2])) return Fail(CLI_FILE_FAILED, "cannot write the project \"" + args[2] + "\"");
    return CLI_OK;
}
