// Starting the user's editor on a source file.
//
// The editor command is a line of text with two placeholders, recognised in
// any letter case: "%F" for the file and "%L" for the line number. Two forms
// are built from it:
//  - the command line as text, where the path is written in double quotes
//    (double quotes inside it doubled): "%F" becomes the quoted path, or the
//    quoted path is appended after a blank when the command has no "%F";
//    "%L" becomes the line number;
//  - the program and its arguments that are actually started: the command is
//    split into words (QProcess::splitCommand), "%F" and "%L" are replaced
//    inside every word, and the path becomes one more word when no word held
//    "%F". The first word is the program; it is started directly, never
//    through a shell, so no file name can run a command.
// The path is inserted as it stands: a "%L" or "%F" inside the path itself
// is never taken for a placeholder.
#pragma once

#include <QString>
#include <QStringList>

struct TEditorLaunch {
  // The command line as text (for messages and for the record).
  QString CommandLine;
  // What is started; an empty Program starts nothing.
  QString Program;
  QStringList Arguments;
};

// Replaces every "%F" (any case) by fileText and every "%L" by lineText in
// one pass over text, so nothing inserted is scanned again. foundFile, when
// given, is set to whether a "%F" was met.
QString ReplaceEditorPlaceholders(const QString& text, const QString& fileText,
                                  const QString& lineText, bool* foundFile = nullptr);

// The path in double quotes, with every double quote inside it doubled.
QString QuotedEditorPath(const QString& path);

// Both forms for the command, the file and the line. A command without any
// word gives an empty Program.
TEditorLaunch BuildEditorLaunch(const QString& command, const QString& path, int line);

// Starts the program detached, with the arguments; the workbench does not
// wait for it. Returns whether it started (callers report nothing).
bool StartEditor(const TEditorLaunch& launch);
