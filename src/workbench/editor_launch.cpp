#include "workbench/editor_launch.h"

#include <QProcess>

QString ReplaceEditorPlaceholders(const QString& text, const QString& fileText,
                                  const QString& lineText, bool* foundFile) {
  QString result;
  result.reserve(text.size());
  bool found = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QLatin1Char('%') && i + 1 < text.size()) {
      const QChar next = text[i + 1].toUpper();
      if (next == QLatin1Char('F')) {
        result += fileText;
        found = true;
        ++i;
        continue;
      }
      if (next == QLatin1Char('L')) {
        result += lineText;
        ++i;
        continue;
      }
    }
    result += text[i];
  }
  if (foundFile != nullptr) *foundFile = found;
  return result;
}

QString QuotedEditorPath(const QString& path) {
  QString quoted = path;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

TEditorLaunch BuildEditorLaunch(const QString& command, const QString& path, int line) {
  TEditorLaunch launch;
  const QString lineText = QString::number(line);

  bool textHasFile = false;
  launch.CommandLine =
      ReplaceEditorPlaceholders(command, QuotedEditorPath(path), lineText, &textHasFile);
  if (!textHasFile) launch.CommandLine += QLatin1Char(' ') + QuotedEditorPath(path);

  QStringList words = QProcess::splitCommand(command);
  bool anyFile = false;
  for (QString& word : words) {
    bool hasFile = false;
    word = ReplaceEditorPlaceholders(word, path, lineText, &hasFile);
    anyFile = anyFile || hasFile;
  }
  // A command without words names no program; the file itself is never
  // started in its place.
  if (words.isEmpty()) return launch;
  if (!anyFile) words << path;
  launch.Program = words.takeFirst();
  launch.Arguments = words;
  return launch;
}

bool StartEditor(const TEditorLaunch& launch) {
  if (launch.Program.isEmpty()) return false;
  return QProcess::startDetached(launch.Program, launch.Arguments);
}
