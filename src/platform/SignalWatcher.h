#pragma once
// Turns SIGTERM, SIGINT and SIGHUP into a Qt signal on the GUI thread (self-pipe), so that the
// end of the desktop session runs the same shutdown as the menu's "&Sair".
#include <QObject>

class QSocketNotifier;

class SignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit SignalWatcher(QObject *parent = nullptr);
    ~SignalWatcher() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier *m_notifier = nullptr;
};
