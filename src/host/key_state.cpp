#include "host/key_state.h"

#include "host/host_layer.h"

namespace tavir {

uint8_t keyState[kKeyStateSize];

void refreshKeyState() {
    host.readKeyboard(keyState);
}

}  // namespace tavir
