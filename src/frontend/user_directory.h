// The working directory of a user who starts the program from anywhere, say
// `tavir ~/games/game.rom` in their home folder: when the current directory holds none of
// the system ROM images, the program uses one of its own under the user's data folder,
// filled on first use with the free C-BIOS images and stand-ins, as scripts/prepare-workdir
// fills workdir/ for `make run`.
#pragma once

#include <string>

namespace tavir {

// True when `directory` holds at least one of the five system ROM images: the user set it
// up, and a missing image then fails the start-up by name rather than being replaced.
bool holdsSystemROMs(const std::string& directory);

// $XDG_DATA_HOME/tavir, or ~/.local/share/tavir when that is unset or relative; empty
// when there is no home directory either.
std::string userDataDirectory();

// Makes `directory` if needed and puts in whatever is missing of: MSX2P.rom, MSX2PEXT.rom
// and FMBIOS.rom from C-BIOS, a 16 KB DISK.rom of 0xFF bytes (the program serves the disk
// entries itself), an empty 256 KB KANJI.rom, and the shipped msx.cfg and opll.cfg. Nothing
// already there is touched. False, with `error` naming what is missing and why, when
// something could not be made; the rest is still made.
bool prepareWorkingDirectory(const std::string& directory, std::string& error);

}  // namespace tavir
