#include "catalogue/CommandLine.h"

#include <filesystem>

#include "catalogue/Import.h"
#include "catalogue/DatabaseCommands.h"
#include "catalogue/TextCase.h"

namespace tonvault::catalogue {

bool IsCatalogueFileName(const std::string& name) {
  return AsciiLower(std::filesystem::path(name).extension().string()) == ".tvd";
}

void HandleCommandLine(Application& app, const std::vector<std::string>& arguments) {
  if (arguments.empty()) return;
  if (arguments.size() == 1 && IsCatalogueFileName(arguments[0])) {
    std::filesystem::path path(arguments[0]);
    std::error_code error;
    // A bare name typed in a shell means the current folder; the program's
    // folder is the place of catalogues kept beside a portable copy.
    if (!path.has_parent_path() && !std::filesystem::exists(path, error)) path = app.programFolder + arguments[0];
    if (std::filesystem::exists(path, error)) ReadDatabase(app, std::filesystem::absolute(path, error).string(), false);
    return;
  }
  std::vector<std::string> full;
  full.reserve(arguments.size());
  for (const std::string& argument : arguments) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(argument, error);
    full.push_back(error ? argument : absolute.lexically_normal().string());
  }
  ImportDropped(app, full);
}

}  // namespace tonvault::catalogue
