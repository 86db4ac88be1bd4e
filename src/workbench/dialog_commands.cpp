#include "workbench/dialog_commands.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QUrl>
#include <algorithm>

#include "assembler/qrx_assembler.h"
#include "persistence/encoding.h"
#include "session/program_session.h"
#include "workbench/about_box.h"
#include "workbench/dialog_placement.h"
#include "workbench/edit_file_select.h"
#include "workbench/editor_launch.h"
#include "workbench/listing_view.h"
#include "workbench/main_window.h"
#include "workbench/unit_select.h"
#include "workbench/view_commands.h"

namespace {

// The point sizes the display font may take.
constexpr int kSmallestFontPoints = 9;
constexpr int kLargestFontPoints = 12;

}  // namespace

TDialogCommands::TDialogCommands(TMainWindow& form) : QObject(&form), form_(form) {}

void TDialogCommands::CreateDialogs() {
  if (aboutBox_ != nullptr) return;
  aboutBox_ = new TAboutBox(form_.MainFont(), &form_);
  editFileSelect_ = new TEditFileSelect(form_.Session().Files(), form_.MainFont(), &form_);
  unitSelect_ = new TUnitDialog(&form_);
}

int TDialogCommands::ExecModal(QDialog& dialog) {
  if (modalHook_) return modalHook_(dialog);
  return dialog.exec();
}

void TDialogCommands::ShowErrorBox(const QString& text) {
  if (errorBoxHook_) {
    errorBoxHook_(text);
    return;
  }
  QMessageBox::critical(&form_, QStringLiteral("QRX Emulator"), text, QMessageBox::Ok);
}

void TDialogCommands::UnitsClick() {
  CreateDialogs();
  TUnitDialog& dialog = *unitSelect_;
  dialog.move(CentredOn(form_.frameGeometry(), dialog.size()));
  TQRXAssembler& assembler = form_.Session().Assembler();
  // Entry 0 is the top level and is never offered.
  std::vector<std::string> names;
  dialog.ClearUnits();
  for (int u = 1; u < assembler.Units().Count(); ++u) {
    names.push_back(assembler.UnitNameAt(u));
    dialog.AddUnit(QString::fromStdString(Cp932ToUtf8(names.back())),
                   assembler.Units().EntryMark(u) == 1);
  }
  if (ExecModal(dialog) != QDialog::Accepted) return;

  // Item k shows entry k + 1. The table only grows and stays sorted, so a
  // reload while the dialog was open may have moved a unit: each item finds
  // its unit by name.
  for (int k = 0; k < dialog.UnitCount() && k < static_cast<int>(names.size()); ++k) {
    int index = k + 1;
    if (assembler.UnitNameAt(index) != names[static_cast<size_t>(k)]) {
      index = -1;
      for (int u = 1; u < assembler.Units().Count(); ++u)
        if (assembler.UnitNameAt(u) == names[static_cast<size_t>(k)]) index = u;
    }
    assembler.SetUnitVisible(index, dialog.IsTicked(k));
  }
  assembler.BuildListing();
  form_.ListingView()->SetRows(&assembler.Listing());
  form_.Views().RebuildLabelList();
  form_.ListingView()->SetSelectedRow(0);
}

void TDialogCommands::HelpClick() {
  const QUrl url = QUrl::fromLocalFile(form_.Folders().HelpFile);
  if (!QFileInfo::exists(form_.Folders().HelpFile)) {
    ShowErrorBox(QStringLiteral("ヘルプファイルが見つかりません: ") + form_.Folders().HelpFile);
    return;
  }
  const bool opened = urlOpenerHook_ ? urlOpenerHook_(url) : QDesktopServices::openUrl(url);
  // The desktop's "open" (xdg-open here) is what was tried.
  if (!opened)
    ShowErrorBox(QStringLiteral("ヘルプを開けませんでした。\n試したコマンド: xdg-open ") +
                 QuotedEditorPath(form_.Folders().HelpFile));
}

void TDialogCommands::FontSettingsClick() {
  // Qt knows no vector (plotter) fonts, so every font it lists, scalable
  // or not, may be chosen; the size is held to 9 to 12 points.
  QFontDialog dialog(form_.MainFont(), &form_);
  if (ExecModal(dialog) != QDialog::Accepted) return;
  QFont font = dialog.currentFont();
  const int points = font.pointSize() > 0 ? font.pointSize() : kSmallestFontPoints;
  font.setPointSize(std::clamp(points, kSmallestFontPoints, kLargestFontPoints));
  // For as long as the program runs; the settings keep their own font.
  form_.SetMainFont(font);
}

void TDialogCommands::AboutClick() {
  CreateDialogs();
  aboutBox_->move(CentredOn(form_.frameGeometry(), aboutBox_->size()));
  ExecModal(*aboutBox_);
}
