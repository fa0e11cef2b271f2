#include "frontend/host_entry.h"
#include "host/desktop/desktop_audio.h"
#include "host/desktop/desktop_session.h"

int main() {
    tavir::installDesktopAudio();
    return tavir::hostEntry(&tavir::desktopSession());
}
