// The settings reader over arbitrary text: parsing, reading into the
// options in order, writing back. After one round (which trims spaces
// around values and normalises numbers) a written file read again must give
// the same file, so settings do not drift across restarts.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "cli/ConsoleFrontend.h"
#include "catalogue/Settings.h"

namespace {

std::string ReadAndWrite(const std::string& text) {
  using namespace tonvault;
  std::ostringstream ignored;
  cli::ConsoleFrontend frontend(ignored);
  catalogue::Application app(frontend);
  catalogue::ReadSettings(catalogue::IniFile::Parse(text), app, {1600, 1000});
  return catalogue::WriteSettings(app).Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string first = ReadAndWrite(std::string(reinterpret_cast<const char*>(data), size));
  const std::string second = ReadAndWrite(first);
  if (ReadAndWrite(second) != second) __builtin_trap();
  return 0;
}
