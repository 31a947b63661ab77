// Opening arbitrary bytes as a project file: XML or the binary form of earlier
// versions, whichever the bytes look like. Whatever happens, the document must end
// up holding a project and the open must not run away with memory.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "QuorvelDoc.h"

namespace {

struct Files {
    Files() {
        const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("qv-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        project = (dir / "input.qvl").string();
        store = (dir / "store.xml").string();
    }
    std::string project, store;
};

Files& TheFiles() {
    static Files files;
    return files;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Files& files = TheFiles();
    {
        std::ofstream out(files.project, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    static CKeyStore store(files.store);
    CQuorvelDoc document(store);
    document.OnOpenDocument(files.project);
    if (document.ViewerDocKinds().size() != 9 || !document.GetCommander(4)) __builtin_trap();
    return 0;
}
