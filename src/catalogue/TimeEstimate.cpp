#include "catalogue/TimeEstimate.h"

#include "catalogue/TextFormats.h"

namespace tonvault::catalogue {

std::string TimeEstimate::Text(std::size_t total, std::size_t done) const {
  const double elapsed = std::chrono::duration<double>(clock_() - start_).count();
  const double remaining = done == 0 ? 0.0 : elapsed / static_cast<double>(done) * static_cast<double>(total) - elapsed;
  if (remaining >= 86400.0) return "Est.:  > 1 day";
  return "Est.:  " + FormatLength(remaining);
}

}  // namespace tonvault::catalogue
