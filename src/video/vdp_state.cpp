#include "video/vdp_state.h"

namespace tavir {

VDPState vdp;

}  // namespace tavir
