#include "cli/ReadOptions.h"

#include <algorithm>
#include <sstream>

#include "audio/CodePages.h"

namespace tonvault::cli {

namespace {

std::optional<int> Number(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
  const int value = std::stoi(text);
  if (value < low || value > high) return std::nullopt;
  return value;
}

bool ParseTypes(const std::string& list, catalogue::ImportOptions& import) {
  import.mp3 = import.mp2 = import.wma = import.wav = false;
  std::stringstream stream(list);
  for (std::string type; std::getline(stream, type, ',');) {
    if (type == "mp3") import.mp3 = true;
    else if (type == "mp2") import.mp2 = true;
    else if (type == "wma") import.wma = true;
    else if (type == "wav") import.wav = true;
    else return false;
  }
  return true;
}

}  // namespace

std::string TakeCodePageOption(std::vector<std::string>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] != "--codepage") continue;
    const auto page = i + 1 < arguments.size() ? audio::CodePageFromName(arguments[i + 1]) : std::nullopt;
    if (!page) return "--codepage takes one of Windows-1250, -1251, -1252, -1253, -1254, -1257, "
                      "ISO-8859-1, -2, -5, -15, KOI8-R";
    audio::SetLegacyCodePage(*page);
    arguments.erase(arguments.begin() + static_cast<std::ptrdiff_t>(i), arguments.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    --i;
  }
  return {};
}

ParsedArguments ParseReadOptions(const std::vector<std::string>& arguments, const std::vector<std::string>& flags) {
  ParsedArguments parsed;
  catalogue::Options& o = parsed.options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= arguments.size()) return std::nullopt;
      return arguments[++i];
    };
    if (a == "--no-vbr-scan") o.mp3.scanForVbr = false;
    else if (a == "--full-scan") o.mp3.fullScan = true;
    else if (a == "--no-vbr-header") o.mp3.readVbrHeader = false;
    else if (a == "--no-id3v1") o.import.readId3v1 = false;
    else if (a == "--no-id3v2") o.import.readId3v2 = false;
    else if (a == "--tolerate" || a == "--cbr-seconds") {
      const auto text = value();
      const auto number = text ? Number(*text, a == "--tolerate" ? 0 : 1, a == "--tolerate" ? 100000 : 15) : std::nullopt;
      if (!number) {
        parsed.error = a + " needs a number" + (a == "--tolerate" ? "" : " from 1 to 15");
        return parsed;
      }
      (a == "--tolerate" ? o.mp3.errorsTolerated : o.mp3.cbrSeconds) = *number;
    } else if (a == "--types") {
      const auto text = value();
      if (!text || !ParseTypes(*text, o.import)) {
        parsed.error = "--types takes a list of mp3, mp2, wma and wav, separated by commas";
        return parsed;
      }
    } else if (a.rfind("--", 0) == 0 && std::find(flags.begin(), flags.end(), a) == flags.end()) {
      parsed.error = "unknown option " + a;
      return parsed;
    } else {
      parsed.rest.push_back(a);
    }
  }
  return parsed;
}

}  // namespace tonvault::cli
