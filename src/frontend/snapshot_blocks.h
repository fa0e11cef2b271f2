// The parts of the machine a snapshot holds, one group of functions per part. `store`
// writes the part's fields into a whole image; `check` looks at an image that was read
// and returns the name of the first field a later use could turn into an out-of-range
// index, count or address (nullptr when there is none); `load` puts the fields of an
// image that passed every check into the machine.
#pragma once

#include <cstdint>

namespace tavir::snapshot {

// Slots and mapper, CPU, PPI and serial port, clock chip, Kanji ports, joysticks.
void storeMachineBlock(uint8_t* image);
const char* checkMachineBlock(const uint8_t* image);
void loadMachineBlock(const uint8_t* image);

// Main RAM: copied last, after the slot and mapper registers are applied again, so that
// nothing the registers' side effects write into memory survives the load.
void storeRAMBlock(uint8_t* image);
void loadRAMBlock(const uint8_t* image);

// Sets the slot, subslot and mapper registers again from what loadMachineBlock put in
// place, each through a different value first so that every page pointer is rebuilt.
void reapplyMemoryMap();

// VDP registers, latches, palette pixels, VRAM; version 1 files lack `trueColour0`.
void storeVDPBlock(uint8_t* image);
const char* checkVDPBlock(const uint8_t* image);
void loadVDPBlock(const uint8_t* image, uint8_t version);

// The command engine's state between calls.
void storeCommandBlock(uint8_t* image);
const char* checkCommandBlock(const uint8_t* image);
void loadCommandBlock(const uint8_t* image);

// PSG registers and synthesis state; versions 1 and 2 hold the tone periods and phases
// as integers.
void storePSGBlock(uint8_t* image);
const char* checkPSGBlock(const uint8_t* image, uint8_t version);
void loadPSGBlock(const uint8_t* image, uint8_t version);

// OPLL register image.
void storeOPLLBlock(uint8_t* image);
const char* checkOPLLBlock(const uint8_t* image);
void loadOPLLBlock(const uint8_t* image);

}  // namespace tavir::snapshot
