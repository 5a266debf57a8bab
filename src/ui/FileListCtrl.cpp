#include "ui/FileListCtrl.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <new>

#include "ui/FileListModel.h"

namespace tt {

namespace {

constexpr const char* kEllipsis = "...";
// These reports exist in German only, whatever the language of the rest.
constexpr const char* kOutOfMemory = "Nicht genügend freier Speicher!";
constexpr const char* kUnknownException = "Unbekannter Ausnahmefehler!";

// Every row is as high as a line of text with a small margin, known without
// looking at any row: the view never asks the model (and so the provider) for a
// row only to learn its height.
int RowHeightFor(const QFontMetrics& metrics) {
    return metrics.height() + 4;
}

class FixedRowHeightDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option,
                   const QModelIndex& /*index*/) const override {
        return QSize(0, RowHeightFor(option.fontMetrics));
    }
};

bool StartsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

}  // namespace

void ShowListErrorBox(QWidget* owner, const QString& text) {
    if (owner == nullptr)
        owner = QApplication::activeWindow();
    try {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler"), text, QMessageBox::Ok,
                        owner);
        box.exec();
    } catch (const std::bad_alloc&) {
        QMessageBox::critical(owner, QString(),
                              QString::fromUtf8("Nicht genügend freier Speicher !"));
    } catch (...) {
        QMessageBox::critical(owner, QString(),
                              QString::fromUtf8("Unbekannter Fehler aufgetreten !"));
    }
}

CFileListCtrl::CFileListCtrl(QWidget* parent)
    : QTreeView(parent), m_model(new FileListModel(this)) {
    setItemDelegate(new FixedRowHeightDelegate(this));
    setModel(m_model);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFocusPolicy(Qt::StrongFocus);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setHighlightSections(false);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CFileListCtrl::itemChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CFileListCtrl::itemChanged);
}

CFileListCtrl::~CFileListCtrl() = default;

bool CFileListCtrl::Configure(int columns, RowTextProvider provider, void* context, int inset,
                              bool columnLines, bool rowLines) {
    ClearConfiguration();
    m_model->SetProvider(columns, provider, context);
    m_nTextInset = inset;
    m_bColumnLines = columnLines;
    m_bRowLines = rowLines;
    if (columns <= 0)
        return true;
    try {
        m_pTexts.emplace(static_cast<std::size_t>(columns));
    } catch (...) {
        m_pTexts.reset();
        ShowListErrorBox(nullptr, QString::fromUtf8(kOutOfMemory));
        return false;
    }
    return true;
}

void CFileListCtrl::ClearConfiguration() {
    m_model->SetProvider(0, nullptr, nullptr);
    m_pTexts.reset();
    m_nTextInset = 0;
    m_bColumnLines = false;
    m_bRowLines = false;
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

std::vector<std::int32_t> CFileListCtrl::GetSelectedItems() const {
    std::vector<std::int32_t> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int CFileListCtrl::GetSelectedCount() const {
    return static_cast<int>(GetSelectedItems().size());
}

int CFileListCtrl::GetSelectedItems(int maxCount, int* indices) const {
    if (maxCount <= 0)
        return 0;
    const auto rows = GetSelectedItems();
    const int count = std::min(maxCount, static_cast<int>(rows.size()));
    std::copy_n(rows.begin(), count, indices);
    return count;
}

void CFileListCtrl::SelectAllItems() {
    selectAll();
}

void CFileListCtrl::DeselectAllItems() {
    const QModelIndex current = currentIndex();
    const bool currentSelected =
        current.isValid() && selectionModel()->isRowSelected(current.row(), {});
    selectionModel()->clearSelection();
    if (currentSelected)
        selectionModel()->clearCurrentIndex();
}

bool CFileListCtrl::SelectItem(int item) {
    if (item < 0 || item >= GetItemCount())
        return false;
    const QModelIndex index = m_model->index(item, 0);
    const bool first = GetSelectedCount() == 0;
    selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    if (first) {
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        scrollTo(index);
    }
    return true;
}

bool CFileListCtrl::DeselectItem(int item) {
    if (item < 0 || item >= GetItemCount())
        return false;
    selectionModel()->select(m_model->index(item, 0),
                             QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    if (currentIndex().isValid() && currentIndex().row() == item)
        selectionModel()->clearCurrentIndex();
    return true;
}

void CFileListCtrl::DeleteAllItems() {
    m_model->Clear();
    // A reset clears the selection without telling anybody.
    emit itemChanged();
}

void CFileListCtrl::AppendItems(int count) {
    m_model->Append(count);
}

void CFileListCtrl::RedrawItems() {
    viewport()->update();
    const auto [top, end] = PageRows();
    m_model->TextsChanged(top, end);  // the partly visible row too
}

std::pair<int, int> CFileListCtrl::PageRows() const {
    const int rows = GetItemCount();
    // Rows scroll by whole rows, so the scroll position is the top row.
    const int top = std::clamp(verticalScrollBar()->value(), 0, std::max(rows - 1, 0));
    const int perPage = viewport()->height() / RowHeightFor(fontMetrics());
    return {top, std::min(top + perPage, rows)};
}

bool CFileListCtrl::IsOnRows(const QPoint& point) const {
    const auto [top, end] = PageRows();
    if (end <= top)
        return false;
    const int bottom = (end - top) * RowHeightFor(fontMetrics()) - 1;
    return point.y() <= bottom;
}

void CFileListCtrl::RedrawHighlightedRows() {
    const int height = RowHeightFor(fontMetrics());
    const auto [top, end] = PageRows();
    const int last = std::min(end, GetItemCount() - 1);  // with the partly visible row
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    for (int row = top; row <= last; ++row) {
        if (row == current || selectionModel()->isRowSelected(row, {}))
            viewport()->update(QRect(0, (row - top) * height, viewport()->width(), height));
    }
}

void CFileListCtrl::focusInEvent(QFocusEvent* event) {
    if (GetItemCount() > 0 && !currentIndex().isValid())
        selectionModel()->setCurrentIndex(m_model->index(PageRows().first, 0),
                                          QItemSelectionModel::NoUpdate);
    RedrawHighlightedRows();
    QTreeView::focusInEvent(event);
}

void CFileListCtrl::focusOutEvent(QFocusEvent* event) {
    RedrawHighlightedRows();
    QTreeView::focusOutEvent(event);
}

bool CFileListCtrl::SwallowBelowRows(QMouseEvent* event) {
    m_bPressSwallowed = !IsOnRows(event->position().toPoint());
    if (m_bPressSwallowed) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
    }
    return m_bPressSwallowed;
}

void CFileListCtrl::mousePressEvent(QMouseEvent* event) {
    if (!SwallowBelowRows(event))
        QTreeView::mousePressEvent(event);
}

void CFileListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!SwallowBelowRows(event))
        QTreeView::mouseDoubleClickEvent(event);
}

void CFileListCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (m_bPressSwallowed && event->buttons() != Qt::NoButton) {
        event->accept();
        return;
    }
    QTreeView::mouseMoveEvent(event);
}

void CFileListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_bPressSwallowed) {
        m_bPressSwallowed = false;
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void CFileListCtrl::keyboardSearch(const QString& /*search*/) {}

void CFileListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    // Painting fills the per-paint scratch texts; the view itself is not changed.
    const_cast<CFileListCtrl*>(this)->DrawItem(*painter, index.row(), option.rect);
}

namespace {

double RelativeLuminance(const QColor& color) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace

QColor CFileListCtrl::UnfocusedBarColor() const {
    // Worked out once per palette: every selected row of a paint asks for it.
    if (m_unfocusedBarPalette == palette().cacheKey())
        return m_unfocusedBar;
    // The disabled-text grey of many styles is too light to read the highlight
    // text on; it is darkened (or lightened, for a dark text colour) until the
    // selected row's texts stay legible.
    const QColor text = palette().color(QPalette::Active, QPalette::HighlightedText);
    QColor bar = palette().color(QPalette::Disabled, QPalette::Text);
    const bool darken = RelativeLuminance(text) > 0.5;
    for (int step = 0; step < 20 && Contrast(bar, text) < 4.5; ++step)
        bar = darken ? bar.darker(110) : bar.lighter(110);
    m_unfocusedBar = QColor::fromRgb(bar.rgb());
    m_unfocusedBarPalette = palette().cacheKey();
    return m_unfocusedBar;
}

void CFileListCtrl::DrawItem(QPainter& painter, int row, const QRect& rowRect) {
    const bool focused = hasFocus();
    const bool highlighted = selectionModel()->isRowSelected(row, {});
    // The bar spans all columns, from the first column's left edge.
    const QRect bounds(-horizontalOffset(), rowRect.top(), header()->length(), rowRect.height());
    const QPalette& colors = palette();

    painter.save();
    if (highlighted) {
        painter.fillRect(bounds, focused ? colors.color(QPalette::Active, QPalette::Highlight)
                                         : UnfocusedBarColor());
        painter.setPen(colors.color(QPalette::Active, QPalette::HighlightedText));
    } else {
        painter.fillRect(bounds, colors.color(QPalette::Active, QPalette::Base));
        painter.setPen(colors.color(QPalette::Active, QPalette::Text));
    }

    if (m_pTexts)
        m_model->FillRowTexts(row, *m_pTexts);

    const QFontMetrics metrics = fontMetrics();
    painter.setFont(font());
    int left = bounds.left();
    for (int column = 0; column < header()->count(); ++column) {
        const QRect cell(left, rowRect.top(), header()->sectionSize(column), rowRect.height());
        left = cell.left() + cell.width();
        const QRect textRect = cell.adjusted(m_nTextInset, 0, -m_nTextInset, m_bRowLines ? -2 : 0);
        if (m_pTexts && column < static_cast<int>(m_pTexts->size()) &&
            !(*m_pTexts)[column].empty()) {
            const std::string* shown =
                FitText(metrics, (*m_pTexts)[column], m_strScratch, textRect.width());
            if (shown != nullptr) {
                // A cell's text is not clipped to the cell: a lone "..." in a very
                // narrow column may reach into the next one.
                painter.drawText(
                    textRect,
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
                    QString::fromUtf8(shown->data(), static_cast<qsizetype>(shown->size())));
            }
        }
        if (m_bColumnLines && m_nTextInset != 0)
            DrawColumnLine(painter, cell, highlighted);
    }

    if (m_bRowLines)
        painter.fillRect(QRect(bounds.left(), bounds.bottom(), bounds.width(), 1), Qt::black);

    if (focused && currentIndex().isValid() && currentIndex().row() == row) {
        QPen pen(painter.pen().color(), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(bounds.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

void CFileListCtrl::DrawColumnLine(QPainter& painter, const QRect& cell, bool highlighted) {
    // Black on ordinary rows, in the highlight text colour across the selection bar.
    const QColor color = highlighted ? palette().color(QPalette::Active, QPalette::HighlightedText)
                                     : QColor(Qt::black);
    painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), color);
}

const std::string* CFileListCtrl::FitText(const QFontMetrics& metrics, const std::string& text,
                                          std::string& scratch, int width) {
    if (text.empty())
        return &text;
    const auto advance = [&](std::size_t bytes) {
        return metrics.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(bytes)));
    };
    if (advance(text.size()) <= width)
        return &text;
    try {
        const int ellipsis = metrics.horizontalAdvance(QString::fromLatin1(kEllipsis));
        // Places where a character starts; a cut there never splits a character.
        std::vector<std::size_t> cuts;
        for (std::size_t k = 1; k < text.size(); ++k) {
            if (StartsCharacter(text[k]))
                cuts.push_back(k);
        }
        // The longest start that fits with the ellipsis. A start is never narrower
        // than a shorter one, so halving finds the same cut as trying every length
        // from the longest down, with a handful of measurements instead of one per
        // byte.
        std::size_t low = 0;  // cuts[0..low) fit
        std::size_t high = cuts.size();
        while (low < high) {
            const std::size_t middle = (low + high) / 2;
            if (advance(cuts[middle]) + ellipsis <= width)
                low = middle + 1;
            else
                high = middle;
        }
        const std::size_t keep = low == 0 ? 0 : cuts[low - 1];
        scratch.assign(text, 0, keep);
        scratch += kEllipsis;
        return &scratch;
    } catch (const std::bad_alloc&) {
        ReportError(kOutOfMemory);
    } catch (const std::exception&) {
        ReportError(kUnknownException);
    }
    return nullptr;
}

void CFileListCtrl::ReportError(const char* text) {
    // A modal box cannot be shown from inside a paint, and a failing cell fails on
    // every paint: the box comes once the paint is over, one at a time.
    if (m_bErrorPending)
        return;
    m_bErrorPending = true;
    QTimer::singleShot(0, this, [this, text]() {
        ShowListErrorBox(this, QString::fromUtf8(text));
        m_bErrorPending = false;
    });
}

}  // namespace tt
