#include "net/EnviaComputador.h"

#include "net/NoteSender.h"
#include "net/PeerDiscovery.h"
#include "platform/Dialogs.h"
#include "platform/Recipients.h"
#include "platform/WindowTitle.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>

namespace {

// The hourglass for as long as the send runs, however it ends.
struct WaitCursor
{
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

} // namespace

TfrmEnviaComputador::TfrmEnviaComputador(NoteSender &sender, const AppSettings &settings, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      m_sender(sender), m_settings(settings)
{
    setObjectName(QStringLiteral("TfrmEnviaComputador"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    setFixedSize(312, 214);
    setModal(true);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(8, 8, 260, 15);

    m_txtPara = new QLineEdit(this);
    m_txtPara->setObjectName(QStringLiteral("txtPara"));
    m_txtPara->setGeometry(8, 25, 265, 23);
    m_label1->setBuddy(m_txtPara);

    m_cmdAddress = new QToolButton(this);
    m_cmdAddress->setObjectName(QStringLiteral("cmdAddress"));
    m_cmdAddress->setGeometry(279, 24, 25, 25);
    m_cmdAddress->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));

    m_cmdEnviar = new QPushButton(this);
    m_cmdEnviar->setObjectName(QStringLiteral("cmdEnviar"));
    m_cmdEnviar->setGeometry(148, 56, 75, 25);
    m_cmdEnviar->setDefault(true);
    m_cmdEnviar->setEnabled(false);

    m_cmdCancelar = new QPushButton(this);
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cmdCancelar->setGeometry(229, 56, 75, 25);
    m_cmdCancelar->setAutoDefault(false);

    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(8, 86, 100, 15);

    m_memStatus = new QPlainTextEdit(this);
    m_memStatus->setObjectName(QStringLiteral("memStatus"));
    m_memStatus->setGeometry(8, 102, 296, 104);
    m_memStatus->setReadOnly(true);
    m_memStatus->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memStatus->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_memStatus->setMaximumBlockCount(kMaxStatusLines);
    QFont small(QStringLiteral("Small Fonts"));
    small.setPixelSize(10);
    m_memStatus->setFont(small);
    QPalette maroon = m_memStatus->palette();
    maroon.setColor(QPalette::Text, QColor(0x80, 0, 0));
    m_memStatus->setPalette(maroon);

    m_lstComputador = new QListWidget(this);
    m_lstComputador->setObjectName(QStringLiteral("lstComputador"));
    m_lstComputador->hide();
    m_memAux = new QPlainTextEdit(this);
    m_memAux->setObjectName(QStringLiteral("memAux"));
    m_memAux->hide();

    // The found programs, to the right; shown only once discovery is given.
    m_lblEncontrados = new QLabel(this);
    m_lblEncontrados->setObjectName(QStringLiteral("lblEncontrados"));
    m_lblEncontrados->setGeometry(312, 8, 180, 15);
    m_lstEncontrados = new QListWidget(this);
    m_lstEncontrados->setObjectName(QStringLiteral("lstEncontrados"));
    m_lstEncontrados->setGeometry(312, 25, 180, 181);
    m_lblBusca = new QLabel(m_lstEncontrados);
    m_lblBusca->setObjectName(QStringLiteral("lblBusca"));
    m_lblBusca->setGeometry(4, 4, 172, 40);
    m_lblBusca->setWordWrap(true);
    m_lblEncontrados->hide();
    m_lstEncontrados->hide();
    m_lblBusca->hide();
    connect(m_lstEncontrados, &QListWidget::itemActivated, this, &TfrmEnviaComputador::foundChosen);
    // A found computer goes into the contact book from the list's context menu.
    m_mnuAdicionarContato = new QAction(m_lstEncontrados);
    m_mnuAdicionarContato->setObjectName(QStringLiteral("mnuAdicionarContato"));
    m_mnuAdicionarContato->setEnabled(false);
    m_lstEncontrados->addAction(m_mnuAdicionarContato);
    connect(m_mnuAdicionarContato, &QAction::triggered, this, &TfrmEnviaComputador::proposeFoundContact);
    connect(m_lstEncontrados, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        m_mnuAdicionarContato->setEnabled(item != nullptr && m_proposer != nullptr);
    });

    connect(m_txtPara, &QLineEdit::textChanged, this, &TfrmEnviaComputador::txtParaChange);
    connect(m_cmdEnviar, &QPushButton::clicked, this, &TfrmEnviaComputador::cmdEnviarClick);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &TfrmEnviaComputador::reject);
    connect(m_cmdAddress, &QToolButton::clicked, this, &TfrmEnviaComputador::cmdAddressClick);

    retranslateUi();
}

void TfrmEnviaComputador::retranslateUi()
{
    setWindowTitle(tr("Enviar para..."));
    m_label1->setText(tr("IP ou Nome do Computador:"));
    m_cmdAddress->setToolTip(tr("Caderno de Endereços e Contatos"));
    m_cmdEnviar->setText(tr("&Enviar"));
    m_cmdCancelar->setText(tr("&Cancelar"));
    m_label2->setText(tr("Status:"));
    m_lblEncontrados->setText(tr("Encontrados na rede:"));
    m_lstEncontrados->setToolTip(tr("Clique duas vezes para adicionar o computador"));
    m_lblBusca->setText(tr("Busca na rede indisponível"));
    m_mnuAdicionarContato->setText(tr("Adicionar à &Caderneta de Contatos..."));
    // Named after what stands beside them, for screen readers; the button shows only a picture.
    m_cmdAddress->setAccessibleName(m_cmdAddress->toolTip());
    m_memStatus->setAccessibleName(tr("Status"));
    m_lstEncontrados->setAccessibleName(tr("Encontrados na rede"));
}

void TfrmEnviaComputador::setDiscovery(PeerDiscovery *discovery)
{
    if (m_discovery)
        disconnect(m_discovery, nullptr, this, nullptr);
    m_discovery = discovery;
    const bool shown = discovery != nullptr;
    setFixedSize(shown ? 500 : 312, 214);
    m_lblEncontrados->setVisible(shown);
    m_lstEncontrados->setVisible(shown);
    if (discovery) {
        connect(discovery, &PeerDiscovery::peerFound, this, &TfrmEnviaComputador::fillFound);
        connect(discovery, &PeerDiscovery::peerRemoved, this, &TfrmEnviaComputador::fillFound);
        connect(discovery, &PeerDiscovery::availabilityChanged, this, &TfrmEnviaComputador::fillFound);
        connect(discovery, &QObject::destroyed, this, [this] { setDiscovery(nullptr); });
    }
    fillFound();
}

void TfrmEnviaComputador::fillFound()
{
    const QString current = m_lstEncontrados->currentItem() ? m_lstEncontrados->currentItem()->data(Qt::UserRole).toString()
                                                            : QString();
    m_lstEncontrados->clear();
    if (!m_discovery) {
        m_lblBusca->hide();
        return;
    }
    // Said once, in place of the list, for as long as the daemon is away.
    const bool unavailable = !m_discovery->isAvailable();
    m_lblBusca->setVisible(unavailable);
    for (const FoundPeer &peer : m_discovery->peers()) {
        auto *item = new QListWidgetItem(peer.name, m_lstEncontrados);
        item->setData(Qt::UserRole, peer.name);
        item->setData(Qt::UserRole + 1, peer.address);
        item->setData(Qt::UserRole + 2, int(peer.port));
        item->setData(Qt::UserRole + 3, peer.user);
        item->setData(Qt::UserRole + 4, peer.hostName);
        item->setToolTip(QStringLiteral("%1 (%2:%3)").arg(peer.hostName, peer.address).arg(peer.port));
        if (peer.name == current)
            m_lstEncontrados->setCurrentItem(item);
    }
}

void TfrmEnviaComputador::foundChosen(QListWidgetItem *item)
{
    if (m_sending || !item)
        return;
    const QString address = item->data(Qt::UserRole + 1).toString();
    const int port = item->data(Qt::UserRole + 2).toInt();
    if (address.isEmpty() || port <= 0)
        return;
    m_foundPorts.insert(address, quint16(port));
    m_txtPara->setText(Recipients::mergeChosen(m_txtPara->text(), {address}));
}

void TfrmEnviaComputador::setContactProposer(ContactProposer proposer)
{
    m_proposer = std::move(proposer);
    m_lstEncontrados->setContextMenuPolicy(m_proposer ? Qt::ActionsContextMenu : Qt::DefaultContextMenu);
    m_mnuAdicionarContato->setEnabled(m_proposer && m_lstEncontrados->currentItem());
}

void TfrmEnviaComputador::proposeFoundContact()
{
    const QListWidgetItem *item = m_lstEncontrados->currentItem();
    if (!item || !m_proposer)
        return;
    const QString address = item->data(Qt::UserRole + 1).toString();
    if (address.isEmpty())
        return;
    QString name = item->data(Qt::UserRole + 3).toString().trimmed();
    if (name.isEmpty())
        name = item->text();
    m_proposer(name, address, item->data(Qt::UserRole + 4).toString());
}

QString TfrmEnviaComputador::portFor(const QString &recipient) const
{
    const auto it = m_foundPorts.constFind(recipient.trimmed());
    return it != m_foundPorts.cend() ? QString::number(*it) : m_settings.recRede.PortTCP;
}

void TfrmEnviaComputador::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmEnviaComputador::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(kHelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmEnviaComputador::prepare(int tag, const std::optional<QString> &replyAddress)
{
    m_tag = tag;
    if (replyAddress)
        m_txtPara->setText(*replyAddress);
    txtParaChange(m_txtPara->text());
}

void TfrmEnviaComputador::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        m_memStatus->clear();
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(event);
}

void TfrmEnviaComputador::reject()
{
    // The send runs inside the click that started it; the dialog goes only once it is over.
    if (m_sending)
        return;
    QDialog::reject();
}

void TfrmEnviaComputador::closeEvent(QCloseEvent *event)
{
    if (m_sending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmEnviaComputador::txtParaChange(const QString &text)
{
    m_cmdEnviar->setEnabled(!m_sending && !text.isEmpty());
}

void TfrmEnviaComputador::setControlsEnabled(bool enabled)
{
    m_txtPara->setReadOnly(!enabled);
    m_cmdAddress->setEnabled(enabled);
    m_cmdCancelar->setEnabled(enabled);
    m_cmdEnviar->setEnabled(enabled && !m_txtPara->text().isEmpty());
}

void TfrmEnviaComputador::AddStatus(const QString &text)
{
    // One block per line: the editor drops the oldest block past kMaxStatusLines.
    m_memStatus->appendPlainText(text);
    m_memStatus->moveCursor(QTextCursor::End);
    m_memStatus->ensureCursorVisible();
}

void TfrmEnviaComputador::cmdAddressClick()
{
    if (m_sending || !m_chooser)
        return;
    const QStringList chosen = m_chooser();
    m_txtPara->setText(Recipients::mergeChosen(m_txtPara->text(), chosen));
}

void TfrmEnviaComputador::cmdEnviarClick()
{
    if (m_sending || m_txtPara->text().isEmpty())
        return;
    // The note travels as it is now: the user may go on editing, or delete it, while it is
    // on its way.
    const std::optional<NoteProtocol::OutgoingNote> note = m_noteSource ? m_noteSource(m_tag) : std::nullopt;
    if (!note)
        return;

    // Blanks around an address belong to the typing, not to the address; a field of commas and
    // blanks names no computer at all, and nothing can have been sent to it.
    QStringList recipients;
    for (const QString &entry : Recipients::split(m_txtPara->text())) {
        if (const QString address = entry.trimmed(); !address.isEmpty())
            recipients << address;
    }
    if (recipients.isEmpty()) {
        const QString text = tr("Nenhum endereço informado: digite o IP ou o nome de pelo menos um computador.");
        AddStatus(text);
        Dialogs::error(this, text);
        return;
    }

    m_sending = true;
    setControlsEnabled(false);
    bool failed = false;
    {
        WaitCursor hourglass;
        m_lstComputador->clear();
        m_lstComputador->addItems(recipients);
        m_memAux->setPlainText(NoteProtocol::textLines(note->text).join(QLatin1Char('\n')));
        for (const QString &recipient : recipients) {
            if (m_sender.stopped())
                break;
            const bool connected = m_sender.ConnectToComputer(recipient, portFor(recipient));
            bool sent = false;
            if (connected) {
                AddStatus(tr("Enviando para %1...").arg(recipient));
                AddStatus(tr("Transmitindo Nota..."));
                if (m_sender.sendNote(*note)) {
                    AddStatus(tr("OK!"));
                    m_sender.CloseNoteConnection();
                    AddStatus(tr("Nota Enviada!"));
                    sent = true;
                }
            }
            if (m_sender.stopped())
                break;
            if (!sent) {
                // Reached and then lost is not the same as never reached: part of the note may
                // stand on the other desktop.
                const QString text = connected
                                         ? tr("A conexão com %1 caiu durante o envio: a nota não chegou inteira!").arg(recipient)
                                         : tr("Não foi possível conectar em %1 !").arg(recipient);
                Dialogs::information(this, tr("Erro"), text);
                AddStatus(text);
                failed = true;
            }
        }
    }
    m_sending = false;
    setControlsEnabled(true);
    if (m_sender.stopped())
        return;
    if (!failed) {
        Dialogs::information(this, tr("Aviso"), tr("Nota Enviada!"));
        m_memAux->clear();
        accept();
    }
}
