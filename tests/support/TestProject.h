#pragma once
// A project owner for viewer documents and records tested without the project
// document: counts modifications and answers the editor settings it is given.

#include "ProjectDocument.h"

struct CTestProject final : IProjectDocument {
    void SetModifiedFlag(bool modified = true) override {
        if (modified) ++nModified;
    }
    bool ReadsFromEditor() const override { return bReadsFromEditor; }
    INameResolver* NameResolver() override { return pResolver; }

    int nModified = 0;
    bool bReadsFromEditor = false;
    INameResolver* pResolver = nullptr;
};
