#include "ui/FileListModel.h"

namespace tt {

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
}

void FileListModel::FillRowTexts(int row, std::vector<std::string>& texts) const {
    texts.resize(static_cast<std::size_t>(std::max(m_columns, 0)));
    for (std::string& text : texts)
        text.clear();
    // Every row's item data is 0: the rows stand for the entries by their index.
    if (m_provider != nullptr && !texts.empty())
        m_provider(row, 0, m_columns, texts.data(), m_context);
}

QStringList FileListModel::RowTexts(int row) const {
    std::vector<std::string> texts;
    FillRowTexts(row, texts);
    QStringList result;
    for (const auto& text : texts)
        result << QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return result;
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole || index.column() >= m_columns ||
        index.row() >= m_rows)
        return {};
    return RowTexts(index.row()).value(index.column());
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_titles.value(section);
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
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

void FileListModel::TextsChanged(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, m_rows - 1);
    if (first <= last && !m_titles.isEmpty())
        emit dataChanged(index(first, 0), index(last, static_cast<int>(m_titles.size()) - 1),
                         {Qt::DisplayRole});
}

}  // namespace tt
