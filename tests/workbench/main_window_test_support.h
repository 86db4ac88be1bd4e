// A main window in a sandbox: temporary APPDATA, USERPROFILE and sample
// folders set before the window is created, error boxes and the open dialog
// recorded instead of shown, and small helpers to write sources and read
// the settings file back.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <initializer_list>
#include <memory>
#include <string>

#include "assembler/qrx_assembler.h"
#include "monitor_qt/screen_thread.h"
#include "persistence/encoding.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/editor_commands.h"
#include "workbench/file_commands.h"
#include "workbench/label_view.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/memory_view.h"
#include "workbench/message_line.h"
#include "workbench/run_commands.h"
#include "workbench/view_commands.h"

inline constexpr int kWindowWait = 5000;

class TWindowRig {
 public:
  TWindowRig() {
    QDir root(dir_.path());
    root.mkpath(QStringLiteral("appdata"));
    root.mkpath(QStringLiteral("profile"));
    root.mkpath(QStringLiteral("samples"));
    root.mkpath(QStringLiteral("src"));
    qputenv("APPDATA", AppData().toUtf8());
    qputenv("USERPROFILE", Profile().toUtf8());
  }
  ~TWindowRig() { Destroy(); }

  QString Root() const { return dir_.path(); }
  QString AppData() const { return dir_.filePath(QStringLiteral("appdata")); }
  QString Profile() const { return dir_.filePath(QStringLiteral("profile")); }
  QString Samples() const { return dir_.filePath(QStringLiteral("samples")); }
  QString SettingsFolder() const { return AppData() + QStringLiteral("/QRXEmulator"); }
  QString IniPath() const { return SettingsFolder() + QStringLiteral("/QRX.INI"); }
  QString SourceFolder() const {
    return Profile() + QStringLiteral("/My Documents/QRXソースファイル");
  }

  // Creates the window (not shown) with the given command-line arguments;
  // the boxes and the dialog are recorded.
  TMainWindow& Create(const QStringList& arguments = {}) {
    Destroy();
    TStartOptions options;
    options.ProgramFolder = Root();
    options.SampleFolder = Samples();
    options.Arguments = arguments;
    form = std::make_unique<TMainWindow>(options);
    form->Dialogs().SetErrorBoxHook([this](const QString& text) { boxes << text; });
    form->FileCommands().SetOpenDialogHook([this](const QString& start, const QString& filter) {
      dialogStarts << start;
      dialogFilters << filter;
      return dialogAnswer;
    });
    return *form;
  }
  // Creates the window and shows it, waiting until the monitor exists.
  TMainWindow& CreateShown(const QStringList& arguments = {}) {
    TMainWindow& window = Create(arguments);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qWarning("window not exposed");
    WaitForMonitor();
    return window;
  }
  void WaitForMonitor() {
    QElapsedTimer timer;
    timer.start();
    while (form->Screen().Monitor() == nullptr && timer.elapsed() < kWindowWait)
      QTest::qWait(10);
  }
  void Destroy() { form.reset(); }

  // Writes a source (lines joined with CR LF, UTF-8) into the rig's source
  // folder and returns its path.
  QString WriteSource(const QString& name, const QStringList& lines) {
    return WriteBytes(name, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
  }
  QString WriteBytes(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(QStringLiteral("src/") + name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
    return path;
  }

  // A key of the settings file as text ("" when absent).
  QString Ini(const QString& key) const {
    const QSettings ini(IniPath(), QSettings::IniFormat);
    return ini.value(key).toString();
  }
  bool IniHas(const QString& key) const {
    const QSettings ini(IniPath(), QSettings::IniFormat);
    return ini.contains(key);
  }
  void SetIni(const QString& key, const QVariant& value) {
    QDir().mkpath(SettingsFolder());
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.setValue(key, value);
    ini.sync();
  }

  // The message line as shown.
  QString Message() const { return form->MessageLine()->text(); }
  bool Alarm() const { return form->MessageLine()->IsAlarm(); }

  std::unique_ptr<TMainWindow> form;
  QStringList boxes;
  QStringList dialogStarts;
  QStringList dialogFilters;
  QString dialogAnswer;

 private:
  QTemporaryDir dir_;
};

// UTF-8 text of a CP932 string.
inline QString Text(const std::string& cp932) {
  return QString::fromStdString(Cp932ToUtf8(cp932));
}

// The listing row whose label is name, or -1.
inline int RowOfLabel(TMainWindow& form, const std::string& name) {
  const TListingRows& rows = form.Session().Assembler().Listing();
  for (int r = 0; r < rows.Count(); ++r)
    if (rows.Ref(r) != nullptr && rows.Ref(r)->LabelName == name) return r;
  return -1;
}

// Source lines written as UTF-8 literals.
inline QStringList Lines(std::initializer_list<const char*> lines) {
  QStringList list;
  for (const char* line : lines)
    list << QString::fromUtf8(line);
  return list;
}

// The keys of the label view's rows.
inline QStringList LabelKeys(TMainWindow& form) {
  QStringList keys;
  const TLabelViewRows& rows = form.LabelRows().Rows();
  for (int r = 0; r < rows.Count(); ++r)
    keys << Text(rows[r]);
  return keys;
}

// The filter captions a file dialog lists, as the user sees them.
inline QStringList ShownFilterCaptions(const QFileDialog& dialog) {
  QStringList captions;
  if (const auto* box = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
    for (int i = 0; i < box->count(); ++i)
      captions << box->itemText(i);
  return captions;
}

// A file dialog's name field (nullptr when the dialog has none).
inline QLineEdit* NameField(const QFileDialog& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}
