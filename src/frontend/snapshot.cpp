#include "frontend/snapshot.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/input_recording.h"
#include "core/log.h"
#include "core/screen_message.h"
#include "frontend/snapshot_blocks.h"
#include "frontend/snapshot_layout.h"

namespace tavir {

int snapshotSlotAtStop = 0;
bool snapshotSavedAtStop = false;

namespace {

using namespace snapshot;

std::vector<uint8_t> storeImage() {
    std::vector<uint8_t> image(kVersion3Size, 0);
    image[kVersion] = kCurrentVersion;
    storeMachineBlock(image.data());
    storeOPLLBlock(image.data());
    storePSGBlock(image.data());
    storeVDPBlock(image.data());
    storeCommandBlock(image.data());
    storeRAMBlock(image.data());
    appendCartridgeBlock(image);
    return image;
}

// The first field of a read image that is out of range, or nullptr.
const char* checkImage(const uint8_t* image, uint8_t version) {
    const char* bad = checkMachineBlock(image);
    if (bad == nullptr) bad = checkOPLLBlock(image);
    if (bad == nullptr) bad = checkPSGBlock(image, version);
    if (bad == nullptr) bad = checkVDPBlock(image);
    if (bad == nullptr) bad = checkCommandBlock(image);
    return bad;
}

void loadImage(const uint8_t* image, uint8_t version, const CartridgeBanks& banks) {
    loadMachineBlock(image);
    loadOPLLBlock(image);
    loadPSGBlock(image, version);
    loadVDPBlock(image, version);
    loadCommandBlock(image);
    reapplyMemoryMap();
    loadCartridgeBlock(banks);
    loadRAMBlock(image);
}

// Why the last save or load of a file failed, for the slot's message on the screen.
std::string failure;

bool failSave(const std::string& name, const std::string& temporary, std::FILE* file, int fd) {
    const int error = errno;
    failure = std::strerror(error);
    if (file != nullptr)
        std::fclose(file);
    else if (fd >= 0)
        close(fd);
    unlink(temporary.c_str());
    logPrint("%s not saved: %s\n", name.c_str(), std::strerror(error));
    return false;
}

// The rename reaches the disk only once the directory itself is flushed.
void syncWorkingDirectory() {
    const int fd = open(".", O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool refuse(const std::string& name, std::FILE* file, const char* reason) {
    std::fclose(file);
    failure = reason;
    logPrint("%s not loaded: %s\n", name.c_str(), reason);
    return false;
}

}  // namespace

std::string snapshotFileName(int slot, bool recording) {
    if (slot < 1 || slot > kSnapshotSlots) return {};
    char name[16];
    std::snprintf(name, sizeof name, "TAVIR%02d.%s", slot, recording ? "smv" : "sav");
    return name;
}

bool saveSnapshotFile(const std::string& name, bool recording) {
    stopInputRecording();
    const std::vector<uint8_t> image = storeImage();

    const std::string temporary = name + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return failSave(name, temporary, nullptr, fd);
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) return failSave(name, temporary, nullptr, fd);
    if (std::fwrite(image.data(), 1, image.size(), file) != image.size() ||
        std::fflush(file) != 0 || fsync(fd) != 0)
        return failSave(name, temporary, file, fd);
    if (std::rename(temporary.c_str(), name.c_str()) != 0)
        return failSave(name, temporary, file, fd);
    syncWorkingDirectory();

    // The open file is now the slot's: a recording goes on appending to it.
    if (recording) {
        startInputRecording(file, kRecording);
    } else if (std::fclose(file) != 0) {
        failure = std::strerror(errno);
        logPrint("%s not saved: %s\n", name.c_str(), failure.c_str());
        return false;
    }
    return true;
}

bool loadSnapshotFile(const std::string& name, bool playback) {
    stopInputRecording();
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        failure = std::strerror(errno);
        return false;
    }

    uint8_t version = 0;
    if (std::fread(&version, 1, 1, file) != 1) return refuse(name, file, "the file is empty");
    const size_t size = sizeOfVersion(version);
    if (size == 0) {
        char reason[48];
        std::snprintf(reason, sizeof reason, "unknown version %u", version);
        return refuse(name, file, reason);
    }
    std::vector<uint8_t> image(kVersion3Size, 0);
    image[kVersion] = version;
    if (std::fread(image.data() + 1, 1, size - 1, file) != size - 1) {
        char reason[64];
        std::snprintf(reason, sizeof reason, "shorter than the %zu bytes of version %u", size,
                      version);
        return refuse(name, file, reason);
    }
    if (const char* bad = checkImage(image.data(), version)) {
        char reason[80];
        std::snprintf(reason, sizeof reason, "%s out of range", bad);
        return refuse(name, file, reason);
    }

    CartridgeBanks banks;
    if (const char* bad = readCartridgeBlock(file, name, banks)) return refuse(name, file, bad);

    loadImage(image.data(), version, banks);
    // Playback goes on from the first frame record, right after the snapshot and its
    // cartridge block.
    if (playback)
        startInputRecording(file, kPlayingBack);
    else
        std::fclose(file);
    return true;
}

bool saveSnapshot(int slot, bool recording) {
    const std::string name = snapshotFileName(slot, recording);
    if (name.empty()) return false;
    const bool saved = saveSnapshotFile(name, recording);
    if (saved) {
        showScreenMessage("Snapshot saved: slot %d (%s)%s", slot, name.c_str(),
                          recording ? ", recording input" : "");
    } else {
        showScreenMessage("Snapshot not saved: slot %d (%s): %s", slot, name.c_str(),
                          failure.c_str());
    }
    return saved;
}

bool loadSnapshot(int slot, bool playback) {
    const std::string name = snapshotFileName(slot, playback);
    if (name.empty()) return false;
    const bool loaded = loadSnapshotFile(name, playback);
    if (loaded) {
        showScreenMessage("Snapshot loaded: slot %d (%s)%s", slot, name.c_str(),
                          playback ? ", playing back its input" : "");
    } else {
        showScreenMessage("Snapshot not loaded: slot %d (%s): %s", slot, name.c_str(),
                          failure.c_str());
    }
    return loaded;
}

void saveSnapshotAtStop() {
    if (snapshotSlotAtStop == 0) return;
    snapshotSavedAtStop = saveSnapshot(snapshotSlotAtStop, false);
    snapshotSlotAtStop = 0;
}

}  // namespace tavir
