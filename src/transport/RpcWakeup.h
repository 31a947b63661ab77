#pragma once
// A descriptor that another thread can make readable, so that a thread sleeping in
// poll() wakes at once instead of at the end of its time-out.

#include "RpcSocket.h"

class CRpcWakeup {
public:
    CRpcWakeup();
    bool IsValid() const { return m_fd.IsValid(); }
    int Fd() const { return m_fd.Fd(); }
    void Signal();
    void Drain();

private:
    CRpcSocket m_fd;
};
