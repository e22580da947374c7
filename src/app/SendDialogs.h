#pragma once
// The controller's side of sending notes: the sender with its socket sockCliente, the
// send-to-computer dialog and the contact book. The dialogs are made on first use and reused;
// this is also where the dialogs of the two subsystems meet (the send dialog asks the contact
// book for recipients through a callback set here).
#include "net/NoteProtocol.h"

#include <QObject>
#include <QStringList>

class NoteSender;
class PeerDiscovery;
class TfPostIt;
class TfStickyNote;
class TfrmAddressBook;
class TfrmEnviaComputador;
struct AppSettings;

class SendDialogs : public QObject
{
    Q_OBJECT

public:
    explicit SendDialogs(TfStickyNote &controller);
    ~SendDialogs() override;

    NoteSender &sender() const { return *m_sender; }
    TfrmAddressBook *addressBook();
    TfrmEnviaComputador *sendDialog();

    // "&Caderneta de Contatos": the book without its recipient panel, modal.
    void openAddressBook();
    // The book with its recipient panel, modal; the addresses chosen.
    QStringList chooseRecipients();
    // "&Para um Computador..." (reply false) and "&Responder para Computador..." (reply true)
    // of note `tag`: the dialog shows modally and the call returns at once.
    void openSendDialog(int tag, bool reply);
    // Part of the program's shutdown: sockCliente closed, a send in progress stops, the
    // announcement on the local network withdrawn.
    void shutdown();

    // Announces this program on the local network while networking is on and the note server
    // listens (on the port it listens on), withdraws it otherwise. Called whenever the server
    // starts, stops or moves.
    void updateAnnouncement();
    // Made on first use: a program that never networks never talks to the DNS-SD daemon.
    PeerDiscovery *discovery();

    // What a note sends: its title, colours, text area size, font, alarm and text.
    static NoteProtocol::OutgoingNote outgoingNote(const TfPostIt &note, const AppSettings &settings);

private:
    TfStickyNote &m_controller;
    NoteSender *m_sender = nullptr;
    TfrmAddressBook *m_book = nullptr;
    TfrmEnviaComputador *m_sendDialog = nullptr;
    PeerDiscovery *m_discovery = nullptr;
};
