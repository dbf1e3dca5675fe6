// The command line: "--version" and "--help", answered before any window.
#include "app/CommandLine.h"

#include "Version.h"

#include <string_view>

namespace tavorin {

namespace {

std::string versionText() {
    return std::string("Tavorin ") + version::text + "\n";
}

std::string helpText() {
    return "Usage: tavorin [--version | --help]\n"
           "Changes the desktop wallpaper from a list of pictures. Without arguments it\n"
           "starts; started again while it runs, it calls the running copy back.\n"
           "Settings are kept in Settings.INI in the program folder, or in\n"
           "~/.local/share/Tavorin/ when the program folder cannot be written.\n"
           "\n"
           "  --version  print the version and end\n"
           "  --help     print this help and end\n";
}

} // namespace

std::optional<std::string> CommandLineAnswer(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "--version")
            return versionText();
        if (arg == "--help")
            return helpText();
    }
    return std::nullopt;
}

} // namespace tavorin
