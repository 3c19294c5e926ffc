// The session around player operations, with the simulated player, a
// scripted frontend and a clock that runs only when the program sleeps.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "device/Backends.h"
#include "device/DeviceTestSupport.h"
#include "device/folder/FolderPlayer.h"
#include "device/session/DeviceSession.h"
#include "device/simulated/SimulatedPlayer.h"
#include "files/ReplaceFile.h"
#include "support/ScriptedFrontend.h"
#include "support/TempFolder.h"

namespace tonvault::device {
namespace {

// Records what the session changes in the window.
class RecordingHost : public SessionHost {
 public:
  std::vector<std::string> calls;
  void ApplyDeviceKind(int kind) override { calls.push_back("kind " + std::to_string(kind)); }
  void ShowJukeboxToolBar(bool shown) override { calls.push_back(shown ? "toolbar on" : "toolbar off"); }
  void EnablePlayerAbout() override { calls.push_back("about"); }
  void StartIdleTimer(int milliseconds) override { calls.push_back("timer " + std::to_string(milliseconds)); }
  void StopIdleTimer() override { calls.push_back("timer off"); }
  bool Has(const std::string& call) const { return std::find(calls.begin(), calls.end(), call) != calls.end(); }
};

class DeviceSessionTest : public test::PlayerFixture<::testing::Test, RecordingHost> {
 protected:
  // A session over a simulated player with `attached` plugged in.
  DeviceSession& Attach(std::vector<int> attached) {
    UseSimulated(std::move(attached));
    return *session_;
  }
  std::vector<std::string> Messages() const { return frontend_.Log("message"); }
  std::vector<std::string> Beeps() const { return frontend_.Log("beep"); }
  // A session over a simulated Jukebox the session rests as a real one.
  DeviceSession& AttachRested(std::vector<int> attached) {
    UseSimulated(std::move(attached));
    player_->SetRestPauses(true);
    return *session_;
  }
  // A session over a folder player on an empty card.
  DeviceSession& AttachFolder() {
    std::filesystem::create_directories(temp_.Path() + "/card");
    Use(std::make_unique<FolderPlayer>(temp_.Path() + "/card"));
    return *session_;
  }
  // Both rests switched on at their defaults: a pause every 100 changes and
  // a close after 5 idle minutes.
  void RestEvery100Changes() {
    app_.options.njb.uploadPause = true;
    app_.options.njb.uploadPauseTracks = 100;
    app_.options.njb.stopAfter = true;
    app_.options.njb.stopMinutes = 5;
  }
  // Sends a short file `times` times, each followed by the session's pause,
  // as a transfer does. The sends' ends arrive through pumps, which never
  // sleep: any sleep is the session's.
  void SendAndPause(DeviceSession& session, int times) {
    const std::string song = test::WriteMp3(temp_.Path() + "/song.mp3", 2);
    for (int sent = 0; sent < times; ++sent) {
      app_.transferToPlayerInProgress = true;
      int id = 0;
      ASSERT_EQ(session.CurrentDevice().SendTrack(song, AudioInfo{}, id), kOk);
      session.Pump();
      ASSERT_FALSE(app_.transferToPlayerInProgress);
      ASSERT_EQ(session.LastTransferStatus(), kOk);
      session.PauseDevice();
    }
  }
  int Connected(DeviceSession& session) {
    int connected = -1;
    EXPECT_EQ(session.CurrentDevice().GetConnected(connected), kOk);
    return connected;
  }
  std::size_t IndexOf(const std::string& call) const {
    const auto& calls = player_->Calls();
    return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) - calls.begin());
  }
};

// --- starting ---

TEST_F(DeviceSessionTest, NoPlayerAttachedWarnsOnceAndForgetsTheKind) {
  app_.deviceKind = 1;  // the last kind, from the settings
  DeviceSession& session = Attach({});
  EXPECT_FALSE(session.StartDevice(true));
  EXPECT_EQ(Beeps(), std::vector<std::string>{"beep: asterisk"});
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(warning): No device found [OK]"});
  EXPECT_EQ(app_.deviceKind, 0);
  EXPECT_FALSE(session.DeviceStarted());
  EXPECT_EQ(CallCount("OpenDevice(8)"), 0);
}

TEST_F(DeviceSessionTest, AJukeboxIsOpenedAndGivesTheWindowItsShape) {
  DeviceSession& session = Attach({kKindJukebox});
  EXPECT_TRUE(session.StartDevice(true));
  EXPECT_EQ(app_.deviceKind, 1);
  EXPECT_TRUE(session.DeviceStarted());
  EXPECT_EQ(host_.calls, (std::vector<std::string>{"timer off", "about", "toolbar on", "kind 1"}));
  EXPECT_EQ(CallCount("SelectDevice(8)"), 0);  // one player: no choice
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(frontend_.Log("panel1: NJB Start").size(), 1u);
  EXPECT_EQ(frontend_.Panel(1), "");

  // A second start within the session does not open the player again.
  EXPECT_TRUE(session.StartDevice(true));
  EXPECT_EQ(CallCount("OpenDevice(8)"), 1);
}

TEST_F(DeviceSessionTest, WithBothKindsAttachedTheChoiceComesBeforeOpening) {
  DeviceSession& session = Attach({kKindJukebox, kKindNomadII});
  player_->AnswerSelection(kKindNomadII);
  EXPECT_TRUE(session.StartDevice(true));
  EXPECT_LT(IndexOf("SelectDevice(8)"), IndexOf("OpenDevice(4)"));
  EXPECT_EQ(app_.deviceKind, 2);
  EXPECT_TRUE(host_.Has("kind 2"));
  EXPECT_FALSE(host_.Has("toolbar on"));  // the Jukebox tool bar is for a Jukebox only
}

TEST_F(DeviceSessionTest, AFailedOpenSaysCannotInitializeOnlyWhenAskedTo) {
  DeviceSession& session = Attach({kKindJukebox});
  player_->FailNext("OpenDevice", kBusy, 2);
  EXPECT_FALSE(session.StartDevice(false));
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(session.StartDevice(true));
  EXPECT_EQ(Beeps(), std::vector<std::string>{"beep: exclamation"});
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(error): Cannot initialize NJB [OK]"});
  EXPECT_EQ(app_.deviceKind, 0);
}

TEST_F(DeviceSessionTest, WithoutAnyBackendTheLibraryCannotBeInitialized) {
  DeviceSession session(app_, host_, [] { return nullptr; });
  app_.deviceKind = 2;
  session.FindBackendsAtStart();  // silent at start-up
  EXPECT_EQ(app_.deviceKind, 0);
  EXPECT_TRUE(frontend_.Log().empty());
  EXPECT_FALSE(session.StartDevice(true));
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(error): Cannot initialize JBDirect 3 [OK]"});
  EXPECT_FALSE(host_.Has("about"));
  // Stopping without a library leaves nothing to close and is ready.
  EXPECT_TRUE(session.StopDevice(true, true));
  EXPECT_TRUE(session.DeviceReady());
}

TEST_F(DeviceSessionTest, ChoosingAnotherPlayerClosesTheOpenOneAndFindsTheBackendsAgain) {
  int found = 0;
  DeviceSession session(app_, host_, [this, &found] {
    ++found;
    return std::make_unique<SimulatedPlayer>(temp_.Path(), std::vector<int>{kKindJukebox});
  });
  ASSERT_TRUE(session.StartDevice(true));
  session.ReplaceBackends();
  EXPECT_FALSE(session.DeviceStarted());
  EXPECT_FALSE(session.LibraryPresent());
  ASSERT_TRUE(session.StartDevice(true));
  EXPECT_EQ(found, 2);
}

// --- the simulated players' folder ---

struct stat Lstat(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

// A folder itself (not a link) of ours that nobody else may use.
bool IsPrivateFolder(const std::string& path) {
  const struct stat info = Lstat(path);
  return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
}

std::string UsualFolder(const std::string& temp) {
  return temp + "/tonvault-simulated-player-" + std::to_string(::geteuid());
}

// What a run given a name someone else took must get: a fresh private
// folder of its own, and a word about it.
void ExpectFreshFolder(const SimulatedFolder& folder, const std::string& usual, const std::string& why) {
  EXPECT_TRUE(folder.fresh);
  ASSERT_FALSE(folder.path.empty());
  EXPECT_NE(folder.path, usual);
  EXPECT_TRUE(IsPrivateFolder(folder.path));
  EXPECT_NE(folder.notice.find(usual), std::string::npos) << folder.notice;
  EXPECT_NE(folder.notice.find(why), std::string::npos) << folder.notice;
  EXPECT_NE(folder.notice.find(folder.path), std::string::npos) << folder.notice;
}

TEST(SimulatedPlayerFolder, IsMadePrivateAndFoundAgainByTheNextRun) {
  testing::TempFolder temp;
  const SimulatedFolder first = SimulatedPlayerFolder("", temp.Path());
  EXPECT_EQ(first.path, UsualFolder(temp.Path()));
  EXPECT_FALSE(first.fresh);
  EXPECT_TRUE(first.notice.empty());
  EXPECT_TRUE(IsPrivateFolder(first.path));
  ASSERT_FALSE(files::WriteWholeFile(first.path + "/kept", "x"));
  const SimulatedFolder second = SimulatedPlayerFolder("", temp.Path());
  EXPECT_EQ(second.path, first.path);
  EXPECT_FALSE(second.fresh);
  EXPECT_TRUE(std::filesystem::exists(second.path + "/kept"));
}

TEST(SimulatedPlayerFolder, LivesInTheRuntimeFolderOnlyWhenThatIsPrivate) {
  testing::TempFolder temp;
  const std::string runtime = temp.Path() + "/run";
  ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
  const SimulatedFolder inRuntime = SimulatedPlayerFolder(runtime, temp.Path());
  EXPECT_EQ(inRuntime.path, runtime + "/tonvault-simulated-player");
  EXPECT_TRUE(IsPrivateFolder(inRuntime.path));
  EXPECT_TRUE(inRuntime.notice.empty());

  const std::string link = temp.Path() + "/run-link";
  ASSERT_EQ(::symlink(runtime.c_str(), link.c_str()), 0);
  EXPECT_EQ(SimulatedPlayerFolder(link, temp.Path()).path, UsualFolder(temp.Path()));
  EXPECT_EQ(SimulatedPlayerFolder("run", temp.Path()).path, UsualFolder(temp.Path()));
  EXPECT_EQ(SimulatedPlayerFolder(temp.Path() + "/none", temp.Path()).path, UsualFolder(temp.Path()));
  ASSERT_EQ(::chmod(runtime.c_str(), 0750), 0);
  EXPECT_EQ(SimulatedPlayerFolder(runtime, temp.Path()).path, UsualFolder(temp.Path()));
}

TEST(SimulatedPlayerFolder, ALinkOfThatNameIsNeverFollowed) {
  testing::TempFolder temp;
  const std::string usual = UsualFolder(temp.Path());
  // A private folder of ours: followed, the link would pass every check.
  const std::string target = temp.Path() + "/target";
  ASSERT_EQ(::mkdir(target.c_str(), 0700), 0);
  ASSERT_EQ(::symlink(target.c_str(), usual.c_str()), 0);
  const SimulatedFolder taken = SimulatedPlayerFolder("", temp.Path());
  ExpectFreshFolder(taken, usual, "symbolic link");
  EXPECT_TRUE(std::filesystem::is_empty(target));
  EXPECT_TRUE(S_ISLNK(Lstat(usual).st_mode));

  // A link leading nowhere makes nothing where it leads.
  const std::string nowhere = temp.Path() + "/nowhere";
  ASSERT_TRUE(std::filesystem::remove(usual));
  ASSERT_EQ(::symlink(nowhere.c_str(), usual.c_str()), 0);
  const SimulatedFolder dangling = SimulatedPlayerFolder("", temp.Path());
  ExpectFreshFolder(dangling, usual, "symbolic link");
  EXPECT_NE(dangling.path, taken.path);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(nowhere)));
}

TEST(SimulatedPlayerFolder, AFolderOfAnotherUserIsNotUsed) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can make a folder that belongs to another user";
  testing::TempFolder temp;
  ASSERT_EQ(::chmod(temp.Path().c_str(), 0755), 0);
  // Like the system's temporary folder: everyone may make names in it.
  const std::string shared = temp.Path() + "/shared";
  ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
  ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
  const std::string usual = UsualFolder(shared);
  const pid_t child = ::fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    const bool made = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                      ::mkdir(usual.c_str(), 0700) == 0;
    ::_exit(made ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other user could not make the folder";
  ASSERT_EQ(Lstat(usual).st_uid, 65534u);

  ExpectFreshFolder(SimulatedPlayerFolder("", shared), usual, "belongs to user 65534");
  EXPECT_TRUE(std::filesystem::is_empty(usual));
}

TEST(SimulatedPlayerFolder, AFolderOthersMayUseOrAFileOfThatNameIsNotUsed) {
  testing::TempFolder temp;
  const std::string usual = UsualFolder(temp.Path());
  ASSERT_EQ(::mkdir(usual.c_str(), 0700), 0);
  for (const mode_t mode : {0777, 0750, 0701}) {
    ASSERT_EQ(::chmod(usual.c_str(), mode), 0);
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode));
    ExpectFreshFolder(SimulatedPlayerFolder("", temp.Path()), usual, std::string("mode ") + text);
    EXPECT_EQ(Lstat(usual).st_mode & 07777, mode);  // left as it was found
  }
  ASSERT_TRUE(std::filesystem::remove(usual));
  ASSERT_FALSE(files::WriteWholeFile(usual, "x"));
  ExpectFreshFolder(SimulatedPlayerFolder("", temp.Path()), usual, "not a folder");
}

// --- stopping ---

TEST_F(DeviceSessionTest, StopAfterZeroMinutesClosesAJukeboxButNeverANomadII) {
  app_.options.njb.stopAfter = true;
  app_.options.njb.stopMinutes = 0;
  DeviceSession& jukebox = AttachRested({kKindJukebox});
  ASSERT_TRUE(jukebox.StartDevice(true));
  EXPECT_FALSE(jukebox.StopDevice(false, false));
  EXPECT_EQ(CallCount("CloseDevice"), 1);
  EXPECT_FALSE(jukebox.DeviceStarted());
  EXPECT_TRUE(host_.Has("toolbar off"));
  EXPECT_EQ(host_.calls.back(), "timer off");

  DeviceSession& nomad = AttachRested({kKindNomadII});
  ASSERT_TRUE(nomad.StartDevice(true));
  EXPECT_TRUE(nomad.StopDevice(false, false));
  EXPECT_EQ(CallCount("CloseDevice"), 0);
  EXPECT_TRUE(nomad.DeviceStarted());
  EXPECT_EQ(host_.calls.back(), "timer off");
}

TEST_F(DeviceSessionTest, TheIdleTimerClosesAJukeboxAfterTheConfiguredMinutes) {
  app_.options.njb.stopAfter = true;
  app_.options.njb.stopMinutes = 5;
  DeviceSession& session = AttachRested({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  EXPECT_TRUE(session.StopDevice(false, false));  // left open
  EXPECT_EQ(host_.calls.back(), "timer 300000");
  EXPECT_EQ(CallCount("CloseDevice"), 0);

  app_.options.njb.stopMinutes = 7;  // changed while the timer runs
  session.StopMinutesChanged();
  EXPECT_EQ(host_.calls.back(), "timer 420000");

  session.IdleTimerExpired();
  EXPECT_EQ(CallCount("CloseDevice"), 1);
  EXPECT_FALSE(session.DeviceReady());
  EXPECT_FALSE(session.IdleTimerRunning());
}

TEST_F(DeviceSessionTest, StoppingWhilePlayingOrPausedClosesNothingAndSaysNothing) {
  DeviceSession& session = Attach({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  for (int mode : {DeviceSession::kPlayerPlaying, DeviceSession::kPlayerPaused}) {
    session.OnModeChanged(mode);
    EXPECT_FALSE(session.StopDevice(true, false));
    EXPECT_FALSE(session.StopDevice(true, true));
  }
  EXPECT_EQ(CallCount("CloseDevice"), 0);
  EXPECT_EQ(CallCount("ShutDownDevice"), 0);
  EXPECT_TRUE(session.DeviceStarted());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DeviceSessionTest, BusyAnswersAreRetriedEvery100MillisecondsUntilTheShutdownTimeout) {
  app_.options.njb.shutdownTimeout = 5;
  DeviceSession& session = Attach({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  player_->FailNext("CloseDevice", kBusy, 2);
  EXPECT_FALSE(session.StopDevice(true, false));
  EXPECT_EQ(CallCount("CloseDevice"), 3);  // busy, busy, closed
  EXPECT_TRUE(Messages().empty());

  ASSERT_TRUE(session.StartDevice(true));
  player_->ClearCalls();
  player_->FailNext("CloseDevice", kBusy, 1'000'000);  // busy for good
  const auto before = frontend_.Slept();
  EXPECT_FALSE(session.StopDevice(true, false));
  const auto waited = frontend_.Slept() - before;
  EXPECT_GE(waited, std::chrono::minutes(5));
  EXPECT_LT(waited, std::chrono::minutes(5) + std::chrono::seconds(1));
  EXPECT_NEAR(CallCount("CloseDevice"), 5 * 600, 2);
  EXPECT_EQ(Beeps(), std::vector<std::string>{"beep: exclamation"});
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(error): ShutDown NJB failed [OK]"});
  EXPECT_EQ(app_.deviceKind, 1);  // the kind stays after a failed shutdown
}

TEST_F(DeviceSessionTest, AnyOtherFailedStatusEndsTheShutdownAtOnce) {
  DeviceSession& session = Attach({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  player_->FailNext("ShutDownDevice", kDiskFull);
  EXPECT_FALSE(session.StopDevice(false, true));
  EXPECT_EQ(CallCount("ShutDownDevice"), 1);
  EXPECT_EQ(CallCount("CloseDevice"), 1);  // closed after the shutdown all the same
  EXPECT_EQ(Messages(), std::vector<std::string>{"message(error): ShutDown NJB failed [OK]"});
}

TEST_F(DeviceSessionTest, ShuttingDownANomadIIOnlyClosesIt) {
  DeviceSession& session = Attach({kKindNomadII});
  ASSERT_TRUE(session.StartDevice(true));
  EXPECT_FALSE(session.StopDevice(true, true));
  EXPECT_EQ(CallCount("ShutDownDevice"), 0);
  EXPECT_EQ(CallCount("CloseDevice"), 1);
}

// --- pausing ---

TEST_F(DeviceSessionTest, PauseEveryZeroPausesAfterEachChangeForTenAndAHalfSeconds) {
  app_.options.njb.uploadPause = true;
  app_.options.njb.uploadPauseTracks = 0;
  DeviceSession& session = AttachRested({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  player_->ClearCalls();
  const auto before = frontend_.Slept();
  session.PauseDevice();
  EXPECT_EQ(frontend_.Slept() - before, std::chrono::milliseconds(10 * 2 + 21 * 500));  // two 10 ms polls
  EXPECT_LT(IndexOf("SetConnected(0)"), IndexOf("SetConnected(1)"));
  EXPECT_EQ(frontend_.Log("panel1: NJB Pause").size(), 1u);
  session.PauseDevice();
  EXPECT_EQ(CallCount("SetConnected(0)"), 2);
  EXPECT_EQ(session.TransferCounter(), 2);
}

TEST_F(DeviceSessionTest, PauseEvery100CountsChangesSinceTheProgramStarted) {
  app_.options.njb.uploadPause = true;
  app_.options.njb.uploadPauseTracks = 100;
  DeviceSession& session = AttachRested({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  player_->ClearCalls();
  for (int change = 1; change <= 99; ++change) session.PauseDevice();
  EXPECT_EQ(CallCount("SetConnected(0)"), 0);
  session.PauseDevice();
  EXPECT_EQ(CallCount("SetConnected(0)"), 1);
  // A new session does not reset the count.
  EXPECT_FALSE(session.StopDevice(true, false));
  ASSERT_TRUE(session.StartDevice(true));
  for (int change = 101; change <= 200; ++change) session.PauseDevice();
  EXPECT_EQ(CallCount("SetConnected(0)"), 3);  // the close's disconnect and the 200th change
  EXPECT_EQ(session.TransferCounter(), 200);

  app_.options.njb.uploadPause = false;
  session.PauseDevice();
  EXPECT_EQ(session.TransferCounter(), 200);
}

TEST_F(DeviceSessionTest, APlayerThatNeverDisconnectsDoesNotHangThePause) {
  app_.options.njb.uploadPause = true;
  app_.options.njb.uploadPauseTracks = 0;
  app_.options.njb.shutdownTimeout = 2;
  DeviceSession& session = AttachRested({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  player_->SlowDisconnect(1'000'000);
  session.PauseDevice();
  EXPECT_LT(frontend_.Slept(), std::chrono::minutes(3));
}

// The rests are for a Jukebox's hard disk: a player in a folder is never
// disconnected, paused or closed for them, whatever the settings say.
TEST_F(DeviceSessionTest, AFolderPlayerIsNeverRestedWhateverTheSettings) {
  RestEvery100Changes();
  DeviceSession& session = AttachFolder();
  ASSERT_TRUE(session.StartDevice(true));
  const int sleeps = frontend_.Sleeps();
  SendAndPause(session, 250);
  // A disconnect sleeps between its tries, so no sleep means none was made.
  EXPECT_EQ(frontend_.Sleeps(), sleeps);
  EXPECT_TRUE(frontend_.Log("panel1: NJB Pause").empty());
  EXPECT_EQ(Connected(session), 1);
  EXPECT_EQ(session.TransferCounter(), 0);

  // Left open after an operation: no idle timer, not even a close at once.
  host_.calls.clear();
  EXPECT_TRUE(session.StopDevice(false, false));
  app_.options.njb.stopMinutes = 0;
  session.StopCheckBoxClicked();
  EXPECT_TRUE(session.DeviceReady());
  session.IdleTimerExpired();  // a timer that fired all the same
  EXPECT_TRUE(session.DeviceStarted());
  EXPECT_FALSE(session.IdleTimerRunning());
  EXPECT_EQ(std::count_if(host_.calls.begin(), host_.calls.end(),
                          [](const std::string& call) { return call.starts_with("timer ") && call != "timer off"; }),
            0);
  EXPECT_EQ(frontend_.Sleeps(), sleeps);

  // "Stop NJB now" still closes it.
  EXPECT_FALSE(session.StopDevice(true, false));
  EXPECT_FALSE(session.DeviceStarted());
}

TEST_F(DeviceSessionTest, ASimulatedPlayerIsRestedOnlyWhenScriptedTo) {
  RestEvery100Changes();
  DeviceSession& session = Attach({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  player_->ClearCalls();
  const int sleeps = frontend_.Sleeps();
  SendAndPause(session, 250);
  EXPECT_EQ(frontend_.Sleeps(), sleeps);
  EXPECT_TRUE(frontend_.Log("panel1: NJB Pause").empty());
  EXPECT_EQ(CallCount("SetConnected(0)"), 0);
  EXPECT_EQ(session.TransferCounter(), 0);  // changes that need no rest do not count
  EXPECT_TRUE(session.StopDevice(false, false));
  EXPECT_FALSE(session.IdleTimerRunning());
  EXPECT_EQ(CallCount("CloseDevice"), 0);

  // Resting as a Jukebox, the same player pauses every 100 changes from
  // then on and is closed after the idle minutes.
  player_->SetRestPauses(true);
  SendAndPause(session, 250);
  EXPECT_EQ(frontend_.Log("panel1: NJB Pause").size(), 2u);
  EXPECT_EQ(CallCount("SetConnected(0)"), 2);
  EXPECT_EQ(CallCount("SetConnected(1)"), 2);
  EXPECT_EQ(session.TransferCounter(), 250);
  EXPECT_TRUE(session.StopDevice(false, false));
  EXPECT_EQ(host_.calls.back(), "timer 300000");
  session.IdleTimerExpired();
  EXPECT_EQ(CallCount("CloseDevice"), 1);
}

// --- events ---

TEST_F(DeviceSessionTest, PlayerEventsArriveOnlyInsidePumps) {
  DeviceSession& session = Attach({kKindJukebox});
  ASSERT_TRUE(session.StartDevice(true));
  const std::string song = test::WriteMp3(temp_.Path() + "/song.mp3");
  app_.transferToPlayerInProgress = true;
  int id = 0;
  ASSERT_EQ(session.CurrentDevice().SendTrack(song, AudioInfo{}, id), kOk);
  EXPECT_TRUE(app_.transferToPlayerInProgress);  // nothing delivered yet
  session.Pump();
  EXPECT_FALSE(app_.transferToPlayerInProgress);
  EXPECT_EQ(session.LastTransferStatus(), kOk);
  EXPECT_EQ(session.LastSentId(), id);

  // A rejected track ends its transfer with the player's status.
  player_->RejectUntilChanged(song);
  app_.transferToPlayerInProgress = true;
  ASSERT_EQ(session.CurrentDevice().SendTrack(song, AudioInfo{}, id), kOk);
  session.Pump();
  EXPECT_EQ(session.LastTransferStatus(), kFailed);
  test::WriteMp3(song, 30);  // the file changed: now it is taken
  ASSERT_EQ(session.CurrentDevice().SendTrack(song, AudioInfo{}, id), kOk);
  session.Pump();
  EXPECT_EQ(session.LastTransferStatus(), kOk);

  // Removal in the middle of a transfer ends the wait too.
  player_->RemoveDuringNextTransfer();
  app_.transferToPlayerInProgress = app_.transferFromPlayerInProgress = true;
  ASSERT_EQ(session.CurrentDevice().SendTrack(song, AudioInfo{}, id), kOk);
  session.Pump();
  EXPECT_FALSE(app_.transferToPlayerInProgress);
  EXPECT_FALSE(app_.transferFromPlayerInProgress);
}

TEST_F(DeviceSessionTest, PlayerErrorsAreShownExceptThoseTheOperationsReport) {
  DeviceSession& session = Attach({kKindJukebox});
  bool throwException = true;
  session.OnError(7, "Timeout", "The player did not answer", throwException);
  EXPECT_FALSE(throwException);
  for (int quiet : {16, 24, 66, 128, 144, 260}) session.OnError(quiet, "x", "y", throwException);
  EXPECT_EQ(Messages(), std::vector<std::string>{
                            "message(error): Action failed with errorcode JBD-007\r\n\r\nError : Timeout\r\n"
                            "Description : The player did not answer [OK]"});
  session.OnMessage("Re-Building the cache");
  EXPECT_EQ(frontend_.Panel(1), "Building Cache");
}

}  // namespace
}  // namespace tonvault::device
