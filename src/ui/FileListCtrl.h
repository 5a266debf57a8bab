#pragma once

#include <QTreeView>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QFontMetrics;

namespace tt {

// Supplies the texts of one row: row index, the row's item data, the column
// count, `columns` strings to fill (each empty on entry, UTF-8), and the context
// given to Configure. The result is ignored.
using RowTextProvider = bool (*)(int row, std::intptr_t itemData, int columns, std::string* texts,
                                 void* context);

class FileListModel;

// The list of old and new file names. Rows carry no text of their own: every
// paint asks the row-text provider for the rows it draws, and nothing else does
// (row heights are uniform and known without looking at a row). Multiple selection
// as a standard list has it: click, Ctrl+click, Shift+click and the keyboard.
//
// A click, double click or right click below the last fully visible row only
// focuses the list and keeps the selection. When the list gains the focus and no
// row is the focused (current) row, the top visible row becomes it, unselected.
class CFileListCtrl : public QTreeView {
    Q_OBJECT

  public:
    explicit CFileListCtrl(QWidget* parent = nullptr);
    ~CFileListCtrl() override;

    // Removes every column, then keeps the settings: `columns` text slots, the
    // provider and its context, the gap between a cell's edges and its text, and
    // whether lines are drawn between columns and under rows. The owner inserts its
    // columns afterwards. False (after the error box) when the slots cannot be made;
    // rows are then drawn without texts.
    bool Configure(int columns, RowTextProvider provider, void* context, int inset,
                   bool columnLines, bool rowLines);
    void ClearConfiguration();
    // Adds column `index` with its title and width in pixels; false on failure
    // (also for a column beyond the text slots).
    bool InsertColumn(int index, const QString& title, int width);

    int GetItemCount() const;
    int GetSelectedCount() const;
    // Up to maxCount indices of selected rows in row order; returns how many.
    int GetSelectedItems(int maxCount, int* indices) const;
    std::vector<std::int32_t> GetSelectedItems() const;
    void SelectAllItems();
    // Clears every selection; a selected row that is the focused row stops being
    // it, a focused row that is not selected stays focused.
    void DeselectAllItems();
    // Selects the row too and shows it (the first row selected so becomes the
    // focused one); false for a row outside the list.
    bool SelectItem(int item);
    // Clears the row's selected and focused state; false for a row outside the list.
    bool DeselectItem(int item);

    void DeleteAllItems();
    void AppendItems(int count);
    // Repaints the rows shown (texts are asked again).
    void RedrawItems();

    // The text to draw in a cell `width` pixels wide: the text itself when it fits,
    // else its longest start that fits together with "..." followed by "..."
    // (built in `scratch`). The start always ends on a whole UTF-8 character; when
    // no character fits, "..." alone. Null when shortening failed (the cell then
    // stays empty and the error box is shown once the paint is over).
    virtual const std::string* FitText(const QFontMetrics& metrics, const std::string& text,
                                       std::string& scratch, int width);

    // The bar of a selected row while the list has no focus: the disabled-text
    // colour, adjusted so the row's texts keep a legible contrast.
    QColor UnfocusedBarColor() const;

  signals:
    // The selection or the focused row changed.
    void itemChanged();

  protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    // Paints one row: the bar, the cell texts, the lines and the focus rectangle.
    virtual void DrawItem(QPainter& painter, int row, const QRect& rowRect);
    // The separator at the right edge of one cell.
    virtual void DrawColumnLine(QPainter& painter, const QRect& cell, bool highlighted);

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Rows have no text to search in: typing a letter finds nothing.
    void keyboardSearch(const QString& search) override;

  private:
    // First and one past the last fully visible row.
    std::pair<int, int> PageRows() const;
    // Whether `point` (viewport coordinates) lies on the fully visible rows.
    bool IsOnRows(const QPoint& point) const;
    // A press below the rows only focuses the list; true when it was taken so.
    bool SwallowBelowRows(QMouseEvent* event);
    // Repaints the selected and the focused rows of the page.
    void RedrawHighlightedRows();
    void ReportError(const char* text);

    FileListModel* m_model;  // owned through Qt's parent
    int m_nTextInset = 0;
    bool m_bColumnLines = false;
    bool m_bRowLines = false;
    // Per-paint scratch: the texts of the row being drawn, one per column.
    std::optional<std::vector<std::string>> m_pTexts;
    std::string m_strScratch;
    // The press went to the area below the rows: its moves and release are dropped too.
    bool m_bPressSwallowed = false;
    bool m_bErrorPending = false;
    // UnfocusedBarColor's result and the palette it was worked out for.
    mutable QColor m_unfocusedBar;
    mutable qint64 m_unfocusedBarPalette = -1;
};

// The list's own error box: the text, captioned "Fehler", with the stop icon;
// an absent owner means the application's main window.
void ShowListErrorBox(QWidget* owner, const QString& text);

}  // namespace tt
