#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tonvault::device {

// The icons of a transfer row's state; None while waiting or after a cancel.
enum class TransferIcon { Transferring = 0, Error = 1, Exists = 2, Done = 3, Replacing = 4, Preparing = 5, None = -1 };

// One file of a transfer, as its row in the Transfer Status window shows it.
struct TransferRow {
  std::string album, artist, title;
  std::string fileName;  // the full path on the computer
  std::string sizeKb;    // "Filesize [kB]"
  std::string state = "Waiting";
  TransferIcon icon = TransferIcon::None;

  bool operator==(const TransferRow&) const = default;
};

// The three counters of the window's second status line.
struct TransferCounters {
  std::size_t done = 0, total = 0;
  std::int64_t doneKb = 0, totalKb = 0;
  int errors = 0;

  bool operator==(const TransferCounters&) const = default;
};

// The " After transfer finished " boxes.
struct AfterTransfer {
  bool beep = true;
  bool stopNjb = true;
  bool switchOff = false;
};

// The Transfer Status window as the transfers drive it. The window of the
// program implements it; tests and the headless tool use TransferRecord.
class TransferWindow {
 public:
  virtual ~TransferWindow() = default;

  // Fills the list and shows the window running (modeless, "&Stop transfer").
  // `nomadII` hides and clears "Stop NJB" and "Switch Off NJB".
  virtual void Open(const std::vector<TransferRow>& rows, bool nomadII) = 0;
  virtual void SetState(std::size_t row, const std::string& state, TransferIcon icon) = 0;
  virtual void SetCounters(const TransferCounters& counters) = 0;
  // The per-file bar, in percent; its label tells whether a stop is pending.
  virtual void SetPercent(int percent, bool stopPending) = 0;
  // The free-space bar: capacity and free megabytes.
  virtual void SetFreeSpace(std::int64_t totalMb, std::int64_t freeMb) = 0;
  // Shows the window again when the user closed it during the transfer.
  virtual void ShowAgain() = 0;
  virtual AfterTransfer AfterTransferChoice() const = 0;
  // Switches to "&Close window" and, when `modal`, waits until the user
  // closes the window.
  virtual void Finish(bool modal) = 0;
};

}  // namespace tonvault::device
