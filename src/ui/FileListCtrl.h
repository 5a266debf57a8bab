#pragma once

#include <QTreeView>
#include <cstdint>
#include <string>
#include <vector>

class QAbstractItemModel;

namespace tt {

// Supplies the texts of one row: row index, the row's item data, the column
// count, `columns` strings to fill (each empty on entry, UTF-8), and the context
// given to Configure. The result is ignored.
using RowTextProvider = bool (*)(int row, std::intptr_t itemData, int columns, std::string* texts,
                                 void* context);

class FileListModel;

// The list of old and new file names. Rows carry no text of their own: every
// paint asks the row-text provider. Multiple selection as a standard list has it.
class CFileListCtrl : public QTreeView {
    Q_OBJECT

  public:
    explicit CFileListCtrl(QWidget* parent = nullptr);
    ~CFileListCtrl() override;

    bool Configure(int columns, RowTextProvider provider, void* context, int inset,
                   bool columnLines, bool rowLines);
    void ClearConfiguration();
    // Adds column `index` with its title and width in pixels; false on failure.
    bool InsertColumn(int index, const QString& title, int width);

    int GetItemCount() const;
    int GetSelectedCount() const;
    // Up to maxCount indices of selected rows in row order; returns how many.
    int GetSelectedItems(int maxCount, int* indices) const;
    std::vector<std::int32_t> GetSelectedItems() const;
    void SelectAllItems();
    void DeselectAllItems();
    // Clears the row's selected and focused state; false for a row outside the list.
    bool DeselectItem(int item);

    void DeleteAllItems();
    void AppendItems(int count);
    // Repaints the rows shown (texts are asked again).
    void RedrawItems();

  signals:
    // The selection or state of an item changed.
    void itemChanged();

  private:
    FileListModel* m_model;  // owned through Qt's parent
};

}  // namespace tt
