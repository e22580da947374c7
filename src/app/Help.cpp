#include "app/Help.h"

#include "platform/Dialogs.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

TfrmAjuda::TfrmAjuda(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("TfrmAjuda"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtAjuda"));
    // Web addresses go to the user's browser; the guide's own links stay in this window.
    m_browser->setOpenExternalLinks(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    resize(620, 520);
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    retranslateUi();
}

void TfrmAjuda::retranslateUi()
{
    // The toolkit adds the program's name to every window title.
    setWindowTitle(tr("Ajuda"));
}

void TfrmAjuda::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

QString TfrmAjuda::anchorFor(int context)
{
    if (context < 1 || context > kLastContext)
        return QStringLiteral("contents");
    return QStringLiteral("context-%1").arg(context);
}

QString TfrmAjuda::helpFile(const QString &programFolder, bool english)
{
    return programFolder + (english ? QStringLiteral("corkvane_enu.html") : QStringLiteral("corkvane.html"));
}

bool TfrmAjuda::showTopic(const QString &file, int context)
{
    if (!QFileInfo(file).isFile()) {
        Dialogs::error(nullptr, tr("O arquivo de ajuda %1 não foi encontrado.").arg(file));
        return false;
    }
    // While modal itself the window is the active modal one: it then stays as it is.
    QWidget *modal = QApplication::activeModalWidget();
    const Qt::WindowModality wanted = modal == this ? windowModality() : modal ? Qt::ApplicationModal : Qt::NonModal;
    if (windowModality() != wanted) {
        hide();
        setWindowModality(wanted);
    }
    show();
    QUrl url = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    url.setFragment(anchorFor(context));
    m_browser->setSource(url);
    raise();
    activateWindow();
    return true;
}
