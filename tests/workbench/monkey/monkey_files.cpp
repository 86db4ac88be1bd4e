#include "monkey_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <iterator>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(bytes);
}

QByteArray RandomBytes(std::mt19937& random, int count) {
  QByteArray bytes;
  bytes.reserve(count);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int i = 0; i < count; ++i)
    bytes.append(static_cast<char>(byte(random)));
  return bytes;
}

template <typename T>
const T& Choose(std::mt19937& random, const QList<T>& list) {
  std::uniform_int_distribution<qsizetype> index(0, list.size() - 1);
  return list[index(random)];
}

}  // namespace

TMonkeyFiles::TMonkeyFiles(const QString& scratch, const QString& sourceFolder)
    : scratch_(scratch), sourceFolder_(sourceFolder) {
  QDir().mkpath(scratch_);
}

void TMonkeyFiles::MakeBrokenFiles(std::mt19937& random) {
  const QDir dir(scratch_);
  auto add = [&](const QString& name, const QByteArray& bytes) {
    WriteBytes(dir.filePath(name), bytes);
    broken_ << dir.filePath(name);
  };
  add(QStringLiteral("junk.qasm"), RandomBytes(random, 4096));
  add(QStringLiteral("junk_lines.qasm"), RandomBytes(random, 300).replace('\0', '\n'));
  add(QStringLiteral("empty.qasm"), QByteArray());
  add(QStringLiteral("missing_include.qasm"),
      QByteArrayLiteral("\tINCLUDE no_such_file.qasm\r\nSTART:\tJP START\r\n"));
  add(QStringLiteral("self_include.qasm"),
      QByteArrayLiteral("\tINCLUDE self_include.qasm\r\n\tHALT\r\n"));
  add(QStringLiteral("fake_state.qsav"),
      QByteArrayLiteral("QRXBIN   1\r\n") + RandomBytes(random, 200));
  add(QStringLiteral("junk.qsav"), RandomBytes(random, 1024));
  dir.mkpath(QStringLiteral("a_folder.qasm"));
  broken_ << dir.filePath(QStringLiteral("a_folder.qasm"));
  broken_ << dir.filePath(QStringLiteral("does_not_exist.qasm"));
}

QStringList TMonkeyFiles::Matching(const QString& folder, const QStringList& patterns) const {
  QStringList paths;
  const QDir dir(folder);
  for (const QString& name : dir.entryList(patterns, QDir::Files, QDir::Name))
    paths << dir.filePath(name);
  return paths;
}

QString TMonkeyFiles::TruncatedStateFile(std::mt19937& random) {
  QStringList states = Matching(scratch_, {QStringLiteral("saved_*.qsav")});
  states += Matching(sourceFolder_, {QStringLiteral("*.qsav")});
  if (states.isEmpty()) return {};
  QFile source(Choose(random, states));
  if (!source.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = source.readAll();
  std::uniform_int_distribution<qsizetype> length(0, bytes.size());
  const QString path =
      QDir(scratch_).filePath(QStringLiteral("truncated_%1.qsav").arg(truncations_++ % 8));
  WriteBytes(path, bytes.left(length(random)));
  return path;
}

QString TMonkeyFiles::Pick(std::mt19937& random) {
  std::uniform_int_distribution<int> kind(0, 99);
  const int k = kind(random);
  if (k < 15 && !broken_.isEmpty()) return Choose(random, broken_);
  if (k < 25) {
    const QString truncated = TruncatedStateFile(random);
    if (!truncated.isEmpty()) return truncated;
  }
  if (k < 35) {
    const QStringList states = Matching(scratch_, {QStringLiteral("saved_*.qsav")});
    if (!states.isEmpty()) return Choose(random, states);
  }
  const QStringList samples = Matching(sourceFolder_, {QStringLiteral("*.qasm")});
  if (samples.isEmpty()) return Choose(random, broken_);
  return Choose(random, samples);
}

QString TMonkeyFiles::EditSource(std::mt19937& random) {
  if (pristine_.isEmpty()) {
    for (const QString& path : Matching(sourceFolder_, {QStringLiteral("*.qasm")})) {
      QFile file(path);
      if (file.open(QIODevice::ReadOnly)) pristine_.insert(path, file.readAll());
    }
  }
  if (pristine_.isEmpty()) return QStringLiteral("no source to edit");
  const QStringList paths = pristine_.keys();
  const QString path = Choose(random, paths);
  QFile current(path);
  QByteArray bytes = current.open(QIODevice::ReadOnly) ? current.readAll() : pristine_[path];
  current.close();
  static const char* const kLines[] = {
      "\tHALT\r\n",         "LOOP:\tJP LOOP\r\n",          "\tLD A, B, C, D\r\n",
      "\tDW 'abc',0\r\n",   "\tINCLUDE lib_math.qasm\r\n", "X\tEQU X\r\n",
      "\tCALL NOWHERE\r\n", "\t\x82\xa0\x82\xa2\r\n"};
  switch (std::uniform_int_distribution<int>(0, 5)(random)) {
    case 0:
      bytes = pristine_[path];
      WriteBytes(path, bytes);
      return QStringLiteral("restore %1").arg(path);
    case 1: {
      const char* line =
          kLines[std::uniform_int_distribution<size_t>(0, std::size(kLines) - 1)(random)];
      const qsizetype at =
          bytes.indexOf('\n', std::uniform_int_distribution<qsizetype>(0, bytes.size())(random));
      bytes.insert(at < 0 ? bytes.size() : at + 1, line);
      WriteBytes(path, bytes);
      return QStringLiteral("add \"%1\" to %2").arg(QString::fromLatin1(line).trimmed(), path);
    }
    case 2:
      bytes.truncate(std::uniform_int_distribution<qsizetype>(0, bytes.size())(random));
      WriteBytes(path, bytes);
      return QStringLiteral("cut %1 to %2 bytes").arg(path).arg(bytes.size());
    case 3:
      WriteBytes(path, RandomBytes(random, 200));
      return QStringLiteral("junk into %1").arg(path);
    case 4:
      QFile::remove(path);
      return QStringLiteral("remove %1").arg(path);
    default:
      WriteBytes(path, pristine_[path]);
      return QStringLiteral("restore %1").arg(path);
  }
}

QString TMonkeyFiles::SavePath(std::mt19937& random, const QString& suffix) const {
  std::uniform_int_distribution<int> slot(0, 3);
  return QDir(scratch_).filePath(QStringLiteral("saved_%1.%2").arg(slot(random)).arg(suffix));
}
