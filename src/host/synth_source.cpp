#include "host/synth_source.h"

#include <atomic>

namespace tavir {

namespace {
std::atomic<SynthRender> currentRender{nullptr};
}

void setSynthRender(SynthRender render) {
    currentRender.store(render, std::memory_order_release);
}

SynthRender synthRender() {
    return currentRender.load(std::memory_order_acquire);
}

}  // namespace tavir
