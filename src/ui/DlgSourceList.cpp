#include "ui/DlgSourceList.h"

#include "edit/ListClip.h"
#include "model/AnimeData.h"
#include "platform/Feedback.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "project/Settings.h"
#include "render/SpriteDrawer.h"
#include "ui/DlgControls.h"
#include "ui/DlgEffect.h"
#include "ui/DlgPicture.h"
#include "ui/Language.h"
#include "ui/MissingPictures.h"
#include "view/CommandTable.h"
#include "view/ListWindow.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QColor>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

/** A table whose texts are asked for when drawn. */
class cListTableModel : public QAbstractTableModel {
public:
    cListTableModel(QObject* parent, int headerId, std::function<int()> rows, std::function<std::string(int, int)> text)
        : QAbstractTableModel(parent), rows_(std::move(rows)), text_(std::move(text))
    {
        for (const std::string& h : platform::StringItems(headerId))
            headers_.push_back(FromUtf8(h));
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : rows_(); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(headers_.size()); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        if (role == Qt::DisplayRole)
            return FromUtf8(text_(index.row(), index.column()));
        // A row with a problem (a picture that cannot be shown) is red and says why.
        if (role != Qt::ForegroundRole && role != Qt::ToolTipRole && role != Qt::DecorationRole)
            return {};
        const std::string why = problem ? problem(index.row()) : std::string();
        if (why.empty())
            return {};
        if (role == Qt::ForegroundRole)
            return QColor(Qt::red);
        if (role == Qt::DecorationRole)
            return index.column() == 1 ? QVariant(qApp->style()->standardIcon(QStyle::SP_MessageBoxWarning))
                                       : QVariant();
        return FromUtf8(why);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section >= int(headers_.size()))
            return {};
        return headers_[size_t(section)];
    }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }

    /** Why a row cannot be used (UTF-8); empty when it can. */
    std::function<std::string(int)> problem;

private:
    std::function<int()> rows_;
    std::function<std::string(int, int)> text_;
    std::vector<QString> headers_;
};

namespace {

constexpr int kReloadPicture = 40002; // "再読込(&R)" of the picture table's menu

QTableView* makeTable(QWidget* parent, cListTableModel* model)
{
    auto* t = new QTableView(parent);
    t->setModel(model);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setShowGrid(true);
    t->verticalHeader()->hide();
    t->verticalHeader()->setDefaultSectionSize(18);
    t->horizontalHeader()->setStretchLastSection(true);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setContextMenuPolicy(Qt::DefaultContextMenu);
    t->setAcceptDrops(true);
    t->viewport()->setAcceptDrops(true);
    return t;
}

std::string modelPathOf(const QUrl& url)
{
    return paths::FromDiskPath(std::filesystem::path(url.toLocalFile().toStdString()));
}

} // namespace

cDlg_SourceList::cDlg_SourceList(QWidget* owner, std::function<cAnimeData&()> project, iStatusSink& status,
                                 cDlg_SetPicture& pictureDlg, cDlg_SetEffect& effectDlg)
    : cBaseDlg(DLG_MODELESS | DLG_HIDE_ON_CLOSE, owner), project_(std::move(project)), status_(status),
      pictureDlg_(pictureDlg), effectDlg_(effectDlg)
{
    setObjectName("cDlg_SourceList");
    setWindowTitle(tr("リスト"));
    setWindowFlag(Qt::Tool);
    tabs = new QTabWidget(this);
    const std::vector<std::string> names = platform::StringItems(40023);
    pictureModel_ = new cListTableModel(
        this, 40026, [this] { return PictureRowCount(project_()); },
        [this](int r, int c) { return PictureCellText(project_(), r, c); });
    effectModel_ = new cListTableModel(
        this, 40027, [this] { return EffectRowCount(project_()); },
        [this](int r, int c) { return EffectCellText(project_(), r, c); });
    pictureModel_->problem = [this](int row) { return MissingPictureText(project_(), row); };
    pictureTable = makeTable(this, pictureModel_);
    effectTable = makeTable(this, effectModel_);
    const int pictureWidths[] = {32, 110, 48, 36};
    for (int c = 0; c < 4; ++c)
        pictureTable->setColumnWidth(c, pictureWidths[c]);
    // The flash column fits its longest text: scope, blend, colour, strength and duration.
    const int flashWidth =
        effectTable->fontMetrics().horizontalAdvance(tr("[対象消去,スクリーン](255,255,255,255)@255")) + 12;
    const int effectWidths[] = {32, 90, 72, std::max(150, flashWidth)};
    for (int c = 0; c < 4; ++c)
        effectTable->setColumnWidth(c, effectWidths[c]);
    tabs->addTab(pictureTable, FromUtf8(names.size() > 0 ? names[0] : ""));
    tabs->addTab(effectTable, FromUtf8(names.size() > 1 ? names[1] : ""));
    // The timeline lives below the canvas, so the third tab of the names is not shown.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);

    for (QTableView* t : {pictureTable, effectTable}) {
        t->installEventFilter(this);
        t->viewport()->installEventFilter(this);
    }
    connect(pictureTable, &QTableView::doubleClicked, this, [this] { TableCommand(kPicturePage, IDM_CELL_DIALOG); });
    connect(effectTable, &QTableView::doubleClicked, this, [this] { TableCommand(kEffectPage, IDM_CELL_DIALOG); });
    connect(pictureTable->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid() && onPictureFocus)
                    onPictureFocus(current.row());
            });
}

QTableView* cDlg_SourceList::Table(int page) const
{
    return page == kPicturePage ? pictureTable : page == kEffectPage ? effectTable : nullptr;
}

void cDlg_SourceList::RefreshTables()
{
    const int pictureRow = CurrentRow(kPicturePage), effectRow = CurrentRow(kEffectPage);
    pictureModel_->Reset();
    effectModel_->Reset();
    SelectRow(kPicturePage, std::min(pictureRow, pictureModel_->rowCount({}) - 1));
    SelectRow(kEffectPage, std::min(effectRow, effectModel_->rowCount({}) - 1));
}

int cDlg_SourceList::CurrentRow(int page) const
{
    const QTableView* t = Table(page);
    return t && t->currentIndex().isValid() ? t->currentIndex().row() : -1;
}

void cDlg_SourceList::SelectRow(int page, int row)
{
    QTableView* t = Table(page);
    if (!t || row < 0)
        return;
    t->setCurrentIndex(t->model()->index(row, 0));
    t->selectRow(row);
}

int cDlg_SourceList::FocusedTable() const
{
    // Commands reach a table only while the list window is the active one.
    if (!isActiveWindow())
        return -1;
    const QWidget* focus = focusWidget();
    if (focus == pictureTable)
        return kPicturePage;
    if (focus == effectTable)
        return kEffectPage;
    return -1;
}

bool cDlg_SourceList::OnTableCommand(int id)
{
    const int page = FocusedTable();
    return page >= 0 && TableCommand(page, id);
}

void cDlg_SourceList::PictureChanged(int slot)
{
    pictureModel_->Reset();
    SelectRow(kPicturePage, slot);
    if (onPictureChanged)
        onPictureChanged(slot);
}

bool cDlg_SourceList::TableCommand(int page, int id)
{
    cAnimeData& p = project_();
    const int row = CurrentRow(page);
    if (page == kPicturePage) {
        // The slot's sheet follows the entry after a clipboard command.
        auto changed = [&](bool done) {
            if (!done)
                return;
            SyncPictureSheet(p, row, SpriteDrawer());
            PictureChanged(row);
        };
        switch (id) {
        case IDM_CELL_DIALOG:
            if (row >= 0)
                EditPicture(row);
            return true;
        case kReloadPicture:
            if (ReloadPicture(p, row, SpriteDrawer(), status_))
                PictureChanged(row);
            return true;
        case IDM_CUT: changed(PictureCut(p, row, status_)); return true;
        case IDM_COPY: PictureCopy(p, row, status_); return true;
        case IDM_PASTE: changed(PicturePaste(p, row, status_)); return true;
        case IDM_DELETE: changed(PictureDelete(p, row, status_)); return true;
        default: return false;
        }
    }
    if (page == kEffectPage) {
        switch (id) {
        case IDM_CELL_DIALOG:
            if (row >= 0)
                EditEffect(row);
            return true;
        case IDM_NEW_CELL: { // 40209 "追加(&I)"
            const int slot = FirstEmptyEffectSlot(p);
            if (slot >= 0)
                EditEffect(slot);
            return true;
        }
        case IDM_CUT:
            if (EffectCut(p, row, status_))
                RefreshTables();
            return true;
        case IDM_COPY: EffectCopy(p, row, status_); return true;
        case IDM_PASTE: {
            const int at = EffectPaste(p, row, status_);
            if (at >= 0) {
                effectModel_->Reset();
                SelectRow(kEffectPage, at);
            }
            return true;
        }
        case IDM_DELETE:
            if (EffectDelete(p, row, status_))
                RefreshTables();
            return true;
        default: return false;
        }
    }
    return false;
}

bool cDlg_SourceList::EditPicture(int slot, const std::string& droppedPath)
{
    cAnimeData& p = project_();
    if (slot < 0 || slot >= p.PictureCapacity())
        return false;
    strPicture copy = PictureForSlot(p, slot, EditOptionsOf(Settings()));
    if (!droppedPath.empty())
        copy.path = DroppedFilePath(p, droppedPath);
    if (pictureDlg_.Edit(&copy, slot) != DLG_OK)
        return false;
    StorePicture(project_(), slot, copy, SpriteDrawer(), status_);
    PictureChanged(slot);
    return true;
}

bool cDlg_SourceList::EditEffect(int row, const std::string& droppedPath)
{
    cAnimeData& p = project_();
    if (row < 0 || row >= p.EffectCapacity())
        return false;
    strEffect copy = EffectForSlot(p, row);
    if (!droppedPath.empty()) {
        copy.seName = DroppedFilePath(p, droppedPath);
        copy.flags |= EF_SOUND;
    }
    if (effectDlg_.Edit(&copy, row) != DLG_OK)
        return false;
    const int at = StoreEffect(project_(), row, copy);
    effectModel_->Reset();
    SelectRow(kEffectPage, at);
    return true;
}

bool cDlg_SourceList::DropOnTable(int page, const std::string& modelPath)
{
    if (page == kPicturePage) {
        const int slot = FirstEmptyPictureSlot(project_());
        return slot >= 0 && EditPicture(slot, modelPath);
    }
    if (page == kEffectPage) {
        const int slot = FirstEmptyEffectSlot(project_());
        return slot >= 0 && EditEffect(slot, modelPath);
    }
    return false;
}

void cDlg_SourceList::ShowMenu(int page, const QPoint& global)
{
    QMenu menu(this);
    for (const strMenuEntry& e : PopupMenu(page == kPicturePage ? "MENU_IMAGELIST" : "MENU_EFFECTLIST")) {
        if (e.id == 0) {
            menu.addSeparator();
            continue;
        }
        const int id = e.id;
        QAction* a = menu.addAction(MenuLabel(e.text));
        connect(a, &QAction::triggered, this, [this, page, id] { TableCommand(page, id); });
    }
    menu.exec(global);
}

bool cDlg_SourceList::eventFilter(QObject* watched, QEvent* event)
{
    const int page = (watched == pictureTable || watched == pictureTable->viewport()) ? kPicturePage
                     : (watched == effectTable || watched == effectTable->viewport()) ? kEffectPage
                                                                                      : -1;
    if (page < 0)
        return cBaseDlg::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ContextMenu: ShowMenu(page, static_cast<QContextMenuEvent*>(event)->globalPos()); return true;
    case QEvent::DragEnter:
        if (static_cast<QDragEnterEvent*>(event)->mimeData()->hasUrls()) {
            static_cast<QDragEnterEvent*>(event)->acceptProposedAction();
            return true;
        }
        break;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QList<QUrl> urls = drop->mimeData()->urls();
        if (!urls.isEmpty() && urls.first().isLocalFile()) {
            drop->acceptProposedAction();
            DropOnTable(page, modelPathOf(urls.first()));
        }
        return true;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        int id = 0;
        if (ctrl && key->key() == Qt::Key_X)
            id = IDM_CUT;
        else if (ctrl && key->key() == Qt::Key_C)
            id = IDM_COPY;
        else if (ctrl && key->key() == Qt::Key_V)
            id = IDM_PASTE;
        else if (!ctrl && key->key() == Qt::Key_Delete)
            id = IDM_DELETE;
        else if (!ctrl && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter))
            id = IDM_CELL_DIALOG;
        if (id && TableCommand(page, id))
            return true;
        break;
    }
    default: break;
    }
    return cBaseDlg::eventFilter(watched, event);
}
