#pragma once
// tryPrincipal: the notification-area icon with its hint, its menu, the click and double
// click, and the blinking of an alarm (two frames, 900 ms each). Without a notification area
// the object still exists and keeps its state, so the program works on.
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    TrayIcon(QMenu *menu, QObject *parent = nullptr);

    void show();
    void hide();
    bool animated() const { return m_pacer.isActive(); }
    void setAnimated(bool on);
    // Index of the icon on show: -1 for the static icon, else the animation frame.
    int currentFrame() const { return m_frame; }
    QSystemTrayIcon *systemIcon() { return &m_icon; }
    void retranslate();

    // What the notification area reports, also callable by tests.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);

signals:
    void clicked();
    void doubleClicked();

private:
    void nextFrame();

    QSystemTrayIcon m_icon;
    QIcon m_static;
    QIcon m_frames[2];
    QTimer m_pacer;
    int m_frame = -1;
};
