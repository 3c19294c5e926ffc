#include "catalogue/IniFile.h"

#include <algorithm>
#include <charconv>

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
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    line = audio::TrimControl(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      const std::string name(audio::TrimControl(line.substr(1, line.size() - 2)));
      current = file.Find(name);
      if (current == nullptr) {
        file.sections_.push_back({name, {}});
        current = &file.sections_.back();
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    if (current == nullptr || equals == std::string_view::npos) continue;
    const std::string key(audio::TrimControl(line.substr(0, equals)));
    // As with the profile functions, the first of two equal keys counts.
    if (!file.Get(current->name, key)) file.Set(current->name, key, std::string(line.substr(equals + 1)));
  }
  return file;
}

IniFile::Section* IniFile::Find(std::string_view section) {
  for (Section& s : sections_) {
    if (SameName(s.name, section)) return &s;
  }
  return nullptr;
}

const IniFile::Section* IniFile::Find(std::string_view section) const {
  return const_cast<IniFile*>(this)->Find(section);
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
  if (const Section* s = Find(section)) {
    for (const auto& [name, value] : s->entries) {
      if (SameName(name, key)) return value;
    }
  }
  return std::nullopt;
}

IniFile::Section& IniFile::AddSection(std::string_view section) {
  if (Section* s = Find(section)) return *s;
  return sections_.emplace_back(Section{std::string(section), {}});
}

void IniFile::Set(std::string_view section, std::string_view key, std::string value) {
  Section* s = &AddSection(section);
  for (auto& [name, existing] : s->entries) {
    if (SameName(name, key)) {
      existing = std::move(value);
      return;
    }
  }
  s->entries.emplace_back(std::string(key), std::move(value));
}

void IniFile::RemoveKey(std::string_view section, std::string_view key) {
  if (Section* s = Find(section)) {
    std::erase_if(s->entries, [&](const auto& entry) { return SameName(entry.first, key); });
  }
}

void IniFile::RemoveSection(std::string_view section) {
  std::erase_if(sections_, [&](const Section& s) { return SameName(s.name, section); });
}

bool IniFile::HasSection(std::string_view section) const { return Find(section) != nullptr; }

std::string IniFile::Text() const {
  std::string out;
  for (const Section& s : sections_) {
    out += "[" + s.name + "]\n";
    for (const auto& [key, value] : s.entries) out += key + "=" + value + "\n";
    out += "\n";
  }
  return out;
}

}  // namespace tonvault::catalogue
