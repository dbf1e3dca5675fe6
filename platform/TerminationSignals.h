#pragma once

#include <QObject>

class QSocketNotifier;

namespace tavorin {

// SIGTERM and SIGHUP (a log-out, a system shut-down) turned into a Qt
// signal delivered by the event loop, so that the program ends the way
// its own Exit does, never inside an interrupted routine. One object at a
// time; the default handling comes back when it goes.
//     TerminationSignals ending;
//     connect(&ending, &TerminationSignals::Received, window, &Window::exit);
class TerminationSignals final : public QObject {
    Q_OBJECT
  public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

  Q_SIGNALS:
    void Received(int signalNumber);

  private:
    void readPending();

    int fds_[2] = {-1, -1}; // the handler writes to [0], the loop reads [1]
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace tavorin
