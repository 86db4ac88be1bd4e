#include "workbench/memory_grid_model.h"

#include "machine/machine.h"
#include "session/program_session.h"
#include "workbench/view_host.h"

TMemoryGridModel::TMemoryGridModel(TViewHost& host, QObject* parent)
    : QAbstractTableModel(parent), host_(host) {}

int TMemoryGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kRows;
}

int TMemoryGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QVariant TMemoryGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= kRows || index.column() >= kColumns) return QVariant();
  const uint16_t address = AddressOf(index);
  switch (role) {
    case Qt::DisplayRole: {
      const uint16_t word = host_.Session().Machine().ReadWord(address);
      return QString::fromStdString(FormatNumber(word, false, host_.NumberFormat()));
    }
    case Qt::EditRole:
      return typed_.value(address);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    default:
      return QVariant();
  }
}

bool TMemoryGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  typed_.insert(AddressOf(index), value.toString());
  return true;
}

Qt::ItemFlags TMemoryGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TMemoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
  if (role != Qt::DisplayRole || section < 0) return QVariant();
  if (orientation == Qt::Horizontal) {
    if (section >= kColumns) return QVariant();
    if (host_.NumberFormat() == TNumberFormat::Hexadecimal)
      return QString::number(section, 16).toUpper();
    return QString::number(section);
  }
  if (section >= kRows) return QVariant();
  const auto address = static_cast<uint16_t>(section * kColumns);
  return QString::fromStdString(FormatNumber(address, true, host_.NumberFormat()));
}
