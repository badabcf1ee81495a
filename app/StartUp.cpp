#include "app/StartUp.h"

#include <QApplication>
#include <QMessageBox>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "core/encoding.h"
#include "core/error_texts.h"
#include "core/failure.h"
#include "core/paths.h"
#include "platform/platform.h"
#include "ui/UfrmMain.h"
#include "vellumine_version.h"

namespace {

// The engine's own switches for running without its sandbox.
bool SandboxTurnedOff() {
  return qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") ||
         qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QLatin1String("--no-sandbox"));
}

// The browser engine's sandbox refuses to run with administrator rights and would leave every
// page blank; say so instead of showing a window that cannot work.
void EnsureBrowserEngineCanStart() {
  if (platform::RunningAsRoot() && !SandboxTurnedOff()) {
    core::RaiseFailure(
        "SandboxUnavailableError",
        u"The browser engine's sandbox cannot run as root. Run Vellumine as a normal user, or set "
        u"QTWEBENGINE_DISABLE_SANDBOX=1 to run it without the sandbox");
  }
}

void ShowFatalBox(const std::u16string& text) {
  std::cerr << core::EncodeLossless(text) << std::flush;
#ifdef _WIN32
  platform::ShowFatalBox(std::u16string(core::kFatalBoxCaption), text);
#else
  QMessageBox box(QMessageBox::Critical,
                  QString::fromStdU16String(std::u16string(core::kFatalBoxCaption)),
                  QString::fromStdU16String(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
#endif
}

// The fatal box's text: the failure's kind, the executable's file name, where it was raised.
std::u16string FatalText(const std::exception_ptr& failure) {
  const core::FailureReport report = core::DescribeFailure(failure);
  const std::u16string executable = platform::ExecutablePath();
  return core::FatalBoxText(core::DecodeLossless(report.kindName),
                            core::FileNamePart(platform::kPathStyle, executable),
                            platform::OffsetInExecutable(report.site), report.message);
}

}  // namespace

void EndProcessSoonAfterTheEventLoop() {
  // Once the window has closed, the process ends with status 0 within this time, whatever the
  // browser engine's threads are doing while they shut down (one may wait on a file that never
  // answers).
  static constexpr std::chrono::milliseconds kDeadline(1500);
  QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] {
    std::thread([] {
      std::this_thread::sleep_for(kDeadline);
      std::fflush(nullptr);
      std::_Exit(0);
    }).detach();
  });
}

int AnswerRequest(core::Request request) {
  const std::u16string answer = request == core::Request::Help
                                    ? std::u16string(core::UsageText())
                                    : core::VersionText(u"" VELLUMINE_VERSION);
  return platform::WriteStandardOutput(answer) ? 0 : 1;
}

int RunApplication(std::future<core::ArgumentFolder> firstArgument) {
  try {
    EnsureBrowserEngineCanStart();
    frmMain = new TfrmMain(std::move(firstArgument));
  } catch (...) {
    ShowFatalBox(FatalText(std::current_exception()));
    return 1;
  }
  frmMain->show();
  const int status = QApplication::exec();
  delete frmMain;
  frmMain = nullptr;
  return status;
}
