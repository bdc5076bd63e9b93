#include "ui/DlgFixCell.h"

#include "model/AnimeData.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

cDlg_FixCell::cDlg_FixCell(QWidget* owner, std::function<cAnimeData&()> project)
    : cBaseDlg(0, owner), project_(std::move(project))
{
    setObjectName("cDlg_FixCell");
    setWindowTitle(tr("セルと画像を関連付ける"));
    list = new QTableWidget(this);
    list->setColumnCount(2);
    list->setHorizontalHeaderLabels({tr("セルNo"), tr("画像No")});
    list->verticalHeader()->hide();
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    valueSpin = new QSpinBox(this);
    auto* form = new QFormLayout;
    form->addRow(tr("<< 画像番号"), valueSpin);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* update = buttons->addButton(tr("更新"), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("取消"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(valueSpin, &QSpinBox::valueChanged, this, [this](int v) { SetSelectedRows(v); });
    connect(update, &QPushButton::clicked, this, [this] { Update(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

void cDlg_FixCell::OnCreate()
{
    const cAnimeData& p = project_();
    table.Load(p);
    list->clearSelection();
    {
        // A value clamped by the new range is not a choice of the user.
        const QSignalBlocker block(valueSpin);
        valueSpin->setRange(0, HighestPictureNumber(p));
    }
    ShowRows();
}

void cDlg_FixCell::ShowRows()
{
    list->setRowCount(int(table.pictures.size()));
    for (int i = 0; i < list->rowCount(); ++i) {
        list->setItem(i, 0, new QTableWidgetItem(QString::number(i)));
        list->setItem(i, 1, new QTableWidgetItem(QString::number(table.pictures[size_t(i)])));
    }
}

void cDlg_FixCell::SetSelectedRows(int value)
{
    std::set<int> rows;
    for (const QModelIndex& index : list->selectionModel()->selectedRows())
        rows.insert(index.row());
    table.SetRows(std::vector<int>(rows.begin(), rows.end()), value);
    for (int r : rows)
        list->item(r, 1)->setText(QString::number(value));
}

bool cDlg_FixCell::Update()
{
    const bool changed = ApplyFixPictureTable(project_(), table);
    Close(DLG_OK);
    return changed;
}

cDlg_FixCell_S::cDlg_FixCell_S(QWidget* owner, std::function<cAnimeData&()> project)
    : cBaseDlg(0, owner), project_(std::move(project))
{
    setObjectName("cDlg_FixCell_S");
    valueSpin = new QSpinBox(this);
    auto* form = new QFormLayout;
    form->addRow(tr("画像番号"), valueSpin);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(tr("キャンセル"), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { Store(); });
    connect(cancel, &QPushButton::clicked, this, [this] { Close(DLG_CANCEL); });
}

void cDlg_FixCell_S::OnCreate()
{
    const cAnimeData& p = project_();
    setWindowTitle(tr("[%1] セルと画像を固定").arg(cellNo));
    valueSpin->setRange(0, HighestPictureNumber(p));
    valueSpin->setValue(p.GetFixPicture(cellNo));
}

bool cDlg_FixCell_S::Store()
{
    const bool changed = ApplyFixPicture(project_(), cellNo, valueSpin->value());
    Close(DLG_OK);
    return changed;
}
