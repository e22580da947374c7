#include "alarms/ConfSom.h"

#include "platform/Dialogs.h"
#include "platform/Paths.h"
#include "platform/WindowTitle.h"

#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmConfSom::TfrmConfSom(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmConfSom"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    m_rgpEvento = new QGroupBox(this);
    m_rgpEvento->setObjectName(QStringLiteral("rgpEvento"));
    m_radSemSom = new QRadioButton(m_rgpEvento);
    m_radSemSom->setObjectName(QStringLiteral("radSemSom"));
    m_radSom = new QRadioButton(m_rgpEvento);
    m_radSom->setObjectName(QStringLiteral("radSom"));
    m_fleWave = new QLineEdit(m_rgpEvento);
    m_fleWave->setObjectName(QStringLiteral("fleWave"));
    m_cmdProcurar = new QPushButton(QStringLiteral("..."), m_rgpEvento);
    m_cmdProcurar->setObjectName(QStringLiteral("cmdProcurar"));
    m_cmdProcurar->setFixedWidth(m_cmdProcurar->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    m_cmdOK = new QPushButton(this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    m_cmdCancelar = new QPushButton(this);
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));

    auto *file = new QHBoxLayout;
    file->addWidget(m_radSom);
    file->addWidget(m_fleWave, 1);
    file->addWidget(m_cmdProcurar);
    auto *group = new QVBoxLayout(m_rgpEvento);
    group->addWidget(m_radSemSom);
    group->addLayout(file);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_rgpEvento);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_radSemSom, &QRadioButton::toggled, this, &TfrmConfSom::applyEnabling);
    connect(m_cmdProcurar, &QPushButton::clicked, this, &TfrmConfSom::cmdProcurarClick);
    connect(m_cmdOK, &QPushButton::clicked, this, &TfrmConfSom::cmdOKClick);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
    retranslateUi();
}

void TfrmConfSom::retranslateUi()
{
    setWindowTitle(tr("Configurar Som"));
    m_radSemSom->setText(tr("Sem Som"));
    m_radSom->setText(tr("Som:"));
    m_cmdProcurar->setAccessibleDescription(tr("Procurar o arquivo de som"));
    m_cmdProcurar->setToolTip(m_cmdProcurar->accessibleDescription());
    m_cmdOK->setText(tr("&OK"));
    m_cmdCancelar->setText(tr("&Cancelar"));
    // 280 x 150 at the least, more when the texts of the desktop's font need it.
    setFixedSize(QSize(280, 150).expandedTo(sizeHint()));
}

std::optional<QString> TfrmConfSom::chooseSound(const QString &eventName, const QString &path)
{
    setEventCaption(tr("Evento ") + eventName + QStringLiteral(": "));
    setFileName(path);
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return fileName();
}

void TfrmConfSom::setEventCaption(const QString &caption)
{
    m_rgpEvento->setTitle(caption);
}

void TfrmConfSom::setFileName(const QString &path)
{
    m_fleWave->setText(path);
}

QString TfrmConfSom::fileName() const
{
    return m_fleWave->text();
}

void TfrmConfSom::showEvent(QShowEvent *event)
{
    // The file decides the choice each time the dialog comes up.
    if (m_fleWave->text().isEmpty())
        m_radSemSom->setChecked(true);
    else
        m_radSom->setChecked(true);
    applyEnabling();
    setFixedSize(QSize(280, 150).expandedTo(sizeHint()));
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TfrmConfSom::applyEnabling()
{
    m_fleWave->setEnabled(m_radSom->isChecked());
}

void TfrmConfSom::cmdProcurarClick()
{
    const QString file = Dialogs::getOpenFileName(this, tr("Abrir"), Paths::soundFolder(m_fleWave->text()),
                                                  tr("Arquivos Wave (*.wav)"));
    if (!file.isEmpty()) {
        m_fleWave->setText(file);
        m_radSom->setChecked(true);
    }
}

void TfrmConfSom::cmdOKClick()
{
    if (m_radSom->isChecked() && m_fleWave->text().isEmpty()) {
        Dialogs::error(this, tr("Selecione um arquivo!"));
        return;
    }
    if (m_radSemSom->isChecked())
        m_fleWave->clear();
    accept();
}

void TfrmConfSom::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmConfSom::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}
