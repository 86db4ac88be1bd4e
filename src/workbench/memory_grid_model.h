// The table behind the memory grid: 4096 rows of 16 words, the whole memory.
// Nothing is cached: every text is read from the machine when the grid asks
// for it, so a repaint always shows memory as it is now. The header texts
// (the column's word offset, the row's first address) follow the number
// format at the moment they are asked for as well.
//
// The model keeps the text last typed into each cell, as the editor's
// starting text; drawing never uses it.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <cstdint>

class TViewHost;

class TMemoryGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 16;
  static constexpr int kRows = 4096;

  explicit TMemoryGridModel(TViewHost& host, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  // DisplayRole: the word as the number format shows it; EditRole: the text
  // last typed into the cell (empty when none); TextAlignmentRole: right,
  // vertically centred.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // EditRole keeps the typed text; memory itself is written while typing.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Horizontal: the word offset 0..F (hexadecimal) or 0..15; vertical: the
  // row's first address as an address. Centred.
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  static uint16_t AddressOf(const QModelIndex& index) {
    return static_cast<uint16_t>(index.row() * kColumns + index.column());
  }
  QModelIndex IndexOf(uint16_t address) const {
    return index(address / kColumns, address % kColumns);
  }

  // Drops every typed text.
  void ClearTypedTexts() { typed_.clear(); }

 private:
  TViewHost& host_;
  QHash<int, QString> typed_;
};
