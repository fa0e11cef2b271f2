// The program's entry: log, start-up, the window's life, shutdown.
#pragma once

namespace tavir {

// Returns the process exit code.
int hostEntry();

}  // namespace tavir
