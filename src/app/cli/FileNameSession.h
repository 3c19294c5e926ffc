#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Options.h"
#include "cli/JsonLines.h"
#include "cli/Session.h"
#include "tagging/editor/TagEditor.h"

namespace tonvault::cli {

// The item rows a list like "track,artist,title" stands for: the named
// items in that order, the separator row, then the other items. An unknown
// or repeated name, or an empty list, gives none.
std::optional<std::array<std::string, catalogue::kItemRows>> ItemRowsFromList(const std::string& list);
inline constexpr const char* kItemsProblem =
    "--items takes a comma list of track, artist, title, album, year, comment, genre";

// A text of `version` as the tag stores it: a V1 text cut to the field's
// width, so that a dry run shows what writing would keep.
std::string StoredText(tagging::Version version, tagging::Field field, const std::string& text);

// The command line of rename, extract and transform: the files, --dry-run, and the
// options the command knows. `flag` takes an option without a value and
// returns whether it knew it; `valued` takes an option with its value and
// returns none when it does not know the option, "" when it took it, or
// what is wrong with the value.
struct FileNameArguments {
  std::vector<std::string> files;
  bool dryRun = false;
  std::string error;  // empty when the line is good
};
FileNameArguments ParseFileNameArguments(
    const std::vector<std::string>& arguments, const std::function<bool(const std::string&)>& flag,
    const std::function<std::optional<std::string>(const std::string&, const std::string&)>& valued);

// The tag editor over files named on the command line, opened as the window
// opens it for selected rows, so names and tags are read as the editor
// reads them.
class FileNameSession {
 public:
  FileNameSession() = default;
  FileNameSession(const FileNameSession&) = delete;
  FileNameSession& operator=(const FileNameSession&) = delete;

  catalogue::Application& App() { return session_.app; }
  tagging::TagEditor& Editor() { return editor_; }

  // Opens the editor over those of `files` it can tag; the others are
  // reported on standard error as `command`'s. False when none is left.
  bool Open(const std::string& command, const std::vector<std::string>& files);
  // Every refused file makes the exit status 1.
  int Status() const { return status_; }
  void Failed() { status_ = 1; }

  // Runs `each` for every entry in turn (shown first, as the editor shows
  // it) with the name the user gave for it.
  template <class Each>
  void ForEachEntry(Each each) {
    editor_.First();
    for (std::size_t n = 0; n < given_.size(); ++n) {
      if (n > 0) editor_.Next();
      each(given_[n]);
    }
  }
  // `fullName` as the user would write it: in the folder the user named.
  std::string AsGiven(const std::string& given, const std::string& fullName) const;

  void Print(const JsonObject& line);

 private:
  Session session_;
  tagging::TagEditor editor_{session_.app};
  std::vector<std::string> given_;
  int status_ = 0;
};

}  // namespace tonvault::cli
