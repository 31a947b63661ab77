#pragma once
// The served objects of the six engine classes, and the factory that creates them
// for one simulated engine.

#include "RpcClassFactory.h"

class CSimEngine;

class CSimFactory : public CRpcClassFactory {
public:
    explicit CSimFactory(CSimEngine* engine);
    RpcResult CreateObject(const GUID* clsid, const GUID* iid, void** out) override;

private:
    CSimEngine* const m_pEngine;
};
