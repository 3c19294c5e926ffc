// The Jukebox's owner name, clock and the parts of its device info beyond
// name and firmware, through libnjb.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "device/njb/NjbLibrary.h"

namespace tonvault::device {

Status NjbLibrary::NjbDevice::GetOwnerName(std::string& name) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  char* owner = NJB_Get_Owner_String(njb_);
  if (owner == nullptr) return Failure();
  name = owner;
  std::free(owner);
  return kOk;
}

Status NjbLibrary::NjbDevice::SetOwnerName(const std::string& name) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  return NJB_Set_Owner_String(njb_, name.c_str()) == -1 ? Failure() : kOk;
}

Status NjbLibrary::NjbDevice::GetDateTime(PlayerDateTime& clock) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  njb_time_t* time = NJB_Get_Time(njb_);
  if (time == nullptr) return Failure();
  // libnjb counts months from 0.
  clock = {time->year, time->month + 1, time->day, time->hours, time->minutes, time->seconds};
  NJB_Destroy_Time(time);
  return kOk;
}

Status NjbLibrary::NjbDevice::SetDateTime(const PlayerDateTime& clock) {
  std::unique_lock<std::mutex> lock;
  if (const Status status = Enter(lock); status != kOk) return status;
  std::tm day{};
  day.tm_year = clock.year - 1900, day.tm_mon = clock.month - 1, day.tm_mday = clock.day, day.tm_hour = 12;
  std::mktime(&day);  // fills in the weekday
  njb_time_t time{};
  time.year = static_cast<int16_t>(clock.year);
  time.month = static_cast<int16_t>(clock.month - 1);
  time.day = static_cast<int16_t>(clock.day);
  time.weekday = static_cast<int16_t>(day.tm_wday);
  time.hours = static_cast<int16_t>(clock.hour);
  time.minutes = static_cast<int16_t>(clock.minute);
  time.seconds = static_cast<int16_t>(clock.second);
  return NJB_Set_Time(njb_, &time) == -1 ? Failure() : kOk;
}

}  // namespace tonvault::device
