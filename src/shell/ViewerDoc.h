#pragma once
// The base of every viewer document: the saved state of one viewer kind, owned by
// the project document, which finds it by its kind and writes it into the project
// file in both forms.

#include "ConfigArchive.h"
#include "LegacyArchive.h"
#include "ProjectDocument.h"
#include "WindowMessages.h"

// The codes a viewer document's load returns; the project document shows their messages.
enum ELoadCode : int {
    LOAD_OK = 0,
    LOAD_NOT_OURS = 1,
    LOAD_BAD_VERSION = 2,
    LOAD_FAILED = 3,
};

class CViewerDoc {
public:
    virtual ~CViewerDoc() = default;

    // Attaches to a new project: 1, or 0 and nothing done without an owner.
    virtual int Initialise(IProjectDocument* owner) {
        if (!owner) return 0;
        SetOwner(owner);
        return 1;
    }
    // Detaches and forgets what the viewer holds.
    virtual void Reset() = 0;
    // The block of an earlier binary project file; LOAD_FAILED without an owner.
    virtual int LoadArchive(IProjectDocument* owner, CLegacyArchiveReader& archive) = 0;
    virtual void StoreArchive(CLegacyArchiveWriter& archive) const = 0;
    // The document's element of a project file, both ways; a load code.
    virtual int SerializeXml(CConfigArchive& archive) = 0;
    virtual int ViewerKind() const = 0;
    virtual int SourceKind() const = 0;

    void SetViewWindow(IMessageTarget* window) { m_pViewWindow = window; }
    IMessageTarget* ViewWindow() const { return m_pViewWindow; }
    void SetOwner(IProjectDocument* owner) {
        m_pOwner = owner;
        m_pModified = owner;
    }
    IProjectDocument* Owner() const { return m_pOwner; }
    // Where changes are reported; the owner unless a test gives another.
    void SetModifiedSink(IModifiable* sink) { m_pModified = sink; }
    IModifiable* ModifiedSink() const { return m_pModified; }

protected:
    void MarkModified() {
        if (m_pModified) m_pModified->SetModifiedFlag(true);
    }

private:
    IProjectDocument* m_pOwner = nullptr;
    IModifiable* m_pModified = nullptr;
    IMessageTarget* m_pViewWindow = nullptr;
};
