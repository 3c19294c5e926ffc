#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace tonvault::device {

// What a change of a card is about to do to files the index does not name
// yet (or no longer): written before the change, removed once the index
// says what happened. After a kill in between, the next open finds it and
// takes back exactly the files it names, recognised by their inode, so a
// file of the user's that happens to carry the same name is never touched.
struct JournalEntry {
  // Add: a file about to be placed at relativePath; Drop: one about to be
  // removed from there; Move: one about to be renamed from `from` to
  // relativePath.
  enum class Kind { Add, Drop, Move };
  Kind kind = Kind::Add;
  std::string relativePath;
  ino_t inode = 0;
  std::string from;

  bool operator==(const JournalEntry&) const = default;
};

std::string FormatJournal(const std::vector<JournalEntry>& entries);
// Nothing when the text is damaged in any way (a journal cut off by a crash
// is one whose change never started: its files are not ours to take).
std::optional<std::vector<JournalEntry>> ParseJournal(const std::string& text);

}  // namespace tonvault::device
