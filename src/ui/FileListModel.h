#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/FileListCtrl.h"

namespace tt {

// Rows without texts of their own: the display role asks the row-text provider,
// so screen readers and other accessibility tools read the texts that are painted.
// Nothing else asks for texts: the list paints itself from the provider directly.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Sets the provider and the number of text slots; removes every column.
    void SetProvider(int columns, RowTextProvider provider, void* context);
    // Refuses a column beyond the number of text slots.
    bool InsertColumn(int index, const QString& title);
    void Clear();
    void Append(int count);
    // Tells views and accessibility clients that the texts of rows first..last may
    // have changed.
    void TextsChanged(int first, int last);

    // Fills `texts` (sized to the text slots, each emptied first) for one row.
    // Rows carry no texts of their own, so without a provider they stay empty.
    void FillRowTexts(int row, std::vector<std::string>& texts) const;
    // Texts of one row from the provider (empty strings without one).
    QStringList RowTexts(int row) const;

  private:
    int m_rows = 0;
    int m_columns = 0;
    RowTextProvider m_provider = nullptr;
    void* m_context = nullptr;
    QStringList m_titles;
};

}  // namespace tt
