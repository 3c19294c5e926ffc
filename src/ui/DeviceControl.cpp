#include "ui/DeviceControl.h"

#include <QAction>

#include "catalogue/PageChange.h"
#include "device/Backends.h"
#include "ui/pages/PlayerSettingsPanel.h"

namespace tonvault::ui {

namespace {
constexpr int kJukebox = 1, kNomadII = 2;
}

DeviceControl::DeviceControl(catalogue::Application& app, Parts parts, QObject* parent)
    : QObject(parent),
      app_(app),
      parts_(std::move(parts)),
      session_(app, *this, [&app] { return device::FindBackends(device::AddressFromOptions(app.options.device)); }) {
  session_.FindBackendsAtStart();
  idleTimer_.setSingleShot(true);
  connect(&idleTimer_, &QTimer::timeout, this, [this] { session_.IdleTimerExpired(); });
  if (PlayerSettingsPanel* settings = parts_.settings) {
    connect(settings, &PlayerSettingsPanel::StopNowClicked, this, &DeviceControl::StopNow);
    connect(settings, &PlayerSettingsPanel::SwitchOffClicked, this, &DeviceControl::SwitchOff);
    connect(settings, &PlayerSettingsPanel::StopCheckBoxClicked, this, [this] { session_.StopCheckBoxClicked(); });
    connect(settings, &PlayerSettingsPanel::StopMinutesChanged, this, [this] { session_.StopMinutesChanged(); });
    connect(settings, &PlayerSettingsPanel::PlayerChoiceChanged, this, [this] { session_.ReplaceBackends(); });
  }
  // Events a backend posts while no operation pumps (a transfer ending on
  // its worker) wait for the window's next turn, and arrive there.
  auto* pump = new QTimer(this);
  connect(pump, &QTimer::timeout, this, [this] {
    if (session_.LibraryPresent()) session_.Library()->Events().Deliver(session_);
  });
  pump->start(200);
}

void DeviceControl::StopNow() { session_.StopDevice(true, false); }

void DeviceControl::SwitchOff() {
  catalogue::SetCommandState(app_, 0);
  session_.StopDevice(true, true);
  catalogue::RefreshPage(app_);
}

std::string DeviceControl::PlayerAboutText() {
  if (!session_.LibraryPresent()) return "No player library is in use.";
  device::DeviceInfo info = session_.Library()->GetVersionInfo();
  if (session_.DeviceStarted()) session_.CurrentDevice().GetDeviceInfo(info);
  std::string text = "Player library: " + info.backend + "\n\rVersion: " + info.version;
  if (!info.name.empty()) text += "\n\rPlayer: " + info.name;
  if (!info.firmware.empty()) text += "\n\rFirmware: " + info.firmware;
  return text;
}

void DeviceControl::SetActionShown(CommandId id, bool shown) {
  if (QAction* action = parts_.action(id)) action->setVisible(shown);
}

void DeviceControl::ApplyDeviceKind(int kind) {
  const bool jukebox = kind == kJukebox;
  const bool nomadII = kind == kNomadII;
  if (kind == 0) {
    ShowJukeboxToolBar(false);
    return;
  }
  if (nomadII) {
    app_.options.transferWindow.stopNjb = false;
    app_.options.transferWindow.njbOff = false;
    ShowJukeboxToolBar(false);
  }
  for (CommandId id : {CommandId::AddToPlaylist, CommandId::UpdateTagsOnNjb}) {
    if (QAction* action = parts_.action(id)) action->setEnabled(jukebox && action->isEnabled());
  }
  for (CommandId id : {CommandId::RebuildAudioCache, CommandId::StopNjbNow, CommandId::SwitchOffNjb}) {
    SetActionShown(id, jukebox);
  }
  SetActionShown(CommandId::FormatNomadII, nomadII);
  if (parts_.nomadIIBar) parts_.nomadIIBar->setVisible(nomadII && !app_.options.njbSupportOff);
  if (parts_.settings) parts_.settings->ShowJukeboxItems(jukebox);
  ApplyNjbSupport();
}

void DeviceControl::ShowJukeboxToolBar(bool shown) {
  if (parts_.jukeboxBar) parts_.jukeboxBar->setVisible(shown && !app_.options.njbSupportOff);
}

void DeviceControl::StartIdleTimer(int milliseconds) { idleTimer_.start(milliseconds); }

void DeviceControl::ApplyNjbSupport() {
  const bool on = !app_.options.njbSupportOff;
  if (parts_.pages) parts_.pages->setTabVisible(static_cast<int>(catalogue::Page::Player), on && app_.deviceKind != kNomadII);
  if (parts_.settingsSheets && parts_.playerSheet >= 0) parts_.settingsSheets->setTabVisible(parts_.playerSheet, on);
  if (!on) {
    if (parts_.jukeboxBar) parts_.jukeboxBar->setVisible(false);
    if (parts_.nomadIIBar) parts_.nomadIIBar->setVisible(false);
  } else if (parts_.nomadIIBar) {
    parts_.nomadIIBar->setVisible(app_.deviceKind == kNomadII);
  }
}

}  // namespace tonvault::ui
