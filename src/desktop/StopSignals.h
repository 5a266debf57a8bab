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

  signals:
    void received(int signal);

  private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace tt
