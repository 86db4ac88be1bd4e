// The hints panel: the hints of the last successful assembly, one line each
// as "FILE(LINE): text". A double-click on a line asks for that
// line's listing row.
#pragma once

#include <QListWidget>
#include <vector>

#include "assembler/hints.h"

class TFileNames;

class THintsPanel : public QListWidget {
  Q_OBJECT

 public:
  explicit THintsPanel(QWidget* parent = nullptr);

  // Shows the hints; files gives the file names for their file indices.
  void ShowHints(const std::vector<TAsmHint>& hints, const TFileNames& files);
  // The line as shown, "FILE(LINE): text" (UTF-8 for display).
  static QString HintText(const TAsmHint& hint, const TFileNames& files);

 signals:
  // The expanded source line a chosen hint is about.
  void HintChosen(int lineIndex);
};
