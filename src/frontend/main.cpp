// tavir: the desktop program. The command line may name a cartridge or a disk to start
// with; everything else is in the working directory.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "disk/drive_state.h"
#include "frontend/host_entry.h"
#include "frontend/launch_options.h"
#include "core/screen_message.h"
#include "frontend/user_directory.h"
#include "host/desktop/desktop_audio.h"
#include "host/desktop/desktop_session.h"
#include "host/midi_output.h"
#include "memory/cartridge_list.h"

int main(int argc, char** argv) {
    using namespace tavir;
    LaunchOptions options;
    std::string error;
    if (!parseLaunchOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tavir: %s\n%s", error.c_str(), launchUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(launchUsage(), stdout);
        return 0;
    }
    // The file is the user's, named from where they started the program.
    if (!options.file.empty()) {
        std::error_code ignored;
        options.file = std::filesystem::absolute(options.file, ignored).string();
    }
    // Started from a folder that is no working directory (a new user's home, a game
    // folder): the program's own, made ready to run on first use.
    if (options.directory.empty() && !holdsSystemROMs(".")) {
        options.directory = userDataDirectory();
        if (options.directory.empty()) {
            std::fprintf(stderr,
                         "tavir: no system ROMs here and no HOME for a working directory "
                         "of its own; name one with --dir DIR\n");
            return 2;
        }
        if (!prepareWorkingDirectory(options.directory, error)) {
            std::fprintf(stderr, "tavir: %s\n", error.c_str());
        }
        std::printf(
            "tavir: no system ROMs in the current directory; working directory %s "
            "(log: TAVIRlog.txt there)\n",
            options.directory.c_str());
        std::fflush(stdout);
        showScreenMessage("Working directory %s", options.directory.c_str());
    }
    if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) {
        std::fprintf(stderr, "tavir: cannot use %s as the working directory: %s\n",
                     options.directory.c_str(), std::strerror(errno));
        return 2;
    }
    if (fileKindOf(options.file) == FileKind::kCartridge) {
        const int mapper = options.mapper >= 0 ? options.mapper : mapperFromFileName(options.file);
        setCommandLineCartridge(options.file.c_str(), static_cast<uint8_t>(mapper));
    } else if (fileKindOf(options.file) == FileKind::kDisk) {
        setCommandLineDisk(options.file.c_str());
    }
    installDesktopAudio();
    // The audio output renders the built-in synthesizer as it plays.
    synthesizerUse = SynthesizerUse::kAudioThread;
    return hostEntry(&desktopSession());
}
