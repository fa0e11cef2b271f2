// tavir-headless: the machine without a window, for batch runs, tests and benchmarks. It
// starts up like the desktop program, runs the emulation thread on the headless host with
// scripted keys, and shuts down in the same order.
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "frontend/emulation_thread.h"
#include "core/frame_end.h"
#include "core/frame_pacing.h"
#include "core/machine.h"
#include "frontend/headless_options.h"
#include "frontend/snapshot.h"
#include "sound/opll.h"
#include "video/screenshot.h"
#include "core/log.h"
#include "frontend/midi_file.h"
#include "host/headless_audio.h"
#include "host/headless_host.h"
#include "host/midi_output.h"
#include "host/midi_recorder.h"

namespace {

constexpr const char* kProgram = "tavir-headless";

std::string currentDirectory() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? buffer : ".";
}

int runHeadless(const tavir::HeadlessOptions& options) {
    using namespace tavir;
    if (!openLog()) {
        std::fprintf(stderr, "%s: cannot create %s in %s: %s\n", kProgram, kLogFileName,
                     currentDirectory().c_str(), std::strerror(errno));
        return 1;
    }
    installHeadlessHost(HeadlessClock::kReal);
    for (const KeyHold& hold : options.keys)
        addScriptedKey(hold.firstFrame, hold.scanCode, hold.frames);
    headlessHost.frameLimit = options.frames;
    if (!options.audio.empty() && !startAudioCapture(options.audio.c_str())) {
        std::fprintf(stderr, "%s: cannot create the audio file %s: %s\n", kProgram,
                     options.audio.c_str(), std::strerror(errno));
        closeLog();
        return 1;
    }
    // The WAV holds the FM music too: the built-in synthesizer plays at each frame end.
    if (!options.audio.empty()) synthesizerUse = SynthesizerUse::kEmulatedTime;
    // From before start-up, so that the file has the device set-up as well.
    if (!options.midi.empty()) startMIDIRecording();

    if (!initMSX()) {
        logPrint("initMSX Failed.\n");
        shutdownMSX();
        finishAudioCapture();
        std::fprintf(stderr, "%s: start-up failed in %s: %s\n", kProgram,
                     currentDirectory().c_str(), logFailureLines().c_str());
        return 1;
    }
    logPrint("initMSX Succeed.\n");
    framePacing.paced = !options.unpaced;

    // Snapshots before the first frame: the emulation thread has not started, so the
    // machine is still this thread's.
    std::string snapshotFailure;
    if (options.loadState != 0 && !loadSnapshot(options.loadState, options.replay))
        snapshotFailure = "cannot load " + snapshotFileName(options.loadState, options.replay);
    else if (options.record != 0 && !saveSnapshot(options.record, true))
        snapshotFailure = "cannot save " + snapshotFileName(options.record, true);
    if (!snapshotFailure.empty()) {
        shutdownMSX();
        std::fprintf(stderr, "%s: %s in %s (missing, or %s says why)\n", kProgram,
                     snapshotFailure.c_str(), currentDirectory().c_str(), kLogFileName);
        return 1;
    }
    // The loaded instruments go out to MIDI, as the emulation thread sends them after a load.
    if (options.loadState != 0) restoreChannels();
    snapshotSlotAtStop = options.saveState;
    snapshotSavedAtStop = false;

    int result = 0;
    const auto start = std::chrono::steady_clock::now();
    std::thread emulation = startEmulationThread(&result);
    emulation.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const uint32_t frames = frameEndState.framesRun;
    const bool screenshotFailed =
        !options.screenshot.empty() && !writeScreenshotFile(options.screenshot.c_str());
    stopMIDIRecording();
    const bool midiFailed =
        !options.midi.empty() && !writeMIDIFile(options.midi.c_str(), midiRecording);
    const int midiError = errno;
    shutdownMSX();
    if (!finishAudioCapture()) {
        std::fprintf(stderr, "%s: cannot write the audio file %s\n", kProgram,
                     options.audio.c_str());
        return 1;
    }

    if (result != 0) {
        std::fprintf(stderr, "%s: the display could not be set up; %s says why\n", kProgram,
                     kLogFileName);
        return 1;
    }
    if (options.saveState != 0 && !snapshotSavedAtStop) {
        std::fprintf(stderr, "%s: cannot save %s; %s says why\n", kProgram,
                     snapshotFileName(options.saveState, false).c_str(), kLogFileName);
        return 1;
    }
    if (screenshotFailed) {
        std::fprintf(stderr, "%s: cannot write the screenshot %s: %s\n", kProgram,
                     options.screenshot.c_str(), std::strerror(errno));
        return 1;
    }
    if (midiFailed) {
        std::fprintf(stderr, "%s: cannot write the MIDI file %s: %s\n", kProgram,
                     options.midi.c_str(), std::strerror(midiError));
        return 1;
    }
    if (headlessHost.endedInCommand)
        std::fprintf(stderr,
                     "%s: the run ended after %u frames while a command waited for its key\n",
                     kProgram, frames);
    else if (options.frames != 0 && frames + headlessHost.waitedFrames < options.frames)
        std::fprintf(stderr, "%s: the quit key ended the emulation after %u frames\n", kProgram,
                     frames);
    if (options.unpaced) {
        const double framesPerSecond = seconds > 0 ? frames / seconds : 0;
        std::printf("%u frames in %.3f s: %.1f frames/s, %.2fx real time\n", frames, seconds,
                    framesPerSecond, framesPerSecond / 60.0);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    tavir::HeadlessOptions options;
    std::string error;
    if (!tavir::parseHeadlessOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s: %s\n", kProgram, error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(tavir::headlessUsage(), stdout);
        return 0;
    }
    // The screenshot's name is the user's, given from where they started the program.
    if (!options.screenshot.empty())
        options.screenshot = std::filesystem::absolute(options.screenshot).string();
    if (!options.midi.empty()) options.midi = std::filesystem::absolute(options.midi).string();
    if (!options.audio.empty()) options.audio = std::filesystem::absolute(options.audio).string();
    if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot use %s as the working directory: %s\n", kProgram,
                     options.directory.c_str(), std::strerror(errno));
        return 2;
    }
    return runHeadless(options);
}
