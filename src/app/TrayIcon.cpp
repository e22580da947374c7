#include "app/TrayIcon.h"

#include "app/Artwork.h"
#include "platform/NotificationArea.h"

#include <QMenu>

TrayIcon::TrayIcon(QMenu *menu, QObject *parent, Watch watch)
    : QObject(parent)
    , m_menu(menu)
    , m_static(Artwork::applicationIcon())
    , m_frames{Artwork::alarmFrame(0), Artwork::alarmFrame(1)}
    , m_shown(m_static)
{
    m_pacer.setInterval(900);
    connect(&m_pacer, &QTimer::timeout, this, &TrayIcon::nextFrame);
    retranslate();
    if (watch == Watch::Desktop) {
        m_area = std::make_unique<NotificationArea>();
        m_areaAvailable = m_area->available();
        connect(m_area.get(), &NotificationArea::changed, this,
                [this] { notificationAreaChanged(m_area->available()); });
    }
}

TrayIcon::~TrayIcon() = default;

void TrayIcon::retranslate()
{
    m_toolTip = tr("Duplo-clique para criar nota");
    if (m_icon)
        m_icon->setToolTip(m_toolTip);
}

void TrayIcon::show()
{
    m_wanted = true;
    placeIfPossible();
    if (m_icon)
        m_icon->show();
}

void TrayIcon::hide()
{
    m_wanted = false;
    if (m_icon)
        m_icon->hide();
}

void TrayIcon::notificationAreaChanged(bool available)
{
    if (available == m_areaAvailable)
        return;
    m_areaAvailable = available;
    if (available && !m_icon) {
        placeIfPossible();
        if (m_icon && m_wanted)
            m_icon->show();
    } else if (available) {
        // A notification area came back (a panel restart). The toolkit's icon tries to follow
        // it by itself, but a StatusNotifierItem watcher may still be setting itself up when the
        // toolkit calls it, and the toolkit does not try again: placed anew, the icon is offered
        // to the area that is there now.
        placeAgain();
    }
    if (available) {
        // A watcher may also take a moment to accept items after it reports its host: once
        // more, a little later.
        QTimer::singleShot(kSettleMs, this, [this] {
            if (m_areaAvailable)
                placeAgain();
        });
    }
    emit notificationAreaAvailabilityChanged(available);
}

void TrayIcon::placeAgain()
{
    if (!m_icon || !m_wanted)
        return;
    m_icon->hide();
    m_icon->show();
}

void TrayIcon::placeIfPossible()
{
    if (m_icon || !m_areaAvailable)
        return;
    m_icon = std::make_unique<QSystemTrayIcon>();
    m_icon->setObjectName(QStringLiteral("tryPrincipal"));
    m_icon->setIcon(m_shown);
    m_icon->setToolTip(m_toolTip);
    m_icon->setContextMenu(m_menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &TrayIcon::handleActivation);
}

void TrayIcon::handleActivation(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        emit clicked();
    else if (reason == QSystemTrayIcon::DoubleClick)
        emit doubleClicked();
}

void TrayIcon::setAnimated(bool on)
{
    if (on == animated())
        return;
    if (on) {
        m_frame = -1;
        nextFrame();
        m_pacer.start();
    } else {
        m_pacer.stop();
        m_frame = -1;
        showIcon(m_static);
    }
}

void TrayIcon::nextFrame()
{
    m_frame = (m_frame + 1) % 2;
    showIcon(m_frames[m_frame]);
}

void TrayIcon::showIcon(const QIcon &icon)
{
    m_shown = icon;
    if (m_icon)
        m_icon->setIcon(icon);
}
