#pragma once

#include <cstdint>
#include <string>

namespace tonvault::files {

// Tells the system that the first `headBytes` and the last `tailBytes` of
// the regular file at `path` will be read soon, so it fetches them in the
// background while the caller is still busy with earlier files: on a slow
// disk the reads of several files then overlap instead of queueing. Only
// what is named is fetched. Anything that is not a regular file, or cannot
// be opened, is left alone; nothing is reported.
void AnnounceReads(const std::string& path, std::int64_t headBytes, std::int64_t tailBytes);

}  // namespace tonvault::files
