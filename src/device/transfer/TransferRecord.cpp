#include "device/transfer/TransferRecord.h"

namespace tonvault::device {

void TransferRecord::Open(const std::vector<TransferRow>& rows, bool nomadII) {
  rows_ = rows;
  history_.assign(rows.size(), {});
  for (std::size_t i = 0; i < rows.size(); ++i) history_[i].push_back(rows[i].state);
  finished_ = modal_ = false;
  nomadII_ = nomadII;
  if (nomadII) after_.stopNjb = after_.switchOff = false;
}

void TransferRecord::SetState(std::size_t row, const std::string& state, TransferIcon icon) {
  if (row >= rows_.size()) return;
  rows_[row].state = state;
  rows_[row].icon = icon;
  history_[row].push_back(state);
}

void TransferRecord::SetPercent(int percent, bool stopPending) {
  percent_ = percent;
  percentLabel_ = stopPending ? " %  (Stop)" : " %";
}

void TransferRecord::SetFreeSpace(std::int64_t totalMb, std::int64_t freeMb) {
  totalMb_ = totalMb;
  freeMb_ = freeMb;
}

void TransferRecord::Finish(bool modal) {
  finished_ = true;
  modal_ = modal;
}

}  // namespace tonvault::device
