#include "net/InsereBloq.h"

#include "net/BlockList.h"
#include "platform/Dialogs.h"
#include "platform/WindowTitle.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmInsereBloq::TfrmInsereBloq(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmInsereBloq"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setWordWrap(true);
    QPalette maroon = m_label1->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    m_label1->setPalette(maroon);
    m_txtBloq = new QLineEdit(this);
    m_txtBloq->setObjectName(QStringLiteral("txtBloq"));
    m_label1->setBuddy(m_txtBloq);  // the explanation names the field for screen readers
    m_cmdOK = new QPushButton(this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancelar = new QPushButton(this);
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addWidget(m_txtBloq);
    layout->addLayout(buttons);

    connect(m_cmdOK, &QPushButton::clicked, this, &TfrmInsereBloq::cmdOKClick);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
    // Wide enough for the explanation to wrap into a few lines rather than a tall column.
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
}

QString TfrmInsereBloq::entry() const
{
    return BlockList::matchableEntry(m_txtBloq->text());
}

void TfrmInsereBloq::cmdOKClick()
{
    // Only a sender's IP address is ever compared: anything else would sit in the list and
    // block nothing, while the user believes it does.
    if (entry().isNull()) {
        const QString typed = m_txtBloq->text().trimmed();
        Dialogs::error(this, typed.isEmpty()
                                 ? tr("Digite o endereço IP do remetente, como 192.168.0.12.")
                                 : tr("\"%1\" não é um endereço IP de computador e nunca bloquearia nada. "
                                      "Digite o endereço IP do remetente, como 192.168.0.12.")
                                       .arg(typed));
        m_txtBloq->setFocus();
        m_txtBloq->selectAll();
        return;
    }
    accept();
}

void TfrmInsereBloq::retranslateUi()
{
    setWindowTitle(tr("Inserir Remetente Bloqueado"));
    m_label1->setText(tr("Insira o endereço IP do computador cujas notas você deseja bloquear, como "
                         "192.168.0.12. Só o endereço IP do remetente é comparado: nomes de computador, "
                         "de usuário ou e-mails não bloqueiam nada."));
    m_cmdOK->setText(tr("OK"));
    m_cmdCancelar->setText(tr("Cancelar"));
}

void TfrmInsereBloq::showEvent(QShowEvent *event)
{
    m_txtBloq->clear();
    m_txtBloq->setFocus();
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TfrmInsereBloq::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmInsereBloq::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}
