#include "catalogue/DatabaseFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "audio/TextEncoding.h"
#include "catalogue/NameEscape.h"

namespace tonvault::catalogue {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    // Catalogues are mostly ASCII: skip eight such bytes at a time.
    if (i + 8 <= text.size()) {
      std::uint64_t block;
      std::memcpy(&block, text.data() + i, 8);
      if ((block & 0x8080808080808080ULL) == 0) {
        i += 8;
        continue;
      }
    }
    const std::size_t length = audio::Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

}  // namespace

std::string CleanField(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') continue;
    if (c == '\r') out += " - ";
    else out += c;
  }
  return out;
}

std::string EncodeDatabase(const std::vector<TrackRecord>& rows, const ColumnMap& map) {
  std::array<int, kLogicalColumnCount> slots{};
  for (int c = 0; c < kLogicalColumnCount; ++c) slots[static_cast<std::size_t>(c)] = map.SlotOf(static_cast<Column>(c));
  std::size_t size = kByteOrderMark.size() + std::strlen(kVersionLine) + kLineEnd.size();
  for (const TrackRecord& row : rows) {
    size += 12 + kLinesPerRecord * kLineEnd.size();
    for (int slot : slots) size += static_cast<std::size_t>(slot) < row.texts.size() ? row.texts[static_cast<std::size_t>(slot)].size() : 0;
  }
  std::string out;
  out.reserve(size);
  out += kByteOrderMark;
  out += kVersionLine;
  out += kLineEnd;
  char number[16];
  const int pathSlot = map.SlotOf(Column::Path);
  const int nameSlot = map.SlotOf(Column::Filename);
  for (const TrackRecord& row : rows) {
    const auto [end, error] = std::to_chars(number, number + sizeof number, row.icon);
    out.append(number, error == std::errc() ? end : number);
    out += kLineEnd;
    for (int slot : slots) {
      if (static_cast<std::size_t>(slot) < row.texts.size()) {
        const std::string_view field = row.texts[static_cast<std::size_t>(slot)];
        if (slot == pathSlot || slot == nameSlot) {
          // Names go back exactly as they came: see NameEscape.h.
          if (NameNeedsEscape(field)) out += EscapeName(field);
          else out += field;
        } else if (field.empty() || (std::memchr(field.data(), '\n', field.size()) == nullptr &&
                                     std::memchr(field.data(), '\r', field.size()) == nullptr)) {
          out += field;
        } else {
          out += CleanField(field);
        }
      }
      out += kLineEnd;
    }
  }
  return out;
}

std::string DecodeDatabaseText(std::string bytes) {
  if (std::string_view(bytes).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
    bytes.erase(0, kByteOrderMark.size());
    return bytes;
  }
  if (IsValidUtf8(bytes)) return bytes;
  return audio::LegacyToUtf8(bytes);
}

bool IsValidVersionLine(std::string_view line) {
  if (line.find("Fileversion:") == std::string_view::npos) return false;
  const std::string_view after = audio::TrimControl(line.substr(line.find(':') + 1));
  int version = 0;
  const auto [end, error] = std::from_chars(after.data(), after.data() + after.size(), version);
  return error == std::errc() && end == after.data() + after.size() && version == 1;
}

int ParseIcon(std::string_view line) {
  line = audio::TrimControl(line);
  if (!line.empty() && line[0] == '+') line.remove_prefix(1);
  int icon = -1;
  const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), icon);
  if (error != std::errc() || end != line.data() + line.size() || line.empty()) return -1;
  return icon;
}

std::string_view LineReader::Next() {
  if (AtEnd()) return {};
  const char* start = text_.data() + position_;
  const void* found = std::memchr(start, '\n', text_.size() - position_);
  const std::size_t end = found == nullptr ? text_.size() : static_cast<std::size_t>(static_cast<const char*>(found) - text_.data());
  std::string_view line = text_.substr(position_, end - position_);
  position_ = end + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

std::size_t LineReader::CountLines() const {
  if (text_.empty()) return 0;
  const auto count = static_cast<std::size_t>(std::count(text_.begin(), text_.end(), '\n'));
  return text_.back() == '\n' ? count : count + 1;
}

TrackRecord RecordToRow(const std::vector<std::string_view>& lines, const ColumnMap& map) {
  TrackRecord row;
  row.icon = lines.empty() ? -1 : ParseIcon(lines[0]);
  std::array<std::string_view, kDiskRowSlots> texts{};
  std::array<std::string, 2> names;
  for (int c = 0; c < kLogicalColumnCount; ++c) {
    const auto index = static_cast<std::size_t>(c) + 1;
    if (index >= lines.size()) break;
    const auto column = static_cast<Column>(c);
    const auto slot = static_cast<std::size_t>(map.SlotOf(column));
    if (slot >= texts.size()) continue;
    if (column == Column::Path || column == Column::Filename) {
      // Names go back exactly as they came (see NameEscape.h); the decoded
      // name lives in `names` until the row holds its copy.
      std::string& name = names[column == Column::Path ? 0 : 1];
      name = UnescapeName(lines[index]);
      texts[slot] = name;
    } else {
      texts[slot] = lines[index];
    }
  }
  row.texts.Assign(texts);  // one allocation for the whole row
  return row;
}

}  // namespace tonvault::catalogue
