#include "playerdb/ui/UserDbDialog.h"

#include "core/TournamentData.h"
#include "edit/EditTexts.h"
#include "playerdb/ui/UserDbModel.h"
#include "playerdb/ui/UserEditDialog.h"
#include "widgets/FileErrorText.h"
#include "widgets/Prompt.h"
#include "widgets/TextCodec.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

namespace tabry {

namespace {

QString PathQText(const std::filesystem::path& path)
{
#ifdef _WIN32
    return QString::fromStdWString(path.wstring());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

} // namespace

CUserDbDialog::CUserDbDialog(CTournamentEditor& editor, std::filesystem::path dbPath, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_data(editor.Data()), m_dbPath(std::move(dbPath))
{
    setObjectName(QStringLiteral("UserDbDialog"));
    setWindowTitle(QStringLiteral("ユーザDB"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);
    BuildControls();
    m_model->Load(m_data.players);
    UpdateButtons();
}

void CUserDbDialog::BuildControls()
{
    m_model = new CUserDbModel(this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("userList"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false); // the rows sort themselves, see OnColumnClicked
    QHeaderView* header = m_list->header();
    header->setStretchLastSection(false);
    header->setSectionsClickable(true);
    header->setSectionsMovable(false);
    header->setSortIndicatorShown(false);
    for (int c = 0; c < CUserDbRows::kColumnCount; ++c)
        header->resizeSection(c, CUserDbModel::ColumnWidth(c));

    auto makeButton = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    m_up = makeButton(QStringLiteral("上へ"), "up");
    m_down = makeButton(QStringLiteral("下へ"), "down");
    m_edit = makeButton(QStringLiteral("編集"), "edit");
    m_delete = makeButton(QStringLiteral("削除"), "delete");
    m_add = makeButton(QStringLiteral("追加"), "add");
    m_ok = makeButton(QStringLiteral("OK"), "ok");
    m_cancel = makeButton(QStringLiteral("キャンセル"), "cancel");
    m_ok->setDefault(true);

    // The list takes every pixel the dialog gains; the button column keeps
    // its width, so the five list buttons stay at the right edge and OK and
    // Cancel at the bottom right.
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_up, m_down, m_edit, m_delete, m_add})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons, 0);

    int listWidth = 0;
    for (int c = 0; c < CUserDbRows::kColumnCount; ++c)
        listWidth += CUserDbModel::ColumnWidth(c);
    m_list->setMinimumWidth(80);
    resize(listWidth + 2 * m_list->frameWidth() + m_up->sizeHint().width() + 60, 320);

    connect(m_up, &QPushButton::clicked, this, &CUserDbDialog::OnUp);
    connect(m_down, &QPushButton::clicked, this, &CUserDbDialog::OnDown);
    connect(m_edit, &QPushButton::clicked, this, &CUserDbDialog::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CUserDbDialog::OnDelete);
    connect(m_add, &QPushButton::clicked, this, &CUserDbDialog::OnAdd);
    connect(m_ok, &QPushButton::clicked, this, &CUserDbDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CUserDbDialog::reject);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            OnEdit();
    });
    connect(header, &QHeaderView::sectionClicked, this, &CUserDbDialog::OnColumnClicked);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CUserDbDialog::UpdateButtons);
}

int CUserDbDialog::SelectedRow() const
{
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CUserDbDialog::SelectRow(int row)
{
    if (row < 0 || row >= m_model->rowCount()) {
        m_list->selectionModel()->clearSelection();
    } else {
        const QModelIndex index = m_model->index(row, 0);
        m_list->selectionModel()->setCurrentIndex(index,
                                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        m_list->scrollTo(index);
    }
    UpdateButtons();
}

void CUserDbDialog::UpdateButtons()
{
    // With nothing selected only Add has something to act on.
    const int row = SelectedRow();
    const bool selected = row >= 0;
    m_up->setEnabled(selected && row > 0);
    m_down->setEnabled(selected && row < m_model->rowCount() - 1);
    m_edit->setEnabled(selected);
    m_delete->setEnabled(selected && !m_model->Rows().IsUsedByTable(row, m_data.table));
}

void CUserDbDialog::OnUp()
{
    const int row = SelectedRow();
    if (row <= 0)
        return;
    m_model->Swap(row, row - 1);
    SelectRow(row - 1);
}

void CUserDbDialog::OnDown()
{
    const int row = SelectedRow();
    if (row < 0 || row + 1 >= m_model->rowCount())
        return;
    m_model->Swap(row, row + 1);
    SelectRow(row + 1);
}

void CUserDbDialog::OnEdit()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    // The duplicate check reads the database as it was when this dialog
    // opened, which is still what m_data.players holds.
    CUserEditDialog dialog(m_data.players, m_model->Rows().EditValues(row), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_model->Replace(row, dialog.Values());
    SelectRow(row);
}

void CUserDbDialog::OnDelete()
{
    const int row = SelectedRow();
    if (row < 0)
        return;
    const CUserDbRows& rows = m_model->Rows();
    if (rows.IsUsedByTable(row, m_data.table)) {
        EditRefusal refusal;
        refusal.code = RefusalCode::RebuildDropsPlayer;
        refusal.record = rows.Row(row).origin;
        ui::Prompt().Error(this, ui::ToQString(RefusalText(refusal, m_data)));
        return;
    }
    m_model->Remove(row);
    SelectRow(row < m_model->rowCount() ? row : -1);
}

void CUserDbDialog::OnAdd()
{
    CUserEditDialog dialog(m_data.players, UserEditValues{}, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    SelectRow(m_model->Append(dialog.Values()));
}

void CUserDbDialog::OnColumnClicked(int column)
{
    m_model->SortByColumn(column);
    const int row = SelectedRow();
    if (row >= 0)
        m_list->scrollTo(m_model->index(row, 0));
    UpdateButtons();
}

void CUserDbDialog::accept()
{
    const ChangeEffects fx = m_editor.RebuildPlayers(m_model->Rows().RebuildList(), &m_result);
    if (fx.refusal) {
        // The dialog keeps such a person (its delete button is grayed), so
        // this is a list the dialog should not have made; nothing changed.
        ui::Prompt().Error(this, ui::ToQString(RefusalText(fx.refusal, m_data)));
        return;
    }
    FileError reason;
    m_saved = m_data.players.Save(m_dbPath, 1, &reason) == 0;
    if (m_saved) {
        // Every record, including people added earlier in this run, is in
        // the file now.
        m_editor.MarkPlayersSaved();
    } else {
        // The rebuilt database stays in memory; flag it so the save at exit
        // tries again rather than dropping the organiser's changes.
        m_editor.MarkPlayersUnsaved();
        ui::Prompt().Error(this, QStringLiteral("ユーザDB「%1」を保存できませんでした。\n%2")
                                     .arg(PathQText(m_dbPath), ui::FileProblemText(reason)));
    }
    QDialog::accept();
}

} // namespace tabry
