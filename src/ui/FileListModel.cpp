#include "ui/FileListModel.h"

#include <string>
#include <vector>

namespace tt {

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

QStringList FileListModel::RowTexts(int row) const {
    std::vector<std::string> texts(static_cast<std::size_t>(m_columns));
    if (m_provider != nullptr && m_columns > 0)
        m_provider(row, 0, m_columns, texts.data(), m_context);
    QStringList result;
    for (const auto& text : texts)
        result << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return result;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || index.column() >= m_columns)
        return {};
    return RowTexts(index.row()).value(index.column());
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_titles.value(section);
}

void FileListModel::SetProvider(int columns, RowTextProvider provider, void* context) {
    beginResetModel();
    m_columns = columns;
    m_provider = provider;
    m_context = context;
    m_titles.clear();
    endResetModel();
}

bool FileListModel::InsertColumn(int index, const QString& title) {
    if (index < 0 || index > m_titles.size() || m_titles.size() >= m_columns)
        return false;
    beginInsertColumns({}, index, index);
    m_titles.insert(index, title);
    endInsertColumns();
    return true;
}

void FileListModel::Clear() {
    beginResetModel();
    m_rows = 0;
    endResetModel();
}

void FileListModel::Append(int count) {
    if (count <= 0)
        return;
    beginInsertRows({}, m_rows, m_rows + count - 1);
    m_rows += count;
    endInsertRows();
}

void FileListModel::RedrawAll() {
    if (m_rows > 0 && !m_titles.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows - 1, static_cast<int>(m_titles.size()) - 1),
                         {Qt::DisplayRole});
}

}  // namespace tt
