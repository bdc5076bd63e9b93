#include "ui/DlgGameDataList.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

QTreeWidgetItem* addRow(QTreeWidget* list, int id, const QString& name, const QString& frames, bool choosable)
{
    auto* item = new QTreeWidgetItem(list, {QString::number(id), name, frames});
    item->setData(0, Qt::UserRole, id);
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    if (!choosable)
        item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
    return item;
}

} // namespace

cDlg_GameDataList::cDlg_GameDataList(QWidget* parent, const std::vector<strDataEntry>& entries, int nextFreeId,
                                     int selected)
    : QDialog(parent)
{
    setObjectName("cDlg_GameDataList");
    setWindowTitle(nextFreeId > 0 ? tr("書き出すアニメーションを選ぶ") : tr("開くアニメーションを選ぶ"));
    auto* layout = new QVBoxLayout(this);
    list = new QTreeWidget(this);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({tr("ID"), tr("名前"), tr("フレーム数")});
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);

    // Preselected: the given ID, else the new row when writing, else the first entry.
    QTreeWidgetItem *first = nullptr, *wanted = nullptr;
    for (const strDataEntry& e : entries) {
        QString name = fromUtf8(e.name);
        if (!e.editable)
            name += tr(" (編集できません)");
        QTreeWidgetItem* item = addRow(list, e.id, name, QString::number(e.frames), e.editable);
        if (!e.editable)
            continue;
        if (!first)
            first = item;
        if (e.id == selected)
            wanted = item;
    }
    if (nextFreeId > 0) {
        first = addRow(list, nextFreeId, tr("(新しいアニメーション)"), QString(), true);
        if (nextFreeId == selected)
            wanted = first;
    }
    QTreeWidgetItem* current = wanted ? wanted : first;
    if (current) {
        list->setCurrentItem(current);
        list->scrollToItem(current);
    }
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->resizeColumnToContents(0);
    resize(420, 360); // fits over the main window at its default size

    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(current != nullptr);
    connect(list, &QTreeWidget::currentItemChanged, this, [ok](QTreeWidgetItem* item) { ok->setEnabled(item); });
    connect(list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        if (item && (item->flags() & Qt::ItemIsEnabled))
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int cDlg_GameDataList::ChosenId() const
{
    const QTreeWidgetItem* item = list->currentItem();
    return item && (item->flags() & Qt::ItemIsEnabled) ? item->data(0, Qt::UserRole).toInt() : 0;
}
