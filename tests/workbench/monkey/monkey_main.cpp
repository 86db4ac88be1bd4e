// The monkey test of the workbench: the real main window under a real
// display (Xvfb), driven by a seeded random sequence of input for a number
// of seconds. It passes when the program is still answering at the end,
// closes normally and leaves a settings file that reads back; the
// sanitizers of the build report anything else.
//
//   qrx_monkey [--seed N] [--seconds S] [--scratch DIR]
//
// MONKEY_SEED and MONKEY_SECONDS give the defaults. The seed is printed
// first: the same seed gives the same sequence of choices. Every setting
// and file lives in the scratch folder (a temporary one by default).
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <thread>

#include "monkey_driver.h"
#include "monkey_files.h"
#include "workbench/application_setup.h"
#include "workbench/dialog_commands.h"
#include "workbench/editor_commands.h"
#include "workbench/editor_launch.h"
#include "workbench/file_commands.h"
#include "workbench/main_window.h"

namespace {

struct TMonkeyOptions {
  uint32_t Seed = 0;
  int Seconds = 60;
  QString Scratch;
};

TMonkeyOptions ReadOptions(int argc, char* argv[]) {
  TMonkeyOptions options;
  const QByteArray seed = qgetenv("MONKEY_SEED");
  options.Seed =
      seed.isEmpty() ? std::random_device{}() : static_cast<uint32_t>(seed.toULongLong());
  const QByteArray seconds = qgetenv("MONKEY_SECONDS");
  if (!seconds.isEmpty()) options.Seconds = seconds.toInt();
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--seed")
      options.Seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    if (name == "--seconds") options.Seconds = std::atoi(argv[i + 1]);
    if (name == "--scratch") options.Scratch = QString::fromLocal8Bit(argv[i + 1]);
  }
  return options;
}

// Points every folder the program could write settings or files to at the
// scratch folder, before Qt reads any of them.
void UseScratchHome(const QString& scratch) {
  QDir root(scratch);
  for (const char* sub : {"home", "config", "appdata", "profile", "data", "cache", "runtime"})
    root.mkpath(sub);
  qputenv("HOME", root.filePath("home").toUtf8());
  qputenv("XDG_CONFIG_HOME", root.filePath("config").toUtf8());
  qputenv("XDG_DATA_HOME", root.filePath("data").toUtf8());
  qputenv("XDG_CACHE_HOME", root.filePath("cache").toUtf8());
  qputenv("XDG_RUNTIME_DIR", root.filePath("runtime").toUtf8());
  QFile::setPermissions(root.filePath("runtime"),
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("APPDATA", root.filePath("appdata").toUtf8());
  qputenv("USERPROFILE", root.filePath("profile").toUtf8());
}

// Watches the GUI thread from outside: every few seconds it posts a queued
// call and fails the run when no answer comes within the limit, or when the
// whole run overstays.
class TWatchdog {
 public:
  TWatchdog(QObject& receiver, TMonkeyDriver& driver, int limitSeconds, int totalSeconds)
      : receiver_(receiver), driver_(driver), limit_(limitSeconds), total_(totalSeconds) {
    thread_ = std::thread([this] { Watch(); });
  }
  ~TWatchdog() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
  }

 private:
  void Watch() {
    using namespace std::chrono;
    const auto start = steady_clock::now();
    std::unique_lock lock(mutex_);
    while (!stop_) {
      auto answered = std::make_shared<std::atomic<bool>>(false);
      QMetaObject::invokeMethod(
          &receiver_, [answered] { answered->store(true); }, Qt::QueuedConnection);
      const auto asked = steady_clock::now();
      while (!stop_ && !answered->load() && steady_clock::now() - asked < seconds(limit_))
        wake_.wait_for(lock, milliseconds(200));
      if (stop_) return;
      if (!answered->load()) Fail("no answer to a queued call", asked - start);
      if (steady_clock::now() - start > seconds(total_))
        Fail("the run overstayed", steady_clock::now() - start);
      wake_.wait_for(lock, seconds(2));
    }
  }
  [[noreturn]] void Fail(const char* what, std::chrono::steady_clock::duration at) {
    std::fprintf(
        stderr, "monkey: FAILED: %s (at %lld s); last action count %lld\n", what,
        static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(at).count()),
        static_cast<long long>(driver_.ActionCount()));
    for (const QString& line : driver_.RecentActions())
      std::fprintf(stderr, "  %s\n", qPrintable(line));
    std::fflush(stderr);
    std::_Exit(3);
  }

  QObject& receiver_;
  TMonkeyDriver& driver_;
  const int limit_;
  const int total_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stop_ = false;
  std::thread thread_;
};

bool SettingsReadBack(const QString& path) {
  if (!QFileInfo::exists(path)) {
    std::fprintf(stderr, "monkey: the settings file %s is missing\n", qPrintable(path));
    return false;
  }
  QSettings settings(path, QSettings::IniFormat);
  const bool ok = settings.status() == QSettings::NoError &&
                  settings.childGroups().contains("MAINFORM") &&
                  settings.childGroups().contains("OPTION");
  if (!ok)
    std::fprintf(stderr, "monkey: the settings file %s does not read back\n", qPrintable(path));
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  const TMonkeyOptions options = ReadOptions(argc, argv);
  std::printf("monkey seed %u (%d s); replay with --seed %u\n", options.Seed, options.Seconds,
              options.Seed);
  std::fflush(stdout);

  QTemporaryDir temporary;
  const QString scratch = options.Scratch.isEmpty() ? temporary.path() : options.Scratch;
  UseScratchHome(scratch);

  QApplication app(argc, argv);
  // Qt's own dialogs, never a desktop's: the monkey answers them with input.
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  PrepareApplication(app);

  bool alive = false;
  bool settingsOk = false;
  {
    TStartOptions start;
    start.ProgramFolder = QDir(scratch).filePath("program");
    start.SampleFolder = QStringLiteral(QRX_SAMPLE_DIR);
    TMainWindow form(start);
    form.Dialogs().CreateDialogs();
    // No editor and no browser is started; everything else is the real thing.
    form.Editor().SetEditorLaunchHook([](const TEditorLaunch&) {});
    form.Dialogs().SetUrlOpenerHook([](const QUrl&) { return true; });

    std::mt19937 fileRandom(options.Seed ^ 0x9e3779b9u);
    TMonkeyFiles files(QDir(scratch).filePath("files"), form.Folders().SourceFolder);
    files.MakeBrokenFiles(fileRandom);
    form.FileCommands().SetOpenDialogHook(
        [&](const QString&, const QString&) { return files.Pick(fileRandom); });

    EndWhenClosed(form);
    form.show();
    TMonkeyDriver driver(form, files, options.Seed, options.Seconds);
    driver.Start([&](bool answered) {
      alive = answered;
      // The end as a user ends it: the file menu's quit item. A window the
      // monkey shrank to a few pixels has no room for the menu titles, so
      // the user first makes it larger.
      form.resize(800, 600);
      QCoreApplication::processEvents();
      QMenuBar* bar = form.menuBar();
      QMenu* file = form.Menus().File;
      QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                        bar->actionGeometry(file->menuAction()).center());
      if (file->isVisible())
        QTest::mouseClick(file, Qt::LeftButton, Qt::NoModifier,
                          file->actionGeometry(form.Menus().Quit).center());
      if (form.isVisible()) {
        std::fprintf(stderr, "monkey: the quit item did not close the window\n");
        alive = false;
        form.close();
      }
    });
    {
      TWatchdog watchdog(driver, driver, 30, options.Seconds + 240);
      QApplication::exec();
    }
    if (!alive) {
      std::fprintf(stderr, "monkey: last actions:\n");
      for (const QString& line : driver.RecentActions())
        std::fprintf(stderr, "  %s\n", qPrintable(line));
    }
    settingsOk = SettingsReadBack(form.Folders().SettingsFile);
  }
  const bool passed = alive && settingsOk;
  if (!passed && options.Scratch.isEmpty()) {
    // The files and settings of a failed run stay for a look.
    temporary.setAutoRemove(false);
    std::fprintf(stderr, "monkey: scratch folder kept: %s\n", qPrintable(scratch));
  }
  std::printf("monkey seed %u: %s\n", options.Seed, passed ? "passed" : "FAILED");
  return passed ? 0 : 1;
}
