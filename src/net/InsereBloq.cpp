#include "net/InsereBloq.h"

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

    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
    // Wide enough for the explanation to wrap into a few lines rather than a tall column.
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
}

QString TfrmInsereBloq::entry() const
{
    return m_txtBloq->text();
}

void TfrmInsereBloq::retranslateUi()
{
    setWindowTitle(tr("Inserir Remetente Bloqueado"));
    m_label1->setText(tr("Insira o e-mail, nome do usuário, nome do computador ou qualquer outra informação que "
                         "identifica o remetente que você deseja bloquear."));
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
