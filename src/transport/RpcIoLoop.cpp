// The routine of the instance's I/O thread. Each pass accepts and pumps every
// channel under the instance lock; between passes the thread sleeps in poll() on
// every socket and the wake-up descriptor for at most 1 ms, so a frame is handled
// as soon as it arrives instead of at the next tick.

#include <poll.h>

#include <cerrno>

#include "RpcInstance.h"

std::uint32_t CRpcInstance::IoRoutine(void* self) {
    static_cast<CRpcInstance*>(self)->RunIoLoop();
    return static_cast<std::uint32_t>(RPC_S_OK);
}

void CRpcInstance::RunIoLoop() {
    constexpr int kPollMs = 1;
    std::vector<pollfd> fds;
    std::vector<RpcPtr<CRpcLink>> links;
    while (!m_bIoStop.load()) {
        fds.clear();
        fds.push_back(pollfd{m_wakeup.Fd(), POLLIN, 0});
        {
            Lock lock(m_lock);
            m_server.Poll();
            links = m_links;  // a link may leave the list while it is polled
            for (auto& link : links) link->Poll();
            m_server.AddPollDescriptors(fds);
            for (auto& link : links) link->AddPollDescriptors(fds);
        }
        links.clear();
        if (m_bIoStop.load()) break;
        if (::poll(fds.data(), fds.size(), kPollMs) > 0 && (fds[0].revents & POLLIN)) m_wakeup.Drain();
    }
}
