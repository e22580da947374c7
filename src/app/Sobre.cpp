#include "app/Sobre.h"

#include "app/Artwork.h"
#include "platform/Dialogs.h"
#include "platform/FixedWindow.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrl>

bool openWebAddress(QWidget *parent, const QString &address)
{
    if (QDesktopServices::openUrl(QUrl::fromUserInput(address)))
        return true;
    Dialogs::error(parent, QCoreApplication::translate("TfrmSobre", "Nenhum navegador pôde abrir o endereço %1. "
                                                                    "Abra-o à mão num navegador.").arg(address));
    return false;
}

std::optional<QString> versionLabelText(const std::optional<VersionInfo> &info, bool whenShown)
{
    if (!info)
        return std::nullopt;
    if (!info->productVersion)
        return whenShown ? QStringLiteral("v1.2 (build 200)") : QString();
    QString text = *info->productVersion + QLatin1Char(' ');
    if (info->fileVersion)
        text += QStringLiteral(" (Build ") + QString(*info->fileVersion).remove(QLatin1Char('.')) + QStringLiteral(")\r");
    return text;
}

VersionInfo programVersionInfo()
{
    return {QStringLiteral(CORKVANE_VERSION), QStringLiteral(CORKVANE_VERSION)};
}

QString productWebAddress()
{
    return QCoreApplication::translate("TfrmSobre", "https://www.corkvane.org/");
}

TfrmSobre::TfrmSobre(QWidget *parent, const std::optional<VersionInfo> &info) : QDialog(parent), m_info(info)
{
    setObjectName(QStringLiteral("frmSobre"));
    FixedWindow::apply(this, Qt::Tool, QSize(330, 239));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    auto *image = new QLabel(this);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(Artwork::productPicture());
    image->setGeometry(8, 8, 177, 132);

    m_verTit = new QLabel(this);
    m_verTit->setObjectName(QStringLiteral("lblVerTit"));
    m_verTit->setGeometry(192, 12, 130, 16);

    m_versao = new QLabel(this);
    m_versao->setObjectName(QStringLiteral("lblVersao"));
    m_versao->setWordWrap(true);
    m_versao->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_versao->setGeometry(192, 32, 145, 63);
    m_versao->setStyleSheet(QStringLiteral("color: maroon;"));
    m_versao->installEventFilter(this);

    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("Label1"));
    m_link->setGeometry(8, 150, 314, 20);
    m_link->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    m_link->setCursor(Qt::PointingHandCursor);
    m_link->installEventFilter(this);

    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(125, 200, 80, 27);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    retranslate();
    applyVersion(false);
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TfrmSobre::retranslate()
{
    setWindowTitle(tr("Sobre o Sistema"));
    m_verTit->setText(tr("Versão:"));
    m_link->setText(productWebAddress());
    if (auto *ok = findChild<QPushButton *>(QStringLiteral("cmdOK")))
        ok->setText(tr("&OK"));
    // The placeholder stays only where no version information exists at all.
    if (!m_info)
        m_versao->setText(tr("Aqui fica a versão"));
}

void TfrmSobre::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void TfrmSobre::applyVersion(bool whenShown)
{
    if (const auto text = versionLabelText(m_info, whenShown))
        m_versao->setText(*text);
}

void TfrmSobre::showEvent(QShowEvent *event)
{
    applyVersion(true);
    QDialog::showEvent(event);
}

void TfrmSobre::mousePressEvent(QMouseEvent *event)
{
    QDialog::mousePressEvent(event);
    accept();
}

bool TfrmSobre::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_link) {
            openWebAddress(this, m_link->text());
            return true;
        }
        if (watched == m_versao) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
