#include "RpcWakeup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

CRpcWakeup::CRpcWakeup() : m_fd(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

void CRpcWakeup::Signal() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(m_fd.Fd(), &one, sizeof one);
}

void CRpcWakeup::Drain() {
    std::uint64_t count;
    [[maybe_unused]] const ssize_t n = ::read(m_fd.Fd(), &count, sizeof count);
}
