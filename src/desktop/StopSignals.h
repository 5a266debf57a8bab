#pragma once

#include <QObject>

class QSocketNotifier;

namespace tt {

// SIGINT, SIGTERM and SIGHUP (a Ctrl-C in the terminal, the session ending) turned
// into a Qt signal through a pipe the handler writes to, so the window can stop
// its work at the next file boundary and close as Exit does, saving its settings.
class StopSignals : public QObject {
    Q_OBJECT

  public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

    // The signal that arrived and was not yet handled through `received`, 0 for
    // none: work asks at every file boundary, also before the event loop runs.
    static int Pending();

  signals:
    void received(int signal);

  private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace tt
