#pragma once
// What a commander needs of the project document: whether the engine is linked,
// a way to open engine objects over that link, and the editor settings.

#include "ConnectionDocument.h"
#include "ProjectDocument.h"
#include "RpcGuid.h"

struct ICommanderHost : IProjectDocument {
    virtual EConnectionState ConnectionState() const = 0;
    // Opens an engine object for the calling thread.
    virtual RpcResult CreateRemoteObject(const GUID& classId, const GUID& interfaceId, void** out) = 0;

protected:
    ~ICommanderHost() = default;
};
