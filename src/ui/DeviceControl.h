#pragma once

#include <QObject>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <map>

#include "catalogue/Application.h"
#include "device/content/PlayerContent.h"
#include "device/session/DeviceSession.h"
#include "ui/CommandTable.h"

namespace tonvault::ui {

class PlayerSettingsPanel;

// The window's side of the player session: the idle timer, the shape the
// window takes for the kind of player, the Jukebox and Nomad II tool bars,
// and the buttons that stop or switch off the player.
class DeviceControl : public QObject, public device::SessionHost {
  Q_OBJECT
 public:
  // What the control shows and hides; all owned by the window.
  struct Parts {
    QTabBar* pages = nullptr;
    QToolBar* jukeboxBar = nullptr;
    QToolBar* nomadIIBar = nullptr;
    std::function<QAction*(CommandId)> action;
    PlayerSettingsPanel* settings = nullptr;
    QTabWidget* settingsSheets = nullptr;
    int playerSheet = -1;
  };

  DeviceControl(catalogue::Application& app, Parts parts, QObject* parent = nullptr);

  device::DeviceSession& Session() { return session_; }
  // The player's tracks in FILES and in the track table.
  device::PlayerContent& Content() { return content_; }
  QTimer& IdleTimer() { return idleTimer_; }

  // "Stop &NJB now" and the tool button "Stop NJB".
  void StopNow();
  // "Switch off NJ&B" and the tool button "Switch Off NJB".
  void SwitchOff();
  // The About box's player button: the backend, its version, the player.
  std::string PlayerAboutText();
  // "Switch off NJB support" changed, or the kind did.
  void ApplyNjbSupport();

  // --- device::SessionHost ---
  void ApplyDeviceKind(int kind) override;
  void ShowJukeboxToolBar(bool shown) override;
  void EnablePlayerAbout() override {}
  void StartIdleTimer(int milliseconds) override;
  void StopIdleTimer() override { idleTimer_.stop(); }
  void ShowTransferProgress(int percent) override {
    if (transferProgress_) transferProgress_(percent);
  }
  // Where the percent of a transfer goes (the Transfer Status window).
  void OnTransferProgress(std::function<void(int)> show) { transferProgress_ = std::move(show); }

 private:
  void SetActionShown(CommandId id, bool shown);

  catalogue::Application& app_;
  Parts parts_;
  device::DeviceSession session_;
  device::PlayerContent content_{app_, session_};
  QTimer idleTimer_;
  std::function<void(int)> transferProgress_;
};

}  // namespace tonvault::ui
