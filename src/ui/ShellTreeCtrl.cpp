#include "ui/ShellTreeCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOption>
#include <QUrl>
#include <algorithm>

#include "desktop/MessageBoxes.h"
#include "shell/MountTable.h"
#include "shell/ShellFolder.h"
#include "text/UiLanguage.h"

namespace tt {
namespace {

constexpr int kIconCacheSize = 100;
// The code shown when a step fails without a system error number.
constexpr unsigned long kGenericFailure = 0x80004005UL;

// A tree item that owns its record.
class ShellTreeItem : public QTreeWidgetItem {
  public:
    ShellTreeItemData data;
};

QStyle::StandardPixmap FallbackIcon(const QString& name) {
    if (name == QLatin1String("user-home"))
        return QStyle::SP_DirHomeIcon;
    if (name == QLatin1String("computer"))
        return QStyle::SP_ComputerIcon;
    if (name == QLatin1String("network-workgroup") || name == QLatin1String("folder-remote"))
        return QStyle::SP_DriveNetIcon;
    if (name == QLatin1String("drive-removable-media"))
        return QStyle::SP_DriveFDIcon;
    if (name == QLatin1String("drive-harddisk"))
        return QStyle::SP_DriveHDIcon;
    if (name == QLatin1String("folder-open"))
        return QStyle::SP_DirOpenIcon;
    return QStyle::SP_DirClosedIcon;
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

CShellTreeCtrl::CShellTreeCtrl(QWidget* parent,
                               std::shared_ptr<const shell::Environment> environment)
    : QTreeWidget(parent),
      m_environment(environment ? std::move(environment) : shell::Environment::System()) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 16));
    setAccessibleName(QString::fromUtf8(Tr("Folders", "Ordner")));
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    connect(this, &QTreeWidget::itemExpanded, this, &CShellTreeCtrl::HandleItemExpanding);
    connect(this, &QTreeWidget::currentItemChanged, this, &CShellTreeCtrl::FollowSelectedImage);
}

CShellTreeCtrl::~CShellTreeCtrl() = default;

ShellTreeItemData* CShellTreeCtrl::ItemData(QTreeWidgetItem* item) {
    auto* shellItem = dynamic_cast<ShellTreeItem*>(item);
    return shellItem != nullptr ? &shellItem->data : nullptr;
}

QIcon CShellTreeCtrl::ImageAt(int index) const {
    return index >= 0 && index < IconCount() ? m_imageList[static_cast<std::size_t>(index)]
                                             : QIcon();
}

int CShellTreeCtrl::AddIconToCache(const QString& iconName) {
    const auto known = std::find(m_iconKeys.begin(), m_iconKeys.end(), iconName);
    if (known != m_iconKeys.end())
        return static_cast<int>(known - m_iconKeys.begin());
    if (IconCount() >= kIconCacheSize)
        return -1;
    m_imageList.push_back(
        QIcon::fromTheme(iconName, style()->standardIcon(FallbackIcon(iconName))));
    m_iconKeys.push_back(iconName);
    return IconCount() - 1;
}

void CShellTreeCtrl::FollowSelectedImage(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
    if (const ShellTreeItemData* data = ItemData(previous))
        previous->setIcon(0, ImageAt(data->image));
    if (const ShellTreeItemData* data = ItemData(current))
        current->setIcon(0, ImageAt(data->selectedImage));
}

void CShellTreeCtrl::Populate(std::string startPath) {
    clear();
    InsertChildFolders(shell::ShellFolder::Desktop(m_environment), nullptr, nullptr);
    if (topLevelItemCount() > 0)
        setCurrentItem(topLevelItem(0));
    if (!startPath.empty())
        SelectPath(startPath);
}

void CShellTreeCtrl::InsertChildFolders(const std::shared_ptr<shell::ShellFolder>& folder,
                                        const shell::IdList* parentAbsolute,
                                        QTreeWidgetItem* parent) {
    using namespace shell;
    struct Child {
        std::unique_ptr<ShellTreeItem> item;
        bool hasSubfolders;
    };
    std::vector<Child> children;
    for (const IdList& id : folder->EnumObjects()) {
        const std::uint32_t attributes = folder->GetAttributesOf(
            id.data(), kAttrFolder | kAttrHasSubfolder | kAttrFileSystem | kAttrFileSysAncestor);
        if ((attributes & kAttrFolder) == 0 ||
            (attributes & (kAttrHasSubfolder | kAttrFileSystem | kAttrFileSysAncestor)) == 0)
            continue;
        const std::optional<std::string> name =
            folder->GetDisplayNameOf(id.data(), NameKind::normal);
        if (!name)
            break;
        auto item = std::make_unique<ShellTreeItem>();
        item->setText(0, PathFromCore(*name));
        ShellTreeItemData& data = item->data;
        data.parentFolder = folder;
        data.relativeId = CopyItemId(id.data());
        data.absoluteId =
            ConcatIdLists(parentAbsolute != nullptr ? parentAbsolute->data() : nullptr, id.data());
        data.image = AddIconToCache(QString::fromStdString(folder->IconName(id.data(), false)));
        data.selectedImage =
            AddIconToCache(QString::fromStdString(folder->IconName(id.data(), true)));
        item->setIcon(0, ImageAt(data.image));
        item->setChildIndicatorPolicy((attributes & kAttrHasSubfolder) != 0
                                          ? QTreeWidgetItem::ShowIndicator
                                          : QTreeWidgetItem::DontShowIndicator);
        children.push_back({std::move(item), (attributes & kAttrHasSubfolder) != 0});
    }
    // Siblings in the namespace's own order.
    std::sort(children.begin(), children.end(), [&](const Child& a, const Child& b) {
        return folder->CompareIDs(a.item->data.relativeId.data(), b.item->data.relativeId.data()) <
               0;
    });
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(children.size()));
    for (Child& child : children)
        items.append(child.item.release());
    if (parent != nullptr)
        parent->addChildren(items);
    else
        addTopLevelItems(items);
}

void CShellTreeCtrl::HandleItemExpanding(QTreeWidgetItem* item) {
    ShellTreeItemData* data = ItemData(item);
    if (data == nullptr || !data->parentFolder)
        return;
    // Volumes come and go with their media: the virtual folders that list them
    // are read at every expansion, everything else once.
    const bool virtualFolder = data->parentFolder->PathOf(data->relativeId.data()).empty();
    if (data->expandedOnce && !virtualFolder)
        return;
    data->expandedOnce = true;
    // A selection below the item is found again by the IDs leading down to it.
    std::vector<shell::IdList> selectedBelow;
    for (QTreeWidgetItem* below = currentItem(); below != nullptr; below = below->parent()) {
        if (below == item) {
            setCurrentItem(item);  // the old children go; the selection must not follow
            break;
        }
        if (const ShellTreeItemData* belowData = ItemData(below))
            selectedBelow.push_back(belowData->relativeId);
        if (below->parent() == nullptr)
            selectedBelow.clear();  // not below the item
    }
    qDeleteAll(item->takeChildren());
    if (auto folder = data->parentFolder->BindToObject(data->relativeId.data()))
        InsertChildFolders(folder, &data->absoluteId, item);
    item->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
    if (!selectedBelow.empty())
        SelectAgain(item, selectedBelow);
}

void CShellTreeCtrl::SelectAgain(QTreeWidgetItem* item, std::vector<shell::IdList> idsUp) {
    std::vector<QTreeWidgetItem*> opened;
    QTreeWidgetItem* at = item;
    while (at != nullptr && !idsUp.empty()) {
        const shell::IdList id = std::move(idsUp.back());
        idsUp.pop_back();
        if (at != item && !at->isExpanded()) {
            ExpandQuietly(at, true);
            opened.push_back(at);
        }
        QTreeWidgetItem* found = nullptr;
        for (int i = 0; i < at->childCount() && found == nullptr; ++i) {
            const ShellTreeItemData* childData = ItemData(at->child(i));
            if (childData != nullptr && childData->relativeId == id)
                found = at->child(i);
        }
        at = found;
    }
    if (at == nullptr) {
        // Gone (a medium taken out): the branches opened to look stay closed.
        for (auto it = opened.rbegin(); it != opened.rend(); ++it)
            ExpandQuietly(*it, false, false);
        return;
    }
    setCurrentItem(at);
}

bool CShellTreeCtrl::GetSelectedPath(std::string& path) const {
    path.clear();
    const ShellTreeItemData* data = ItemData(currentItem());
    if (data == nullptr || !data->parentFolder || data->relativeId.empty())
        return false;
    path = data->parentFolder->PathOf(data->relativeId.data());
    return true;
}

void CShellTreeCtrl::ExpandQuietly(QTreeWidgetItem* item, bool expand, bool read) {
    if (expand && read)
        HandleItemExpanding(item);
    const QSignalBlocker blocker(this);
    item->setExpanded(expand);
}

bool CShellTreeCtrl::SelectPath(std::string& path) {
    const std::string target = WithoutTrailingSlash(path);
    setUpdatesEnabled(false);
    bool found = false;
    // The home folder itself is found as Home, not deep below the root folder.
    for (int i = 0; i < topLevelItemCount() && !found; ++i) {
        QTreeWidgetItem* item = topLevelItem(i);
        const ShellTreeItemData* data = ItemData(item);
        if (data != nullptr && data->parentFolder->PathOf(data->relativeId.data()) == target) {
            setCurrentItem(item);
            ExpandQuietly(item, true);
            found = true;
        }
    }
    for (int i = 0; i < topLevelItemCount() && !found; ++i)
        found = SelectPathBelow(topLevelItem(i), target);
    setUpdatesEnabled(true);
    if (found)
        scrollToItem(currentItem());
    return found;
}

bool CShellTreeCtrl::SelectPathBelow(QTreeWidgetItem* item, const std::string& path) {
    const bool wasExpanded = item->isExpanded();
    const ShellTreeItemData* itemData = ItemData(item);
    if (itemData != nullptr && !itemData->expandedOnce)
        ExpandQuietly(item, true);
    bool found = false;
    for (int i = 0; i < item->childCount() && !found; ++i) {
        QTreeWidgetItem* child = item->child(i);
        const ShellTreeItemData* data = ItemData(child);
        if (data == nullptr || !data->parentFolder)
            continue;
        const std::string childPath = data->parentFolder->PathOf(data->relativeId.data());
        if (childPath.empty()) {
            found = SelectPathBelow(child, path);  // virtual folders are always searched
        } else if (childPath == path) {
            // The branch above was read by this search: opening it must not read it
            // again (Computer would replace the items just found).
            for (QTreeWidgetItem* up = item; up != nullptr; up = up->parent())
                ExpandQuietly(up, true, false);
            setCurrentItem(child);
            ExpandQuietly(child, true);
            found = true;
        } else if (shell::IsAtOrBelow(path, childPath)) {
            found = SelectPathBelow(child, path);
        }
    }
    if (!found && item->isExpanded() != wasExpanded)
        ExpandQuietly(item, wasExpanded, false);
    return found;
}

void CShellTreeCtrl::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse)
        HandleRightClick(event->pos());
    else
        ShowSelectedItemMenu();
    event->accept();
}

void CShellTreeCtrl::ShowSelectedItemMenu() {
    if (QTreeWidgetItem* item = currentItem())
        ShowContextMenu(item, viewport()->mapToGlobal(visualItemRect(item).center()));
}

void CShellTreeCtrl::keyPressEvent(QKeyEvent* event) {
    // Shift+F10 asks for the context menu as the Menu key does; the window system
    // turns only the Menu key into a context-menu request.
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        ShowSelectedItemMenu();
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

QModelIndex CShellTreeCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    // Left closes an open branch, else goes to the parent. A folder without
    // subfolders is opened when found as the start folder; closing its empty
    // branch would show nothing, so Left goes to the parent there at once.
    QTreeWidgetItem* item = currentItem();
    if (action == MoveLeft && !isRightToLeft() && item != nullptr && item->parent() != nullptr &&
        (!item->isExpanded() || item->childCount() == 0))
        return indexFromItem(item->parent());
    return QTreeWidget::moveCursor(action, modifiers);
}

QTreeWidgetItem* CShellTreeCtrl::ItemInRow(const QPoint& pos) const {
    // Left or right of the item's text counts as its row too.
    const int left = columnViewportPosition(0);
    return itemAt(
        QPoint(std::clamp(pos.x(), left, left + std::max(columnWidth(0), 1) - 1), pos.y()));
}

bool CShellTreeCtrl::OnIconOrLabel(QTreeWidgetItem* item, const QPoint& pos) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualItemRect(item);
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.text = item->text(0);
    option.icon = item->icon(0);
    option.decorationSize = iconSize();
    const QRect icon = style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this);
    const QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    // The text's cell runs to the column's end; the label only as far as its text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int labelEnd =
        text.left() + option.fontMetrics.horizontalAdvance(option.text) + 2 * margin;
    return option.rect.contains(pos) && pos.x() >= std::min(icon.left(), text.left()) &&
           pos.x() < std::min(labelEnd, option.rect.right() + 1);
}

void CShellTreeCtrl::HandleRightClick(const QPoint& pos) {
    // The row's item is selected wherever in the row the click was; the menu
    // opens only on its icon or label. Below the last row the selection goes.
    QTreeWidgetItem* item = ItemInRow(pos);
    setCurrentItem(item);
    if (item == nullptr) {
        clearSelection();
        return;
    }
    if (OnIconOrLabel(item, pos))
        ShowContextMenu(item, viewport()->mapToGlobal(pos));
}

std::vector<shell::Verb> CShellTreeCtrl::CommandsOf(QTreeWidgetItem* item) const {
    const ShellTreeItemData* data = ItemData(item);
    if (data == nullptr || !data->parentFolder)
        return {};
    return shell::VerbsOf(*data->parentFolder, data->relativeId.data());
}

bool CShellTreeCtrl::ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos) {
    const std::vector<shell::Verb> verbs = CommandsOf(item);
    if (verbs.empty()) {
        ShowFailure("GetUIObjectOf failed! hr=%lx", kGenericFailure);
        return false;
    }
    QMenu menu(this);
    for (shell::Verb verb : verbs)
        menu.addAction(QString::fromUtf8(shell::VerbLabel(verb)))->setData(static_cast<int>(verb));
    if (const QAction* chosen = menu.exec(globalPos))
        InvokeCommand(item, static_cast<shell::Verb>(chosen->data().toInt()));
    return true;
}

void CShellTreeCtrl::ShowFailure(const char* format, unsigned long code) {
    ShowWarningBox(this, QString::asprintf(format, code));
}

bool CShellTreeCtrl::InvokeCommand(QTreeWidgetItem* item, shell::Verb verb) {
    using shell::Verb;
    const std::vector<Verb> verbs = CommandsOf(item);
    if (std::find(verbs.begin(), verbs.end(), verb) == verbs.end())
        return false;
    const ShellTreeItemData& data = *ItemData(item);
    const std::string path = data.parentFolder->PathOf(data.relativeId.data());
    int error = 0;
    switch (verb) {
        case Verb::open:
            if (!InvokeOpen(data, path)) {
                ShowFailure("InvokeCommand failed. hr=%lx", kGenericFailure);
                return false;
            }
            return true;
        case Verb::copyPath:
            QApplication::clipboard()->setText(PathFromCore(path));
            return true;
        case Verb::newFolder:
            error = InvokeNewFolder(item, path);
            break;
        case Verb::rename:
            error = InvokeRename(item, path);
            break;
        case Verb::moveToTrash:
            error = shell::MoveFolderToTrash(path);
            if (error == 0)
                RefreshChildren(item->parent(), std::string());
            break;
    }
    if (error != 0) {
        ShowFailure("InvokeCommand failed. hr=%lx", static_cast<unsigned long>(error));
        return false;
    }
    return true;
}

bool CShellTreeCtrl::InvokeOpen(const ShellTreeItemData& data, const std::string& path) {
    // A virtual folder (no path) opens by its parsing name, a real one as a file URL.
    const QUrl url =
        path.empty()
            ? QUrl(QString::fromStdString(
                  data.parentFolder
                      ->GetDisplayNameOf(data.relativeId.data(), shell::NameKind::forParsing)
                      .value_or(std::string())))
            : QUrl::fromLocalFile(PathFromCore(path));
    return QDesktopServices::openUrl(url);
}

std::optional<std::string> CShellTreeCtrl::AskFolderName(shell::Verb verb, const QString& proposed,
                                                         const QString& unchanged) {
    bool ok = false;
    const QString name = QInputDialog::getText(this, QString::fromUtf8(shell::VerbLabel(verb)),
                                               QString::fromUtf8(Tr("Folder name:", "Ordnername:")),
                                               QLineEdit::Normal, proposed, &ok);
    if (!ok || (!unchanged.isNull() && name == unchanged))
        return std::nullopt;
    return PathToCore(name);
}

int CShellTreeCtrl::InvokeNewFolder(QTreeWidgetItem* item, const std::string& path) {
    const auto name =
        AskFolderName(shell::Verb::newFolder, PathFromCore(shell::UnusedFolderName(path)));
    if (!name)
        return 0;
    const int error = shell::CreateFolder(path, *name);
    if (error == 0)
        RefreshChildren(item, path == "/" ? "/" + *name : path + "/" + *name);
    return error;
}

int CShellTreeCtrl::InvokeRename(QTreeWidgetItem* item, const std::string& path) {
    // An unchanged name is left alone: the shown name of a folder whose name is not
    // valid UTF-8 would not give back its bytes.
    const auto name = AskFolderName(shell::Verb::rename, item->text(0), item->text(0));
    if (!name)
        return 0;
    const int error = shell::RenameFolder(path, *name);
    if (error == 0) {
        const std::string folder = path.substr(0, path.rfind('/'));
        RefreshChildren(item->parent(), folder + "/" + *name);
    }
    return error;
}

void CShellTreeCtrl::RefreshChildren(QTreeWidgetItem* parent, const std::string& selectPath) {
    if (parent == nullptr) {
        clear();
        InsertChildFolders(shell::ShellFolder::Desktop(m_environment), nullptr, nullptr);
    } else {
        setCurrentItem(parent);
        ItemData(parent)->expandedOnce = false;
        ExpandQuietly(parent, true);
    }
    QTreeWidgetItem* select = parent != nullptr ? parent : topLevelItem(0);
    const int count = parent != nullptr ? parent->childCount() : topLevelItemCount();
    for (int i = 0; i < count && !selectPath.empty(); ++i) {
        QTreeWidgetItem* child = parent != nullptr ? parent->child(i) : topLevelItem(i);
        const ShellTreeItemData* data = ItemData(child);
        if (data != nullptr && data->parentFolder->PathOf(data->relativeId.data()) == selectPath)
            select = child;
    }
    setCurrentItem(select);
    if (select != nullptr)
        scrollToItem(select);
}

}  // namespace tt
