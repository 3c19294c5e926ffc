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
    text += entry.kind == JournalEntry::Kind::Add ? "add" : entry.kind == JournalEntry::Kind::Drop ? "drop" : "move";
    text += '\t';
    text += EscapeLibraryField(entry.relativePath);
    text += '\t';
    text += std::to_string(entry.inode);
    if (entry.kind == JournalEntry::Kind::Move) {
      text += '\t';
      text += EscapeLibraryField(entry.from);
    }
    text += '\n';
  }
  return text + "end " + std::to_string(entries.size()) + "\n";
}

namespace {

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

std::optional<JournalEntry> ReadEntry(std::string_view line) {
  const auto fields = Fields(line);
  JournalEntry entry;
  if (fields[0] == "add" && fields.size() == 3) {
    entry.kind = JournalEntry::Kind::Add;
  } else if (fields[0] == "drop" && fields.size() == 3) {
    entry.kind = JournalEntry::Kind::Drop;
  } else if (fields[0] == "move" && fields.size() == 4) {
    entry.kind = JournalEntry::Kind::Move;
    auto from = UnescapeLibraryField(fields[3]);
    if (!from || from->empty()) return std::nullopt;
    entry.from = std::move(*from);
  } else {
    return std::nullopt;
  }
  auto path = UnescapeLibraryField(fields[1]);
  const std::string_view inode = fields[2];
  const auto [end, error] = std::from_chars(inode.data(), inode.data() + inode.size(), entry.inode);
  if (!path || path->empty() || error != std::errc() || end != inode.data() + inode.size()) return std::nullopt;
  entry.relativePath = std::move(*path);
  return entry;
}

}  // namespace

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
    auto entry = ReadEntry(line);
    if (!entry) return std::nullopt;
    entries.push_back(std::move(*entry));
  }
  return std::nullopt;
}

}  // namespace tonvault::device
