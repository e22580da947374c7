#pragma once
// tryPrincipal: the notification-area icon with its hint, its menu, the click and double
// click, and the blinking of an alarm (two frames, 900 ms each). Without a notification area
// the object still exists and keeps its state, so the program works on; when one appears later
// (a panel that starts after the program, or restarts), the icon goes into it.
#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

class QMenu;
class NotificationArea;

class TrayIcon : public QObject
{
    Q_OBJECT
public:
    enum class Watch { Desktop, None };

    // Watch::Desktop follows the desktop's notification areas; Watch::None leaves it to
    // notificationAreaChanged(), for tests.
    explicit TrayIcon(QMenu *menu, QObject *parent = nullptr, Watch watch = Watch::Desktop);
    ~TrayIcon() override;

    void show();
    void hide();
    bool animated() const { return m_pacer.isActive(); }
    void setAnimated(bool on);
    // Index of the icon on show: -1 for the static icon, else the animation frame.
    int currentFrame() const { return m_frame; }
    QString toolTip() const { return m_toolTip; }
    void retranslate();

    // Whether the desktop has a notification area now.
    bool notificationAreaAvailable() const { return m_areaAvailable; }
    // The toolkit's icon: made only once a notification area has been seen, because the toolkit
    // settles for one kind of notification area, for the whole run, when its first icon is made.
    QSystemTrayIcon *systemIcon() const { return m_icon.get(); }

    // What the notification area reports, also callable by tests.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);
    void notificationAreaChanged(bool available);

signals:
    void clicked();
    void doubleClicked();
    void notificationAreaAvailabilityChanged(bool available);

private:
    void nextFrame();
    void showIcon(const QIcon &icon);
    void placeIfPossible();
    void placeAgain();
    static constexpr int kSettleMs = 1500;

    QMenu *const m_menu;
    std::unique_ptr<NotificationArea> m_area;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    QIcon m_static;
    QIcon m_frames[2];
    QIcon m_shown;
    QString m_toolTip;
    QTimer m_pacer;
    int m_frame = -1;
    bool m_wanted = false;
    bool m_areaAvailable = false;
};
