#include "notes/MudaCaption.h"

#include "notes/NoteText.h"
#include "platform/Clock.h"
#include "platform/FixedWindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

TfrmMudaCaption::TfrmMudaCaption(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfrmMudaCaption"));
    FixedWindow::apply(this, Qt::Dialog, QSize(247, 84));
    setModal(true);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(8, 6, 231, 15);

    m_txtCaptionNota = new QLineEdit(this);
    m_txtCaptionNota->setObjectName(QStringLiteral("txtCaptionNota"));
    m_txtCaptionNota->setGeometry(8, 22, 231, 21);
    m_txtCaptionNota->setMaxLength(kMaxTitleLength);
    m_label1->setBuddy(m_txtCaptionNota);

    m_cmdPadrao = new QPushButton(this);
    m_cmdPadrao->setObjectName(QStringLiteral("cmdPadrao"));
    m_cmdPadrao->setGeometry(8, 52, 75, 25);
    m_cmdPadrao->setAutoDefault(false);

    m_cmdOK = new QPushButton(this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setGeometry(86, 52, 75, 25);
    m_cmdOK->setDefault(true);

    m_cmdCancelar = new QPushButton(this);
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cmdCancelar->setGeometry(164, 52, 75, 25);
    m_cmdCancelar->setAutoDefault(false);

    retranslateUi();

    connect(m_txtCaptionNota, &QLineEdit::textChanged, this, &TfrmMudaCaption::textChanged);
    connect(m_cmdPadrao, &QPushButton::clicked, this, &TfrmMudaCaption::defaultClicked);
    connect(m_cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmMudaCaption::retranslateUi()
{
    setWindowTitle(tr("Muda Título"));
    m_label1->setText(tr("&Título da Nota:"));
    m_cmdPadrao->setText(tr("&Padrão"));
    m_cmdOK->setText(tr("&OK"));
    m_cmdCancelar->setText(tr("&Cancelar"));
}

void TfrmMudaCaption::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

TfrmMudaCaption *TfrmMudaCaption::instance()
{
    static TfrmMudaCaption *dialog = nullptr;
    if (!dialog)
        dialog = new TfrmMudaCaption;
    return dialog;
}

void TfrmMudaCaption::prepare(const QString &title, const AppSettings *settings)
{
    m_settings = settings;
    // Typing stops at 50 characters, but a longer title that came from elsewhere (a received
    // note) is shown whole and survives an OK unchanged.
    m_txtCaptionNota->setMaxLength(qMax<int>(kMaxTitleLength, title.size()));
    m_txtCaptionNota->setText(title);
    m_txtCaptionNota->selectAll();
    m_txtCaptionNota->setFocus();
    m_cmdOK->setEnabled(true);
}

QString TfrmMudaCaption::captionText() const { return m_txtCaptionNota->text(); }

bool TfrmMudaCaption::edit(QString &title, const AppSettings *settings)
{
    prepare(title, settings);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    if (exec() != QDialog::Accepted)
        return false;
    title = captionText();
    return true;
}

void TfrmMudaCaption::textChanged(const QString &text)
{
    m_cmdOK->setEnabled(!text.isEmpty());
}

void TfrmMudaCaption::defaultClicked()
{
    const GeneralSettings general = m_settings ? m_settings->recGeral : GeneralSettings{};
    m_txtCaptionNota->setText(NoteText::DefaultTitle(general, Clock::now()));
}
