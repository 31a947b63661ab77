#pragma once
// The base of every viewer document: what the project document needs to find,
// initialise and reset its viewers. The project document completes it.

class CQuorvelDoc;

class CViewerDoc {
public:
    virtual ~CViewerDoc() = default;
    virtual int ViewerKind() const = 0;
    virtual int SourceKind() const = 0;
    // Attaches to a new project; returns 1.
    virtual int Initialise(CQuorvelDoc* owner) = 0;
    // Detaches and forgets what the viewer holds.
    virtual void Reset() = 0;
};
