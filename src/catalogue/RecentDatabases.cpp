#include "catalogue/RecentDatabases.h"

#include <algorithm>

namespace tonvault::catalogue {

void RecentDatabases::Add(const std::string& path) {
  Remove(path);
  entries_.insert(entries_.begin(), path);
  if (entries_.size() > kMaxEntries) entries_.resize(kMaxEntries);
}

void RecentDatabases::Remove(const std::string& path) {
  entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

}  // namespace tonvault::catalogue
