#include "app/SendDialogs.h"

#include "app/StickyNote.h"
#include "mail/AddressBook.h"
#include "net/EnviaComputador.h"
#include "net/NoteSender.h"
#include "net/NoteServer.h"
#include "net/PeerDiscovery.h"
#include "notes/PostIt.h"

#include <QPlainTextEdit>
#include <QSysInfo>

SendDialogs::SendDialogs(TfStickyNote &controller) : QObject(&controller), m_controller(controller)
{
    m_sender = new NoteSender(controller.tmrConecta(), this);
}

SendDialogs::~SendDialogs()
{
    delete m_sendDialog;
    delete m_book;
}

TfrmAddressBook *SendDialogs::addressBook()
{
    if (!m_book) {
        m_book = new TfrmAddressBook(m_controller.storePath());
        connect(m_book, &TfrmAddressBook::helpRequested, &m_controller, &TfStickyNote::showHelp);
    }
    return m_book;
}

TfrmEnviaComputador *SendDialogs::sendDialog()
{
    if (!m_sendDialog) {
        m_sendDialog = new TfrmEnviaComputador(*m_sender, m_controller.settings());
        m_sendDialog->setNoteSource([this](int tag) -> std::optional<NoteProtocol::OutgoingNote> {
            const TfPostIt *note = m_controller.note(tag);
            if (!note)
                return std::nullopt;
            return outgoingNote(*note, m_controller.settings());
        });
        m_sendDialog->setRecipientChooser([this] { return chooseRecipients(); });
        m_sendDialog->setContactProposer([this](const QString &name, const QString &address,
                                                const QString &hostName) {
            TfrmAddressBook *book = addressBook();
            if (!book->isVisible())
                book->proposeContact({name, address, hostName});
        });
        connect(m_sendDialog, &TfrmEnviaComputador::helpRequested, &m_controller, &TfStickyNote::showHelp);
        m_sendDialog->setDiscovery(discovery());
    }
    return m_sendDialog;
}

void SendDialogs::openAddressBook()
{
    TfrmAddressBook *book = addressBook();
    // A book opened from the tray in the middle of a send would hold the send up until it
    // closes: the book waits for the send to end.
    if (book->isVisible() || (m_sendDialog && m_sendDialog->sending()))
        return;
    book->maintain();
}

QStringList SendDialogs::chooseRecipients()
{
    TfrmAddressBook *book = addressBook();
    if (book->isVisible())
        return {};
    return book->chooseRecipients();
}

void SendDialogs::openSendDialog(int tag, bool reply)
{
    const TfPostIt *note = m_controller.note(tag);
    TfrmEnviaComputador *dialog = sendDialog();
    if (!note || dialog->isVisible())
        return;
    dialog->prepare(tag, reply ? std::optional<QString>(note->ReplyAddress()) : std::nullopt);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

void SendDialogs::shutdown()
{
    m_sender->shutdown();
    if (m_discovery)
        m_discovery->withdraw();
}

PeerDiscovery *SendDialogs::discovery()
{
    if (!m_discovery)
        m_discovery = new PeerDiscovery(this);
    return m_discovery;
}

void SendDialogs::updateAnnouncement()
{
    const NoteServer *server = m_controller.noteServer();
    bool ok = false;
    const quint16 port = server && server->isListening() ? server->listeningPort().toUShort(&ok) : 0;
    if (!m_controller.settings().recRede.Enabled || !ok || port == 0) {
        if (m_discovery)
            m_discovery->withdraw();
        return;
    }
    QString user = m_controller.settings().recGeral.User.trimmed();
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    discovery()->announce(port, user, QSysInfo::machineHostName());
}

NoteProtocol::OutgoingNote SendDialogs::outgoingNote(const TfPostIt &note, const AppSettings &settings)
{
    NoteProtocol::OutgoingNote out;
    out.user = settings.recGeral.User;
    out.title = note.title();
    out.colour = note.color();
    if (const auto *text = note.findChild<QPlainTextEdit *>(QStringLiteral("memPostit"))) {
        out.textWidth = text->width();
        out.textHeight = text->height();
    }
    out.captionColour = note.captionColour();
    out.font = note.noteFont();
    out.alarm.armed = note.alarm();
    if (out.alarm.armed) {
        out.alarm.moment = note.alarmDateTime();
        out.alarm.useSound = note.useSound();
        out.alarm.soundFile = note.soundFile();
        out.alarm.remember = note.remember();
        out.alarm.rememberNo = note.rememberNo();
        out.alarm.rememberUnit = note.rememberUnit();
        out.alarm.dia = note.dia();
    }
    out.text = note.text();
    return out;
}
