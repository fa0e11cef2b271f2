#include "host/midi_ports.h"

#include <RtMidi.h>

#include <cstdio>
#include <exception>
#include <memory>

namespace tavir {

namespace {

std::unique_ptr<RtMidiOut> port;

void reportFailure(const char* what) {
    std::fprintf(stderr, "tavir: MIDI output: %s\n", what);
}

}  // namespace

bool openMIDIPort(int index) {
    closeMIDIPort();
    try {
        auto output = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, "tavir");
        const unsigned count = output->getPortCount();
        if (index < 0 || static_cast<unsigned>(index) >= count) {
            std::fprintf(stderr, "tavir: MIDI output: no port %d (the ALSA sequencer has %u)\n",
                         index + 1, count);
            return false;
        }
        output->openPort(static_cast<unsigned>(index), "tavir OPLL");
        port = std::move(output);
        return true;
    } catch (const RtMidiError& error) {
        reportFailure(error.what());
    } catch (const std::exception& error) {
        reportFailure(error.what());
    }
    return false;
}

void closeMIDIPort() {
    port.reset();  // RtMidi's destructor closes the port and never throws
}

bool sendToMIDIPort(const uint8_t* bytes, int length) {
    if (!port) return false;
    try {
        port->sendMessage(bytes, static_cast<size_t>(length));
        return true;
    } catch (const std::exception& error) {
        reportFailure(error.what());
        return false;
    }
}

}  // namespace tavir
