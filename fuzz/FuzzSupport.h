#pragma once
// What the fuzz targets share: an instance started once per process with this
// program's factories, whose main thread is the fuzzing thread itself, and a
// source of every kind so that notifications reach somewhere.

#include <cstddef>
#include <cstdint>

#include "NotificationSources.h"
#include "QuorvelFactories.h"
#include "RpcBuffer.h"
#include "RpcInstance.h"

CRpcInstance* FuzzInstance();

// A received data frame holding the fuzz input as its payload.
RpcPtr<CRpcBuffer> FuzzFrame(const std::uint8_t* data, std::size_t size);
