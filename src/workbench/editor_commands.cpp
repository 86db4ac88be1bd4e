#include "workbench/editor_commands.h"

#include <QInputDialog>
#include <QLabel>

#include "assembler/qrx_assembler.h"
#include "session/program_session.h"
#include "workbench/dialog_commands.h"
#include "workbench/dialog_placement.h"
#include "workbench/edit_file_select.h"
#include "workbench/editor_launch.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/navigation.h"

namespace {

// The number of source-tag items of a line that came from a macro
// expansion: the macro's file index and line come before the call's.
constexpr int kPlainTagItems = 3;

}  // namespace

TEditorCommands::TEditorCommands(TMainWindow& form) : QObject(&form), form_(form) {}

void TEditorCommands::RunEditor(const std::string& path, int line) {
  const TEditorLaunch launch = BuildEditorLaunch(command_, QString::fromStdString(path), line);
  if (launchHook_) {
    launchHook_(launch);
    return;
  }
  if (!StartEditor(launch))
    form_.Dialogs().ShowErrorBox(
        QStringLiteral("エディタを起動できませんでした。\n試したコマンド: ") + launch.CommandLine);
}

void TEditorCommands::EditSourceClick() {
  TDialogCommands& dialogs = form_.Dialogs();
  dialogs.CreateDialogs();
  TEditFileSelect& dialog = *dialogs.EditFileSelect();
  dialog.move(CentredOn(form_.frameGeometry(), dialog.size()));
  dialog.setWindowTitle(QStringLiteral("ソースの編集"));
  dialog.Prompt()->setText(QStringLiteral("編集するファイルを選択して下さい"));
  dialog.FillFromFileSet();
  if (dialogs.ExecModal(dialog) != QDialog::Accepted) return;
  const TFileNames& files = form_.Session().Files();
  // The paths are taken before any editor starts; item k shows entry k + 1.
  std::vector<std::string> paths;
  for (int k : dialog.SelectedItems())
    if (k + 1 < files.Count()) paths.push_back(files[k + 1]);
  for (const std::string& path : paths)
    RunEditor(path, 0);
}

void TEditorCommands::EditRowSourceClick() {
  const TAsmLine* line = form_.Navigator().SelectedLine();
  if (line == nullptr) return;
  // Rows without a source tag (include start markers) name no file.
  const int file = line->TagFileIndex();
  const TFileNames& files = form_.Session().Files();
  if (file < 0 || file >= files.Count()) return;
  RunEditor(files[file], line->TagLineNumber());
}

void TEditorCommands::EditRowMacroSourceClick() {
  const TAsmLine* line = form_.Navigator().SelectedLine();
  if (line == nullptr) return;
  const int count = line->TagCount();
  if (count <= kPlainTagItems) return;
  const int file = line->TagItem(count - 4);
  const TFileNames& files = form_.Session().Files();
  if (file < 0 || file >= files.Count()) return;
  RunEditor(files[file], line->TagItem(count - 3));
}

void TEditorCommands::EditorSettingsClick() {
  QInputDialog dialog(&form_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(QStringLiteral("エディタの設定"));
  dialog.setLabelText(QStringLiteral("エディタへのパスを入力して下さい\n%F:ファイル名 %L:行番号"));
  dialog.setTextValue(command_);
  // An empty command is taken as it is.
  if (form_.Dialogs().ExecModal(dialog) == QDialog::Accepted) command_ = dialog.textValue();
}
