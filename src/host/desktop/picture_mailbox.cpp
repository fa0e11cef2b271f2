#include "host/desktop/picture_mailbox.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace tavir {

namespace {

struct Mailbox {
    Picture buffers[3];
    int filling = 0;     // emulation thread's
    int ready = 1;       // newest finished picture, guarded by `lock`
    int showing = 2;     // main thread's
    bool fresh = false;  // `ready` holds a picture not yet taken; guarded by `lock`
    std::mutex lock;
};

// 1.8 MB: allocated once, on the first post or take, never on the frame path again.
Mailbox& mailbox() {
    static const std::unique_ptr<Mailbox> instance = std::make_unique<Mailbox>();
    return *instance;
}

}  // namespace

void postPicture(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
    Mailbox& m = mailbox();
    Picture& picture = m.buffers[m.filling];
    picture.width = std::clamp(width, 0, kMailboxMaxWidth);
    picture.height = std::clamp(height, 0, kMailboxMaxHeight);
    const size_t rowBytes = static_cast<size_t>(picture.width) * 2;
    for (int32_t row = 0; row < picture.height; ++row)
        std::memcpy(picture.pixels + row * picture.width, pixels + row * pitch, rowBytes);
    std::lock_guard<std::mutex> guard(m.lock);
    std::swap(m.filling, m.ready);
    m.fresh = true;
}

const Picture* takeNewestPicture() {
    Mailbox& m = mailbox();
    std::lock_guard<std::mutex> guard(m.lock);
    if (!m.fresh) return nullptr;
    std::swap(m.showing, m.ready);
    m.fresh = false;
    return &m.buffers[m.showing];
}

}  // namespace tavir
