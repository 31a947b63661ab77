#pragma once
// One engine the user can connect to. The port stays text: it is taken unchanged
// from the store and only read as a number when a connection is made.

#include <string>

#include "LegacyArchive.h"

struct CConnectionRecord {
    std::string csName;
    std::string csAddress;
    std::string csComment;
    std::string csPort;

    friend bool operator==(const CConnectionRecord&, const CConnectionRecord&) = default;

    // The archive form: the four fields as archive strings, Name, Address, Comment, Port.
    void Store(CLegacyArchiveWriter& archive) const;
    bool Load(CLegacyArchiveReader& archive);

    // The leading decimal number of the port text, after optional blanks; 0 when
    // the text does not start with one.
    int PortNumber() const;

    static CConnectionRecord Default();
    static CConnectionRecord New();
};
