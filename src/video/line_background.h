// The background of each drawn line as it stood before sprites went over it: when only
// the sprites of a line changed, its background is put back from here instead of being
// decoded again.
#pragma once

namespace tavir {

// `renderLine` has drawn `vdp.scanLine` afresh: a copy kept of it is out of date.
void forgetLineBackground();

// Sprites are about to be drawn over `vdp.scanLine`: keeps its background unless the
// copy kept already is that of the line as it stands.
void keepLineBackground();

// Sprites covered dots `first` to `end` - 1 of the line's 256-dot area: what a restore
// puts back.
void noteSpriteDots(int first, int end);

// Puts the kept background of `vdp.scanLine` back where sprites covered it; false when
// there is none (the line must be drawn).
bool restoreLineBackground();

}  // namespace tavir
