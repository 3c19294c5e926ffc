#pragma once

#include "device/transfer/TransferWindow.h"

namespace tonvault::device {

// A Transfer Status window without a screen: it keeps what the window would
// show, so tests and the headless tool read every row's state back.
class TransferRecord : public TransferWindow {
 public:
  void Open(const std::vector<TransferRow>& rows, bool nomadII) override;
  void SetState(std::size_t row, const std::string& state, TransferIcon icon) override;
  void SetCounters(const TransferCounters& counters) override { counters_ = counters; }
  void SetPercent(int percent, bool stopPending) override;
  void SetFreeSpace(std::int64_t totalMb, std::int64_t freeMb) override;
  void ShowAgain() override { ++shownAgain_; }
  AfterTransfer AfterTransferChoice() const override { return after_; }
  void Finish(bool modal) override;

  AfterTransfer& After() { return after_; }
  const std::vector<TransferRow>& Rows() const { return rows_; }
  // Every state a row went through, in order.
  const std::vector<std::string>& History(std::size_t row) const { return history_.at(row); }
  const TransferCounters& Counters() const { return counters_; }
  int Percent() const { return percent_; }
  // The label of the per-file bar: " %" or " %  (Stop)" after the value.
  const std::string& PercentLabel() const { return percentLabel_; }
  std::int64_t TotalMb() const { return totalMb_; }
  std::int64_t FreeMb() const { return freeMb_; }
  bool Finished() const { return finished_; }
  bool FinishedModal() const { return modal_; }
  bool NomadII() const { return nomadII_; }
  int ShownAgain() const { return shownAgain_; }

 private:
  std::vector<TransferRow> rows_;
  std::vector<std::vector<std::string>> history_;
  TransferCounters counters_;
  AfterTransfer after_;
  int percent_ = 0;
  std::string percentLabel_;
  std::int64_t totalMb_ = 0, freeMb_ = 0;
  bool finished_ = false, modal_ = false, nomadII_ = false;
  int shownAgain_ = 0;
};

}  // namespace tonvault::device
