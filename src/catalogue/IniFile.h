#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonvault::catalogue {

// A profile (INI) file: "[Section]" lines followed by "key=value" lines.
// Section and key names compare without regard to ASCII letter case; blanks
// around names and values are ignored. The order of sections and keys is
// kept, and so are the lines that are not settings (comments, blank lines,
// keys before the first section): a file read and written again keeps them
// where they stood. Of two equal keys the first counts. Reading accepts CR LF
// and LF line ends; writing uses LF.
// An integer value as the settings file writes it: optional '+' or '-' and
// decimal digits, nothing else; nullopt for anything malformed.
std::optional<long long> ParseIniInteger(std::string_view text);

class IniFile {
 public:
  static IniFile Parse(std::string_view text);

  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  void Set(std::string_view section, std::string_view key, std::string value);
  // Appends an empty section unless one of that name exists.
  void Add(std::string_view section) { AddSection(section); }
  void RemoveKey(std::string_view section, std::string_view key);
  void RemoveSection(std::string_view section);
  bool HasSection(std::string_view section) const;
  std::string Text() const;

 private:
  // A key with its value, or (when `other` is set) a line kept as it was.
  struct Line {
    std::string key;
    std::string value;
    bool other = false;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
    bool headed = true;  // false for the lines before the first section
  };
  Section& AddSection(std::string_view section);
  Section* Find(std::string_view section);
  const Section* Find(std::string_view section) const;
  std::vector<Section> sections_;
};

}  // namespace tonvault::catalogue
