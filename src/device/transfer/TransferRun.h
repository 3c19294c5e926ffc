#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "catalogue/LongOperation.h"
#include "device/transfer/TransferContext.h"

namespace tonvault::device {

// The frame both transfer directions share: the window with its rows and
// counters, the busy state and progress of a long operation, the player
// session around the loop, the stop handling after each file and the end
// ("Beep", "Stop NJB", "Switch Off NJB", the finished window).
class TransferRun {
 public:
  // `rowKb` is each row's size in kB, summed for the total.
  TransferRun(TransferContext& context, std::vector<TransferRow> rows, std::vector<std::int64_t> rowKb);
  ~TransferRun();
  TransferRun(const TransferRun&) = delete;
  TransferRun& operator=(const TransferRun&) = delete;

  // Shows the window running, enters the busy state and starts the player;
  // true when it is ready.
  bool Begin();
  void SetState(std::size_t row, const std::string& state, TransferIcon icon);
  void Succeeded(std::size_t row) { counters_.doneKb += rowKb_[row]; }
  void Failed() { ++counters_.errors; }
  // After each row: counters, progress, estimate, repaint and the stop
  // question. False when the user confirmed the stop; the rows left are
  // then "Canceled".
  bool RowDone(std::size_t row);
  // After the loop (ran or not): beeps, stops the player as the boxes say
  // and shows the finished window modally.
  void Finish();
  const TransferCounters& Counters() const { return counters_; }

 private:
  TransferContext& context_;
  std::vector<TransferRow> rows_;
  std::vector<std::int64_t> rowKb_;
  TransferCounters counters_;
  std::optional<catalogue::LongOperation> operation_;
  bool ready_ = false;
};

// The outcome of a transfer for its caller: whether the player could be
// used at all, and the final counters.
struct TransferOutcome {
  bool ran = false;
  TransferCounters counters;
};

}  // namespace tonvault::device
