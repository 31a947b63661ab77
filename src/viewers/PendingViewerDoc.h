#pragma once
// A viewer document whose viewer is not built yet: it holds nothing, but takes its
// place in the project (its kind and its element in the file) so that projects
// keep their shape, and reads back an empty element of its name.

#include "ViewerDoc.h"

template <int Kind, int Source, const char* Name>
class TPendingViewerDoc : public CViewerDoc {
public:
    int ViewerKind() const override { return Kind; }
    int SourceKind() const override { return Source; }
    void Reset() override {}
    int SerializeXml(CConfigArchive& archive) override {
        CConfigSection section(archive, Name);
        return LOAD_OK;
    }
    void StoreArchive(CLegacyArchiveWriter&) const override {}
    // Its binary block is not known here, so nothing after it could be read.
    int LoadArchive(IProjectDocument*, CLegacyArchiveReader&) override { return LOAD_FAILED; }
};
