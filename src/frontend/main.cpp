#include "frontend/host_entry.h"
#include "host/desktop/desktop_session.h"

int main() {
    return tavir::hostEntry(&tavir::desktopSession());
}
