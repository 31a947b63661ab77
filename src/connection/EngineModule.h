#pragma once
// What the navigator can do with a logger source or a commander: both are parts
// of the project that hold an engine object while switched on.

#include <string>

#include "RpcResult.h"

struct IEngineModule {
    virtual bool IsSwitchable() const = 0;
    virtual bool IsEnabled() const = 0;
    // Switches on (opening the engine object) or off; 0 when it is as asked.
    virtual RpcResult Enable(bool enable) = 0;
    // The name the navigator's messages show.
    virtual std::string GetName() const = 0;

protected:
    ~IEngineModule() = default;
};
