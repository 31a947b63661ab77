#pragma once
// The resource mixer's engine object. It keeps no state: the mixer calls through
// it on each operation, and without an engine object every call answers
// CONN_E_NOT_STARTED.

#include "ConnectionResults.h"
#include "EngineCommander.h"
#include "NorvInterfaces.h"

class CResMixerCommander final : public TEngineCommander<INorvResMixer> {
public:
    using TEngineCommander::TEngineCommander;
    std::string GetName() const override { return "CResMixerCommander"; }

    RpcResult AddResource(std::uint32_t resourceId) { return Call(&INorvResMixer::AddResource, resourceId); }
    RpcResult RemoveResource(std::uint32_t resourceId) { return Call(&INorvResMixer::RemoveResource, resourceId); }
    RpcResult CallMethod3(std::uint32_t resourceId) { return Call(&INorvResMixer::Reserved3, resourceId); }
    RpcResult CallMethod4(std::uint32_t resourceId) { return Call(&INorvResMixer::Reserved4, resourceId); }
    RpcResult IsResourcePlaying(std::uint32_t resourceId) { return Call(&INorvResMixer::IsPlaying, resourceId); }
    RpcResult SetResourceVolume(std::uint32_t resourceId, std::int32_t volume) {
        return Call(&INorvResMixer::SetVolume, resourceId, volume);
    }
    RpcResult CallMethod7(std::uint32_t resourceId, std::int32_t* value) {
        return Call(&INorvResMixer::Reserved7, resourceId, value);
    }
    RpcResult SetResourceMute(std::uint32_t resourceId, std::int32_t muted) {
        return Call(&INorvResMixer::SetMute, resourceId, muted);
    }
    RpcResult CallMethod9(std::int32_t value) { return Call(&INorvResMixer::Reserved9, value); }
    RpcResult SetResourceSolo(std::uint32_t resourceId, std::int32_t value) {
        return Call(&INorvResMixer::SetSolo, resourceId, value);
    }
    RpcResult CallMethod11(std::uint32_t resourceId) { return Call(&INorvResMixer::Reserved11, resourceId); }

protected:
    RpcResult NotConnectedResult() const override { return E_FAIL; }
    void EmptyState() override {}

private:
    template <class Method, class... Args>
    RpcResult Call(Method method, Args... args) {
        if (!m_engine) return CONN_E_NOT_STARTED;
        return (m_engine.Get()->*method)(args...);
    }
};
