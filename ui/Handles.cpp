#include "ui/Handles.h"

namespace ui {

namespace {
std::atomic<long> liveHandles{0};
}

long LiveHandleCount() {
    return liveHandles.load();
}

namespace detail {
void CountHandle(long delta) {
    liveHandles.fetch_add(delta);
}
} // namespace detail

} // namespace ui
