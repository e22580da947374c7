#include "app/TrayIcon.h"

#include "app/Artwork.h"

#include <QMenu>

TrayIcon::TrayIcon(QMenu *menu, QObject *parent)
    : QObject(parent), m_static(Artwork::applicationIcon()), m_frames{Artwork::alarmFrame(0), Artwork::alarmFrame(1)}
{
    m_icon.setObjectName(QStringLiteral("tryPrincipal"));
    m_icon.setIcon(m_static);
    m_icon.setContextMenu(menu);
    m_pacer.setInterval(900);
    connect(&m_pacer, &QTimer::timeout, this, &TrayIcon::nextFrame);
    connect(&m_icon, &QSystemTrayIcon::activated, this, &TrayIcon::handleActivation);
    retranslate();
}

void TrayIcon::retranslate()
{
    m_icon.setToolTip(tr("Duplo-clique para criar nota"));
}

void TrayIcon::show()
{
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_icon.show();
}

void TrayIcon::hide()
{
    m_icon.hide();
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
        m_icon.setIcon(m_static);
    }
}

void TrayIcon::nextFrame()
{
    m_frame = (m_frame + 1) % 2;
    m_icon.setIcon(m_frames[m_frame]);
}
