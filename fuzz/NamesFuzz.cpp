// File names cut into items and new names built from tag texts, over
// arbitrary bytes: the name, three separators and a format string divided
// by 0x01 bytes. A new name never leaves its folder and always ends in
// ".mp3"; the items never hold more than the name.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/FillRow.h"
#include "catalogue/Options.h"
#include "tagging/extract/SplitFileName.h"
#include "tagging/rename/NewName.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tonvault;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> parts(5);
  std::size_t part = 0;
  for (const char c : input) {
    if (c == '\x01' && part + 1 < parts.size()) ++part;
    else parts[part] += c;
  }
  const std::vector<std::string> items = tagging::SplitFileName(parts[0], parts[1], parts[2], parts[3]);
  std::size_t total = 0;
  for (const std::string& item : items) total += item.size();
  if (items.empty() || total > parts[0].size()) __builtin_trap();
  (void)tagging::BaseNameForItems(parts[0]);

  tagging::FieldValues values;
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = parts[i % parts.size()];
  catalogue::RenameOptions options = catalogue::Options().rename;
  options.advanced = size % 2 == 0;
  options.format = parts[4];
  options.separator = parts[1];
  const std::string name = tagging::NewFullName("/folder/x.mp3", values, options);
  if (catalogue::FolderOf(name) != "/folder/" || name.size() < 12 || name.compare(name.size() - 4, 4, ".mp3") != 0) {
    __builtin_trap();
  }
  (void)tagging::TrackTextNumber(parts[0]);
  return 0;
}
