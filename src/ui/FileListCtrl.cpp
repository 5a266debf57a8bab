#include "ui/FileListCtrl.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <algorithm>

#include "ui/FileListModel.h"

namespace tt {

CFileListCtrl::CFileListCtrl(QWidget* parent)
    : QTreeView(parent), m_model(new FileListModel(this)) {
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFileListCtrl::itemChanged);
}

CFileListCtrl::~CFileListCtrl() = default;

bool CFileListCtrl::Configure(int columns, RowTextProvider provider, void* context, int /*inset*/,
                              bool /*columnLines*/, bool /*rowLines*/) {
    m_model->SetProvider(columns, provider, context);
    return true;
}

void CFileListCtrl::ClearConfiguration() {
    m_model->SetProvider(0, nullptr, nullptr);
}

bool CFileListCtrl::InsertColumn(int index, const QString& title, int width) {
    if (!m_model->InsertColumn(index, title))
        return false;
    header()->resizeSection(index, width);
    return true;
}

int CFileListCtrl::GetItemCount() const {
    return m_model->rowCount();
}

int CFileListCtrl::GetSelectedCount() const {
    return static_cast<int>(selectionModel()->selectedRows().size());
}

std::vector<std::int32_t> CFileListCtrl::GetSelectedItems() const {
    std::vector<std::int32_t> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CFileListCtrl::GetSelectedItems(int maxCount, int* indices) const {
    const auto rows = GetSelectedItems();
    const int count = std::min(maxCount, static_cast<int>(rows.size()));
    std::copy_n(rows.begin(), count, indices);
    return count;
}

void CFileListCtrl::SelectAllItems() {
    selectAll();
}

void CFileListCtrl::DeselectAllItems() {
    clearSelection();
}

bool CFileListCtrl::DeselectItem(int item) {
    if (item < 0 || item >= GetItemCount())
        return false;
    selectionModel()->select(m_model->index(item, 0),
                             QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return true;
}

void CFileListCtrl::DeleteAllItems() {
    m_model->Clear();
}

void CFileListCtrl::AppendItems(int count) {
    m_model->Append(count);
}

void CFileListCtrl::RedrawItems() {
    m_model->RedrawAll();
    viewport()->update();
}

}  // namespace tt
