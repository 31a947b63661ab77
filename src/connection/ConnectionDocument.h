#pragma once
// What the connect procedure and the after-connect steps need from the project
// document. The project document implements it; tests may use a smaller one.

#include <cstdint>
#include <string>

#include "RpcResult.h"

enum EConnectionState : std::int32_t { CONNECTION_NONE = 0, CONNECTION_ESTABLISHED = 1, CONNECTION_PENDING = 3 };

struct IConnectionDocument {
    virtual RpcResult StartLink() = 0;
    virtual void StopLink() = 0;
    virtual RpcResult AttachCallingThread() = 0;
    virtual void DetachCallingThread() = 0;
    virtual RpcResult Connect(const std::string& address, std::int32_t port, const std::string& name) = 0;
    virtual void Disconnect() = 0;
    virtual RpcResult GetEngineVersion(std::string* version) = 0;
    virtual EConnectionState ConnectionState() const = 0;
    // Every view but the connection view hears the update hint.
    virtual void UpdateViews(int hint) = 0;

protected:
    ~IConnectionDocument() = default;
};

inline constexpr int HINT_CONNECTION_ESTABLISHED = 1;
