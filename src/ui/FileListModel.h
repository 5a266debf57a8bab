#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <cstdint>

#include "ui/FileListCtrl.h"

namespace tt {

// Rows without texts of their own: the display role asks the row-text provider,
// so screen readers and views read the same texts that are painted.
class FileListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetProvider(int columns, RowTextProvider provider, void* context);
    bool InsertColumn(int index, const QString& title);
    void Clear();
    void Append(int count);
    void RedrawAll();

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
