// The OPLL translation's life around the machine: start-up with its MIDI set-up, silence
// around emulator commands, the keypad's channel mute, and shutdown.
#include <cstring>
#include <vector>

#include "core/log.h"
#include "host/dik_codes.h"
#include "host/host_layer.h"
#include "host/key_state.h"
#include "host/midi_output.h"
#include "sound/opll.h"

namespace tavir {

OPLLSettings opllSettings;

namespace {

// An external synthesizer needs a moment to carry out a reset sent in InitData before
// the controller set-up reaches it.
constexpr uint32_t kInitDataSettleMilliseconds = 100;

// Keypad 0 mutes the drums (MIDI channel 9); keypad 1-9 mute OPLL channels 0-8.
constexpr uint8_t kKeypadDigits[kMIDIMuteChannels] = {
    dik::kNumpad0, dik::kNumpad1, dik::kNumpad2, dik::kNumpad3, dik::kNumpad4,
    dik::kNumpad5, dik::kNumpad6, dik::kNumpad7, dik::kNumpad8, dik::kNumpad9};

void sendController(int channel, uint8_t controller, uint8_t value) {
    sendMIDIShort(packMIDI(static_cast<uint8_t>(0xB0 + channel), controller, value));
}

void waitMilliseconds(uint32_t duration) {
    const uint32_t start = host.milliseconds();
    for (uint32_t elapsed; (elapsed = host.milliseconds() - start) < duration;)
        host.waitStep(duration - elapsed);
}

void sendInitData(const std::vector<std::vector<uint8_t>>& messages) {
    for (const std::vector<uint8_t>& message : messages) {
        logPrint(".InitData %2x", static_cast<unsigned>(message.size()));
        for (uint8_t byte : message) logPrint(" %2x", byte);
        logPrint("\n");
        if (!message.empty()) sendMIDILong(message.data(), static_cast<int>(message.size()));
    }
}

// Every channel at full volume; on the nine melodic channels portamento on (its control
// message hands a voice from one note to the next) and a pitch bend range of 12
// semitones, then the null parameter so that stray data entries change nothing.
void sendControllerSetUp() {
    for (int channel = 0; channel < kMIDIMuteChannels; ++channel) sendController(channel, 7, 127);
    for (int channel = 0; channel < kOPLLChannels; ++channel) {
        sendController(channel, 65, 127);
        sendController(channel, 100, 0);
        sendController(channel, 101, 0);
        sendController(channel, 6, 12);
        sendController(channel, 38, 0);
        sendController(channel, 100, 127);
        sendController(channel, 101, 127);
    }
}

}  // namespace

bool initOPLL() {
    OPLLTranslation& t = opllTranslation;
    t = OPLLTranslation{};
    t.opllEnabled = true;
    std::memset(t.channelMuteVolume, 127, sizeof t.channelMuteVolume);

    opllSettings = OPLLSettings{};
    std::vector<std::vector<uint8_t>> initData;
    if (readOPLLSettings(opllSettings)) {
        initData = readOPLLInitData();
    } else {
        logPrint("%s not found: using the built-in General MIDI mapping.\n", kOPLLConfigFileName);
        opllSettings = builtInOPLLSettings();
        initData = builtInOPLLInitData();
    }
    logOPLLSettings(opllSettings);
    if (opllSettings.DeviceNumber == 0xFF) {
        t.opllEnabled = false;
        return false;
    }

    opll.opllIndex = 0;
    std::memset(opll.opllRegisters, 0, sizeof opll.opllRegisters);
    std::memset(opll.channelInstrument, 3, sizeof opll.channelInstrument);

    if (!openMIDIOutput(opllSettings.DeviceNumber)) {
        logPrint("midiOutOpen Failed.\n");
        t.opllEnabled = false;
        return false;
    }
    sendInitData(initData);
    // Only a device outside the program takes time over a reset; the built-in synthesizer
    // and the recorder take the messages in order.
    if (midiBackend() == MIDIBackend::kPort) waitMilliseconds(kInitDataSettleMilliseconds);
    sendControllerSetUp();
    return true;
}

void closeOPLL() {
    closeMIDIOutput();
    opllTranslation.opllEnabled = false;
}

void allSoundOff() {
    if (!opllTranslation.opllEnabled) return;
    for (int channel = 0; channel < kMIDIMuteChannels; ++channel) sendController(channel, 120, 0);
}

void restoreChannels() {
    if (!opllTranslation.opllEnabled) return;
    for (int ch = 0; ch < kOPLLChannels; ++ch) {
        const uint8_t value = opll.opllRegisters[0x30 + ch];
        const int instrument = value >> 4;
        if (opllSettings.BankSelect != 0) {
            sendController(ch, 0, opllSettings.BankMSB[instrument]);
            sendController(ch, 32, opllSettings.BankLSB[instrument]);
        }
        sendMIDIShort(
            packMIDI(static_cast<uint8_t>(0xC0 + ch), opllSettings.ProgramNumber[instrument]));
        opll.channelInstrument[ch] = static_cast<uint8_t>(instrument);
        sendController(ch, 11, melodicExpression(instrument, value & 0x0F));
    }
}

void numpadChannelMute() {
    OPLLTranslation& t = opllTranslation;
    bool anyDown = false;
    for (uint8_t key : kKeypadDigits) anyDown |= keyDown(key);
    // Edge detection: holding a key toggles once, and a key pressed while another is
    // held does nothing.
    if (!t.keypadWasDown && t.opllEnabled) {
        for (int digit = 0; digit < kMIDIMuteChannels; ++digit) {
            if (!keyDown(kKeypadDigits[digit])) continue;
            const int channel = digit == 0 ? 9 : digit - 1;
            t.channelMuteVolume[channel] = static_cast<uint8_t>(127 - t.channelMuteVolume[channel]);
            const uint8_t message[3] = {static_cast<uint8_t>(0xB0 + channel), 7,
                                        t.channelMuteVolume[channel]};
            sendMIDILong(message, 3, 1);
        }
    }
    t.keypadWasDown = anyDown;
}

}  // namespace tavir
