#include "QueueDrain.h"

std::size_t DrainQueue(CInfoQueue& queue, IMessageTarget& self, std::uint32_t message,
                       const std::function<void(CInfoContainer*)>& add) {
    std::size_t handled = 0;
    while (CInfoContainer* record = queue.Pop()) {
        add(record);
        record->Release();
        if (++handled > QV_DRAIN_BATCH && queue.Count() > 0) {
            self.PostMessage(message, reinterpret_cast<std::uintptr_t>(&queue), 0);
            break;
        }
    }
    return handled;
}
