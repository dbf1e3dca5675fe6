#pragma once

#include <optional>
#include <string>

namespace tavorin {

// The program reads no command line beyond "--version" and "--help": they
// are answered before anything starts (no window, no file touched); any
// other argument is ignored. The text to print and end with, or nothing
// when the program should start as usual.
std::optional<std::string> CommandLineAnswer(int argc, const char* const* argv);

} // namespace tavorin
