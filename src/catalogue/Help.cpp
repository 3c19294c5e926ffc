#include "catalogue/Help.h"

#include <filesystem>

namespace tonvault::catalogue {

std::optional<std::string> ManualPath(const std::string& programFolder) {
  for (const char* place : {"manual.html", "../share/tonvault/manual.html"}) {
    const std::filesystem::path candidate = std::filesystem::path(programFolder) / place;
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal().string();
  }
  return std::nullopt;
}

void ShowHelp(Application& app, int context) {
  const std::optional<std::string> manual = ManualPath(app.programFolder);
  if (!manual) {
    Ask(app.frontend, Sound::Exclamation, MessageKind::Error,
        "The manual was not found next to the program:\n\r" + app.programFolder + "manual.html", {Button::Ok});
    return;
  }
  if (!app.frontend.OpenManual(*manual, context)) {
    Ask(app.frontend, Sound::Exclamation, MessageKind::Error,
        "No web browser was found to show the manual:\n\r" + *manual +
            "\n\r\rOpen it with a browser of your choice, or choose a default browser in the settings of your "
            "desktop.",
        {Button::Ok});
  }
}

}  // namespace tonvault::catalogue
