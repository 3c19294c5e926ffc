#include "cli/FileNameSession.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

#include "catalogue/FillRow.h"
#include "catalogue/PageChange.h"
#include "catalogue/TextCase.h"

namespace tonvault::cli {

namespace {

constexpr std::array<const char*, 7> kItemNames = {"track", "artist", "title", "album", "year", "comment", "genre"};
constexpr std::array<const char*, 7> kItemRowTexts = {" Track ", " Artist ", " Title ", " Album ",
                                                      " Year ",  " Comment ", " Genre "};

// Why the editor cannot tag a file, or empty.
std::string Refusal(const std::string& file) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error)) return "not a file";
  const std::string extension = catalogue::LowerExtension(file);
  if (extension == ".wma") return "WMA-files cannot be tagged.";
  if (extension == ".wav") return "Wave-files cannot be tagged.";
  return {};
}

}  // namespace

std::string StoredText(tagging::Version version, tagging::Field field, const std::string& text) {
  if (version == tagging::Version::V2 || field == tagging::Field::Track || field == tagging::Field::Genre) return text;
  std::string stored = text;
  for (std::size_t count = text.size(); !tagging::FitsV1Field(field, stored); --count) {
    stored = tagging::FirstCharacters(text, count - 1);
  }
  return stored;
}

std::optional<std::array<std::string, catalogue::kItemRows>> ItemRowsFromList(const std::string& list) {
  std::vector<std::size_t> chosen;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string name = catalogue::AsciiLower(list.substr(start, comma - start));
    const auto found = std::find_if(kItemNames.begin(), kItemNames.end(), [&](const char* n) { return name == n; });
    if (found == kItemNames.end()) return std::nullopt;
    const auto index = static_cast<std::size_t>(found - kItemNames.begin());
    if (std::find(chosen.begin(), chosen.end(), index) != chosen.end()) return std::nullopt;
    chosen.push_back(index);
    start = comma + 1;
  }
  std::array<std::string, catalogue::kItemRows> rows;
  std::size_t row = 0;
  for (std::size_t index : chosen) rows[row++] = kItemRowTexts[index];
  rows[row++] = catalogue::kItemSeparator;
  for (std::size_t index = 0; index < kItemRowTexts.size(); ++index) {
    if (std::find(chosen.begin(), chosen.end(), index) == chosen.end()) rows[row++] = kItemRowTexts[index];
  }
  return rows;
}

FileNameArguments ParseFileNameArguments(
    const std::vector<std::string>& arguments, const std::function<bool(const std::string&)>& flag,
    const std::function<std::optional<std::string>(const std::string&, const std::string&)>& valued) {
  FileNameArguments parsed;
  for (std::size_t i = 0; i < arguments.size() && parsed.error.empty(); ++i) {
    const std::string& a = arguments[i];
    if (a.rfind("--", 0) != 0) {
      parsed.files.push_back(a);
    } else if (a == "--dry-run") {
      parsed.dryRun = true;
    } else if (!flag(a)) {
      const std::optional<std::string> problem =
          i + 1 < arguments.size() ? valued(a, arguments[i + 1]) : std::nullopt;
      if (!problem) parsed.error = a + " is not an option or lacks its value";
      else parsed.error = *problem;
      ++i;
    }
  }
  if (parsed.error.empty() && parsed.files.empty()) parsed.error = "no file given";
  return parsed;
}

bool FileNameSession::Open(const std::string& command, const std::vector<std::string>& files) {
  catalogue::Application& app = session_.app;
  for (const std::string& file : files) {
    if (const std::string refusal = Refusal(file); !refusal.empty()) {
      std::cerr << "tonvault-cli " << command << ": " << file << ": " << refusal << '\n';
      Failed();
      continue;
    }
    // The editor takes rows with a folder; the name itself stays as given.
    const std::string full = std::filesystem::absolute(file).string();
    catalogue::TrackRecord row;
    row.selected = true;
    app.columnMap.Set(row, catalogue::Column::Path, catalogue::FolderOf(full));
    app.columnMap.Set(row, catalogue::Column::Filename, catalogue::NameOf(full));
    app.files.push_back(std::move(row));
    given_.push_back(file);
  }
  if (given_.empty()) return false;
  app.lastPage = catalogue::Page::Files;
  catalogue::ChangePage(app, catalogue::Page::Id3Editor);
  return editor_.ShowsDiskFiles();
}

std::string FileNameSession::AsGiven(const std::string& given, const std::string& fullName) const {
  return catalogue::FolderOf(given) + catalogue::NameOf(fullName);
}

void FileNameSession::Print(const JsonObject& line) {
  session_.frontend.FinishProgressLine();
  std::cout << line.Line() << '\n';
}

}  // namespace tonvault::cli
