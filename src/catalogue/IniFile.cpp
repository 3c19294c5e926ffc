#include "catalogue/IniFile.h"

#include <algorithm>
#include <charconv>
#include <iterator>

#include "audio/TextEncoding.h"

namespace tonvault::catalogue {

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Compares without regard to ASCII letter case, without allocating: names
// are compared for every key set or looked up.
bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}
}  // namespace

std::optional<long long> ParseIniInteger(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  const auto [next, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || next != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  Section* current = nullptr;
  // Editors on Windows put a byte-order mark before the first section name.
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const auto keep = [&](std::string_view raw) {
    if (current == nullptr) {
      file.sections_.push_back({"", {}, false});
      current = &file.sections_.back();
    }
    current->lines.push_back({std::string(raw), {}, true});
  };
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    while (raw.ends_with('\r')) raw.remove_suffix(1);
    const std::string_view line = audio::TrimControl(raw);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      const std::string name(audio::TrimControl(line.substr(1, line.size() - 2)));
      current = file.Find(name);
      if (current == nullptr) {
        file.sections_.push_back({name, {}, true});
        current = &file.sections_.back();
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    const bool setting = current != nullptr && current->headed && !line.empty() && line[0] != ';' &&
                         equals != std::string_view::npos;
    if (!setting) {
      keep(raw);
      continue;
    }
    const std::string key(audio::TrimControl(line.substr(0, equals)));
    // As with the profile functions, the first of two equal keys counts.
    if (file.Get(current->name, key)) continue;
    current->lines.push_back({key, std::string(audio::TrimControl(line.substr(equals + 1))), false});
  }
  return file;
}

IniFile::Section* IniFile::Find(std::string_view section) {
  for (Section& s : sections_) {
    if (s.headed && SameName(s.name, section)) return &s;
  }
  return nullptr;
}

const IniFile::Section* IniFile::Find(std::string_view section) const {
  return const_cast<IniFile*>(this)->Find(section);
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  if (const Section* s = Find(section)) {
    for (const Line& line : s->lines) {
      if (!line.other && SameName(line.key, key)) return line.value;
    }
  }
  return std::nullopt;
}

IniFile::Section& IniFile::AddSection(std::string_view section) {
  if (Section* s = Find(section)) return *s;
  return sections_.emplace_back(Section{std::string(section), {}, true});
}

void IniFile::Set(std::string_view section, std::string_view key, std::string value) {
  Section* s = &AddSection(section);
  for (Line& line : s->lines) {
    if (!line.other && SameName(line.key, key)) {
      line.value = std::move(value);
      return;
    }
  }
  // A new key goes after the section's last key, before the blank lines
  // and comments that end it.
  auto after = s->lines.end();
  while (after != s->lines.begin() && std::prev(after)->other) --after;
  s->lines.insert(after, Line{std::string(key), std::move(value), false});
}

void IniFile::RemoveKey(std::string_view section, std::string_view key) {
  if (Section* s = Find(section)) {
    std::erase_if(s->lines, [&](const Line& line) { return !line.other && SameName(line.key, key); });
  }
}

void IniFile::RemoveSection(std::string_view section) {
  std::erase_if(sections_, [&](const Section& s) { return s.headed && SameName(s.name, section); });
}

bool IniFile::HasSection(std::string_view section) const { return Find(section) != nullptr; }

std::string IniFile::Text() const {
  std::string out;
  for (const Section& s : sections_) {
    if (s.headed) out += "[" + s.name + "]\n";
    for (const Line& line : s.lines) out += line.other ? line.key + "\n" : line.key + "=" + line.value + "\n";
    // One blank line between sections; a section read with its own keeps it.
    const bool endsBlank = !s.lines.empty() && s.lines.back().other && audio::TrimControl(s.lines.back().key).empty();
    if (s.headed && !endsBlank) out += "\n";
  }
  return out;
}

}  // namespace tonvault::catalogue
