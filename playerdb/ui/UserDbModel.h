#pragma once
// The list model of the user DB dialog: six read-only columns over the rows
// of CUserDbRows. Every change of the rows goes through here so the view
// hears of it with the proper signals.

#include "playerdb/ui/UserDbRows.h"

#include <QAbstractTableModel>

namespace tabry {

class CUserDbModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit CUserDbModel(QObject* parent = nullptr);

    // Column widths of the list in pixels, in column order.
    static int ColumnWidth(int column);

    CUserDbRows& Rows() { return m_rows; }
    const CUserDbRows& Rows() const { return m_rows; }

    void Load(const CPlayerDatabase& db);
    void Swap(int a, int b);
    void Remove(int row);
    int Append(const UserEditValues& values);
    void Replace(int row, const UserEditValues& values);
    // Sorts by a column (see CUserDbRows::SortByColumn); selections and other
    // persistent indexes follow their rows.
    void SortByColumn(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    CUserDbRows m_rows;
};

} // namespace tabry
