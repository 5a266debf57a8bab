#pragma once

namespace tt {

// What a list view shown on screen does around the engine's work: repaint the
// rows, enable the buttons that fit the list, show the wait cursor. Optional:
// without a view there is nothing to refresh.
class ListViewHooks {
  public:
    virtual ~ListViewHooks() = default;
    virtual void RedrawList() = 0;
    virtual void UpdateButtonStates() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
};

// Shows the wait cursor for as long as it lives (none without a view).
class WaitCursor {
  public:
    explicit WaitCursor(ListViewHooks* view) : m_view(view) {
        if (m_view)
            m_view->BeginWaitCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    ~WaitCursor() {
        if (m_view)
            m_view->EndWaitCursor();
    }

  private:
    ListViewHooks* m_view;
};

}  // namespace tt
