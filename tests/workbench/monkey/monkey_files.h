// The files the monkey opens: the samples as the first start copied them,
// state files the workbench saved, and broken files made for the purpose
// (truncated state files, binary junk named .qasm, a source whose include
// is missing, an empty file, a folder and a missing name).
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <random>

class TMonkeyFiles {
 public:
  // scratch: a folder of the run's own; sourceFolder: where the samples lie.
  TMonkeyFiles(const QString& scratch, const QString& sourceFolder);

  // Writes the fixed broken files into the scratch folder.
  void MakeBrokenFiles(std::mt19937& random);
  // A file to open, chosen with random: mostly samples, sometimes a broken
  // file or a freshly truncated copy of a state file.
  QString Pick(std::mt19937& random);
  // Changes a source in the source folder as an editor would (a line
  // added, the file cut short, junk, the file removed or put back as it
  // was); returns what it did.
  QString EditSource(std::mt19937& random);
  // A path to save a state or input log to, inside the scratch folder.
  QString SavePath(std::mt19937& random, const QString& suffix) const;

 private:
  QStringList Matching(const QString& folder, const QStringList& patterns) const;
  QString TruncatedStateFile(std::mt19937& random);

  QString scratch_;
  QString sourceFolder_;
  QStringList broken_;
  int truncations_ = 0;
  // The sources as they were before the first edit, by path.
  QMap<QString, QByteArray> pristine_;
};
