// tonvault-cli: the catalogue commands without a window.
#include <iostream>
#include <string_view>

#include "catalogue/BuildInfo.h"
#include "catalogue/StatusTexts.h"
#include "catalogue/Version.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: tonvault-cli [--help] [--version] COMMAND [ARGS...]\n"
    "\n"
    "Works on Tonvault catalogues and audio files without opening a window.\n"
    "\n"
    "Options:\n"
    "  --help       show this text and exit\n"
    "  --version    show the program version and exit\n"
    "\n"
    "This version has no commands yet.\n";

}  // namespace

int main(int argc, char** argv) {
  using namespace tonvault::catalogue;
  if (argc < 2) {
    std::cerr << kUsage;
    return 2;
  }
  const std::string_view first = argv[1];
  if (first == "--help" || first == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (first == "--version") {
    std::cout << "tonvault-cli " << ProgramVersionText() << " (" << kVersionString << ")\n";
    return 0;
  }
  std::cerr << "tonvault-cli: unknown command '" << first << "'\n\n" << kUsage;
  return 2;
}
