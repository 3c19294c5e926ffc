#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "catalogue/Application.h"

namespace tonvault::catalogue {

inline constexpr int kProgressMaximum = 300;
inline constexpr const char* kStopQuestion = "Do you really want to STOP ?";

// The protocol every long loop follows. Construction starts the progress and
// enters the busy state; ItemDone() paces progress, estimate, status text and
// event pumping and asks about a stop request; destruction resets the
// progress and runs the page change, however the loop ends (normally, by a
// confirmed stop, or by an exception).
class LongOperation {
 public:
  struct Pacing {
    std::size_t every = 10;  // estimate, status text and pumping every n items
    // Panel 0 text after `done` items; empty function: panel 0 untouched.
    std::function<std::string(std::size_t done)> statusText;
    // Status text and pumping (and so a timely Esc) more often: every n
    // items; 0 means with the estimate.
    std::size_t pumpEvery = 0;
  };

  LongOperation(Application& app, Pacing pacing);
  ~LongOperation();
  LongOperation(const LongOperation&) = delete;
  LongOperation& operator=(const LongOperation&) = delete;

  // Call after each item; false when the user confirmed the stop request and
  // the loop must end.
  [[nodiscard]] bool ItemDone(std::size_t done, std::size_t total);

  // The page shown at the end (default: the page on display at the start).
  void EndOnPage(Page page) { endPage_ = page; }
  // Empties panel 1 (the estimate) at the end.
  void ClearEstimateAtEnd() { clearEstimate_ = true; }

 private:
  Application& app_;
  Pacing pacing_;
  Page endPage_;
  bool clearEstimate_ = false;
};

// Asks "Do you really want to STOP ?" when a stop was requested. Returns
// true when the loop must end; No clears the request.
bool ConfirmStop(Application& app);

}  // namespace tonvault::catalogue
