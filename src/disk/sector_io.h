// One 512-byte sector of a drive's image, read or written with the status the disk driver
// reports for it.
#pragma once

#include <cstdint>

namespace tavir {

// Status of a sector transfer: done, or one of the disk driver's error codes.
constexpr uint8_t kStatusDone = 15;
constexpr uint8_t kErrorWriteProtected = 0;
constexpr uint8_t kErrorNotReady = 2;
constexpr uint8_t kErrorData = 4;
constexpr uint8_t kErrorSeek = 6;
constexpr uint8_t kErrorRecordNotFound = 8;
constexpr uint8_t kErrorWriteFault = 10;
constexpr uint8_t kErrorOther = 12;

// A status-map entry other than 15 or 0 fails the read with that code; the image is not
// touched. A sector past the end of the image file reads as a data error.
uint8_t readSector(uint8_t drive, uint32_t sector, uint8_t* buffer);

// Any status-map entry other than 15 fails the write with that code (0: write-protected).
// The sector is in the image file when the call returns kStatusDone.
uint8_t writeSector(uint8_t drive, uint32_t sector, const uint8_t* buffer);

}  // namespace tavir
