#pragma once
// This program's two class factories: the first knows the engine classes (whose
// proxies it uses) and four notification classes; the second knows only the scene
// notification class. They are registered in this order.

#include "RpcClassFactory.h"

RpcPtr<IRpcFactory> CreateQuorvelFactory();
RpcPtr<IRpcFactory> CreateQuorvelSceneFactory();
