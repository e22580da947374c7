#pragma once
// The send-to-computer dialog "Enviar para..." (TfrmEnviaComputador): sends one note to every
// computer listed in txtPara, one connection each, through the controller's NoteSender, and
// logs each step in memStatus. The dialog never sees a note window: the controller hands it a
// copy of the note's data when the send starts, and the contact book's choice through a
// callback.
#include "net/NoteProtocol.h"
#include "store/AppSettings.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <optional>

class NoteSender;
class PeerDiscovery;
class QListWidgetItem;
struct FoundPeer;
class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

class TfrmEnviaComputador : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHelpContext = 9;
    static constexpr int kMaxStatusLines = 1000;

    // The note of a NoteTable slot as it would travel now; empty when the slot is empty.
    using NoteSource = std::function<std::optional<NoteProtocol::OutgoingNote>(int tag)>;
    // Shows the contact book for choosing recipients and returns the chosen addresses.
    using RecipientChooser = std::function<QStringList()>;
    // Offers a found program to the contact book: the user's name, the address the found list
    // adds to txtPara, and the computer's host name as a remark.
    using ContactProposer = std::function<void(const QString &name, const QString &address,
                                               const QString &hostName)>;

    // `settings` gives the port dialled (PortTCP) and is read at each send.
    TfrmEnviaComputador(NoteSender &sender, const AppSettings &settings, QWidget *parent = nullptr);

    void setNoteSource(NoteSource source) { m_noteSource = std::move(source); }
    void setRecipientChooser(RecipientChooser chooser) { m_chooser = std::move(chooser); }
    // Without a proposer the found list has no "add to the contact book" entry.
    void setContactProposer(ContactProposer proposer);
    // The programs found on the local network are listed beside txtPara (lstEncontrados),
    // live; choosing one adds its address, and the send dials the port that program announced.
    void setDiscovery(PeerDiscovery *discovery);
    // The port dialled for `recipient`: the announced one for an address chosen from the found
    // programs, PortTCP for any other.
    QString portFor(const QString &recipient) const;

    // The dialog's Tag: the NoteTable slot of the note to send. A reply also puts the note's
    // ReplyAddress into txtPara; otherwise txtPara keeps what it held last time.
    void prepare(int tag, const std::optional<QString> &replyAddress = std::nullopt);
    int Tag() const { return m_tag; }

    // One line of the status log; the oldest line goes once there are more than 1000.
    void AddStatus(const QString &text);

    void cmdEnviarClick();
    void cmdAddressClick();
    // True while a send is running (the dialog cannot be closed or re-entered then).
    bool sending() const { return m_sending; }

signals:
    void helpRequested(int context);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void setControlsEnabled(bool enabled);
    void txtParaChange(const QString &text);
    void fillFound();
    void foundChosen(QListWidgetItem *item);
    void proposeFoundContact();

    NoteSender &m_sender;
    const AppSettings &m_settings;
    NoteSource m_noteSource;
    RecipientChooser m_chooser;
    int m_tag = -1;
    bool m_sending = false;

    QLabel *m_label1 = nullptr;
    QLineEdit *m_txtPara = nullptr;
    QToolButton *m_cmdAddress = nullptr;
    QPushButton *m_cmdEnviar = nullptr;
    QPushButton *m_cmdCancelar = nullptr;
    QLabel *m_label2 = nullptr;
    QPlainTextEdit *m_memStatus = nullptr;
    QListWidget *m_lstComputador = nullptr;
    QPlainTextEdit *m_memAux = nullptr;

    QPointer<PeerDiscovery> m_discovery;
    QHash<QString, quint16> m_foundPorts; // address chosen from the list -> its announced port
    QLabel *m_lblEncontrados = nullptr;
    QListWidget *m_lstEncontrados = nullptr;
    QAction *m_mnuAdicionarContato = nullptr;
    ContactProposer m_proposer;
    QLabel *m_lblBusca = nullptr;
};
