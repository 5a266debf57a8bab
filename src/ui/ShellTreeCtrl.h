#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/ContextVerbs.h"
#include "shell/IdList.h"

namespace tt {

namespace shell {
class ShellFolder;
struct Environment;
}  // namespace shell

// What each tree item stands for: the folder that holds it, its ID there and its
// ID from the desktop. The item owns its record; deleting the item releases it.
struct ShellTreeItemData {
    std::shared_ptr<shell::ShellFolder> parentFolder;
    shell::IdList relativeId;
    shell::IdList absoluteId;
    int image = -1;          // index in the icon cache, or -1
    int selectedImage = -1;  // the same while the item is selected
    bool expandedOnce = false;
};

// The folder tree of the folder picker: the namespace below the desktop (Home,
// Computer, Network, the desktop's folders) and below each item its subfolders,
// read on first expansion. Computer and Network are read again at every
// expansion, since volumes come and go with their media; a selection below them
// stays where it was when its folder is still there.
class CShellTreeCtrl : public QTreeWidget {
    Q_OBJECT

  public:
    // `environment` null: this machine and user.
    explicit CShellTreeCtrl(QWidget* parent = nullptr,
                            std::shared_ptr<const shell::Environment> environment = nullptr);
    ~CShellTreeCtrl() override;

    // Fills the top level, selects its first item and then `startPath` when found.
    void Populate(std::string startPath);
    // The selected item's file-system path, empty for a virtual folder; false when
    // nothing usable is selected.
    bool GetSelectedPath(std::string& path) const;
    // Finds, reveals and selects the item of a file-system path. Branches opened
    // by the search without success are closed again.
    bool SelectPath(std::string& path);

    // Reads the item's children on its first expansion (Computer and Network: on
    // every expansion).
    void HandleItemExpanding(QTreeWidgetItem* item);
    // Selects the item in the row at `pos` (viewport coordinates) and, when `pos`
    // is on its icon or label, shows its context menu; off any row, the selection
    // is removed.
    void HandleRightClick(const QPoint& pos);

    // Carries out a context-menu command on the item. False when it failed (the
    // user has been told) or the item has no such command.
    bool InvokeCommand(QTreeWidgetItem* item, shell::Verb verb);
    // The commands the item's context menu offers.
    std::vector<shell::Verb> CommandsOf(QTreeWidgetItem* item) const;

    static ShellTreeItemData* ItemData(QTreeWidgetItem* item);
    // The number of distinct icons held (at most 100).
    int IconCount() const { return static_cast<int>(m_imageList.size()); }
    // The icon of an image index; null for -1.
    QIcon ImageAt(int index) const;
    // Icon of a freedesktop icon name, from the cache: the index of its image, or
    // -1 when the cache is full.
    int AddIconToCache(const QString& iconName);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

  private:
    void InsertChildFolders(const std::shared_ptr<shell::ShellFolder>& folder,
                            const shell::IdList* parentAbsolute, QTreeWidgetItem* parent);
    bool SelectPathBelow(QTreeWidgetItem* item, const std::string& path);
    bool ShowContextMenu(QTreeWidgetItem* item, const QPoint& globalPos);
    // The context menu asked for from the keyboard: the selected item's, at the item.
    void ShowSelectedItemMenu();
    // Opens or closes the item without notifying; `read`: read its children first
    // as a user's expansion would.
    void ExpandQuietly(QTreeWidgetItem* item, bool expand, bool read = true);
    // Reads the children of `parent` (the top level for null) again and selects the
    // child at `selectPath`, else `parent`.
    void RefreshChildren(QTreeWidgetItem* parent, const std::string& selectPath);
    // Selects the item below `item` reached by these relative IDs, the last one
    // first below `item`; leaves the selection on `item` when it is gone.
    void SelectAgain(QTreeWidgetItem* item, std::vector<shell::IdList> idsUp);
    QTreeWidgetItem* ItemInRow(const QPoint& pos) const;
    bool OnIconOrLabel(QTreeWidgetItem* item, const QPoint& pos);
    void ShowFailure(const char* format, unsigned long code);
    // The verbs of InvokeCommand that do more than one step. Open: false when the
    // desktop could not open the folder. New folder and rename: the error of the
    // step (0 also when the user cancels the name).
    bool InvokeOpen(const ShellTreeItemData& data, const std::string& path);
    int InvokeNewFolder(QTreeWidgetItem* item, const std::string& path);
    int InvokeRename(QTreeWidgetItem* item, const std::string& path);
    // Asks for a folder name in the dialog of `verb`, offering `proposed`: nothing
    // when the user cancels or (with `unchanged` given) keeps that name.
    std::optional<std::string> AskFolderName(shell::Verb verb, const QString& proposed,
                                             const QString& unchanged = QString());
    void FollowSelectedImage(QTreeWidgetItem* current, QTreeWidgetItem* previous);

    std::shared_ptr<const shell::Environment> m_environment;
    std::vector<QIcon> m_imageList;   // the cached icons, by image index
    std::vector<QString> m_iconKeys;  // the icon name of each image
};

}  // namespace tt
