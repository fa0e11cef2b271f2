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
    int posted = -1;     // the buffer posted last; the emulation thread's, read-only then
    std::mutex lock;
};

// 1.8 MB: allocated once, on the first post or take, never on the frame path again.
Mailbox& mailbox() {
    static const std::unique_ptr<Mailbox> instance = std::make_unique<Mailbox>();
    return *instance;
}

}  // namespace

namespace {

// Whether the frame buffer holds exactly the picture posted last. Both threads only read
// that buffer: the emulation thread writes only into `filling`, never the one just posted.
bool samePicture(const Mailbox& m, const uint8_t* pixels, int32_t pitch, int32_t width,
                 int32_t height) {
    if (m.posted < 0) return false;
    const Picture& last = m.buffers[m.posted];
    if (last.width != width || last.height != height) return false;
    const size_t rowBytes = static_cast<size_t>(width) * 2;
    for (int32_t row = 0; row < height; ++row) {
        if (std::memcmp(last.pixels + row * width, pixels + row * pitch, rowBytes) != 0)
            return false;
    }
    return true;
}

}  // namespace

bool postPicture(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height) {
    Mailbox& m = mailbox();
    width = std::clamp(width, 0, kMailboxMaxWidth);
    height = std::clamp(height, 0, kMailboxMaxHeight);
    if (samePicture(m, pixels, pitch, width, height)) return false;
    Picture& picture = m.buffers[m.filling];
    picture.width = width;
    picture.height = height;
    const size_t rowBytes = static_cast<size_t>(picture.width) * 2;
    for (int32_t row = 0; row < picture.height; ++row)
        std::memcpy(picture.pixels + row * picture.width, pixels + row * pitch, rowBytes);
    std::lock_guard<std::mutex> guard(m.lock);
    m.posted = m.filling;
    std::swap(m.filling, m.ready);
    m.fresh = true;
    return true;
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
