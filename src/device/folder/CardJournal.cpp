#include "device/folder/CardJournal.h"

#include <charconv>
#include <string_view>

#include "device/folder/TrackIndex.h"

namespace tonvault::device {
namespace {

constexpr std::string_view kHeader = "TONVAULT-PLAYER-JOURNAL 1";

}  // namespace

std::string FormatJournal(const std::vector<JournalEntry>& entries) {
  std::string text = std::string(kHeader) + "\n";
  for (const JournalEntry& entry : entries) {
    text += entry.kind == JournalEntry::Kind::Add ? "add\t" : "drop\t";
    text += EscapeLibraryField(entry.relativePath) + "\t" + std::to_string(entry.inode) + "\n";
  }
  return text + "end " + std::to_string(entries.size()) + "\n";
}

std::optional<std::vector<JournalEntry>> ParseJournal(const std::string& text) {
  std::vector<JournalEntry> entries;
  std::string_view rest = text;
  const auto nextLine = [&rest](std::string_view& line) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return false;
    line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
  };
  std::string_view line;
  if (!nextLine(line) || line != kHeader) return std::nullopt;
  while (nextLine(line)) {
    if (line.rfind("end ", 0) == 0) {
      std::size_t count = 0;
      const std::string_view number = line.substr(4);
      const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), count);
      if (error != std::errc() || end != number.data() + number.size() || count != entries.size() || !rest.empty()) {
        return std::nullopt;
      }
      return entries;
    }
    const std::size_t first = line.find('\t');
    const std::size_t second = line.rfind('\t');
    if (first == std::string_view::npos || second == first) return std::nullopt;
    JournalEntry entry;
    const std::string_view kind = line.substr(0, first);
    if (kind != "add" && kind != "drop") return std::nullopt;
    entry.kind = kind == "add" ? JournalEntry::Kind::Add : JournalEntry::Kind::Drop;
    auto path = UnescapeLibraryField(line.substr(first + 1, second - first - 1));
    const std::string_view inode = line.substr(second + 1);
    const auto [end, error] = std::from_chars(inode.data(), inode.data() + inode.size(), entry.inode);
    if (!path || path->empty() || error != std::errc() || end != inode.data() + inode.size()) return std::nullopt;
    entry.relativePath = std::move(*path);
    entries.push_back(std::move(entry));
  }
  return std::nullopt;
}

}  // namespace tonvault::device
