// The emulator's own commands that stop the machine and wait for the user: choosing a
// disk (and, later, a snapshot slot) by key.
#pragma once

namespace tavir {

// For command codes 2-5: waits for one of the 41 selection keys, acts on the choice, then
// waits until every selection key is up again. Snapshots (codes 4 and 5) are not built
// yet and only wait for the choice. A stop request ends either wait.
void commandRoutine();

}  // namespace tavir
