#include "playerdb/ui/UserDbModel.h"

#include "widgets/TextCodec.h"

#include <algorithm>
#include <array>

namespace tabry {

namespace {

struct ColumnInfo {
    const char16_t* title;
    int width;
};

constexpr std::array<ColumnInfo, CUserDbRows::kColumnCount> kColumns = {{
    {u"氏名", 82},
    {u"短縮名", 48},
    {u"段級位", 48},
    {u"居住地", 48},
    {u"会員番号", 64},
    {u"入力", 112},
}};

} // namespace

CUserDbModel::CUserDbModel(QObject* parent) : QAbstractTableModel(parent)
{
}

int CUserDbModel::ColumnWidth(int column)
{
    return column >= 0 && column < CUserDbRows::kColumnCount ? kColumns[static_cast<size_t>(column)].width : 0;
}

void CUserDbModel::Load(const CPlayerDatabase& db)
{
    beginResetModel();
    m_rows.LoadFrom(db);
    endResetModel();
}

void CUserDbModel::Swap(int a, int b)
{
    if (a == b || a < 0 || b < 0 || a >= m_rows.Count() || b >= m_rows.Count())
        return;
    m_rows.Swap(a, b);
    const int top = std::min(a, b);
    const int bottom = std::max(a, b);
    emit dataChanged(index(top, 0), index(bottom, CUserDbRows::kColumnCount - 1));
}

void CUserDbModel::Remove(int row)
{
    if (row < 0 || row >= m_rows.Count())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.Remove(row);
    endRemoveRows();
}

int CUserDbModel::Append(const UserEditValues& values)
{
    const int row = m_rows.Count();
    beginInsertRows(QModelIndex(), row, row);
    m_rows.Append(values);
    endInsertRows();
    return row;
}

void CUserDbModel::Replace(int row, const UserEditValues& values)
{
    if (row < 0 || row >= m_rows.Count())
        return;
    m_rows.Replace(row, values);
    emit dataChanged(index(row, 0), index(row, CUserDbRows::kColumnCount - 1));
}

void CUserDbModel::SortByColumn(int column)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    const std::vector<int> newPosition = m_rows.SortByColumn(column);
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(newPosition[static_cast<size_t>(i.row())], i.column());
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int CUserDbModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.Count();
}

int CUserDbModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : CUserDbRows::kColumnCount;
}

QVariant CUserDbModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    return ui::ToQString(m_rows.Text(index.row(), index.column()));
}

QVariant CUserDbModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= CUserDbRows::kColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    return QString::fromUtf16(kColumns[static_cast<size_t>(section)].title);
}

} // namespace tabry
