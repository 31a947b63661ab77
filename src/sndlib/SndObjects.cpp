// The two exported classes that cannot be placed on the heap.

#include "SndLib.h"

NorvObjectFactory::NorvObjectFactory() {
    m_aiInfo[0] = 1;
    ResetRegisteredInfo();
}

NorvObjectFactory& NorvObjectFactory::operator=(const NorvObjectFactory& other) {
    for (int i = 0; i < 4; ++i) m_aiInfo[i] = other.m_aiInfo[i];
    return *this;
}

void NorvObjectFactory::ResetRegisteredInfo() { m_aiInfo[1] = m_aiInfo[2] = m_aiInfo[3] = 0; }

void* NorvObjectFactory::operator new(std::size_t) noexcept { return nullptr; }
void* NorvObjectFactory::operator new[](std::size_t) noexcept { return nullptr; }
void* NorvObjectFactory::operator new(std::size_t, void*) noexcept { return nullptr; }
void NorvObjectFactory::operator delete(void*) {}
void NorvObjectFactory::operator delete[](void*) {}
void NorvObjectFactory::operator delete(void*, void*) {}

SwitchOnAtomicLoadingPolicyPredicate& SwitchOnAtomicLoadingPolicyPredicate::operator=(
    const SwitchOnAtomicLoadingPolicyPredicate&) {
    return *this;
}

void* SwitchOnAtomicLoadingPolicyPredicate::operator new(std::size_t) noexcept { return nullptr; }
void* SwitchOnAtomicLoadingPolicyPredicate::operator new[](std::size_t) noexcept { return nullptr; }
void* SwitchOnAtomicLoadingPolicyPredicate::operator new(std::size_t, void*) noexcept { return nullptr; }
void SwitchOnAtomicLoadingPolicyPredicate::operator delete(void*) {}
void SwitchOnAtomicLoadingPolicyPredicate::operator delete[](void*) {}
void SwitchOnAtomicLoadingPolicyPredicate::operator delete(void*, void*) {}
