#pragma once

#include <QLabel>
#include <QString>

class QFontMetrics;

namespace tt {

// `path` as it fits into `width` pixels of `metrics`' font: whole when it fits,
// else with folders from its middle left out for "…" ("/media/user/…/Final"),
// keeping its last folder and as many of the first and last ones as fit; a last
// folder too long on its own is cut in its middle.
QString ElidePath(const QString& path, const QFontMetrics& metrics, int width);

// The main window's folder field: shows a path shortened in the middle to its
// width, the whole path as its tool tip and accessible description.
class CPathLabel : public QLabel {
    Q_OBJECT

  public:
    explicit CPathLabel(QWidget* parent = nullptr);

    void SetPath(const QString& path);
    const QString& Path() const { return m_path; }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void Elide();

    QString m_path;
};

}  // namespace tt
