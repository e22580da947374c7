#pragma once
// TfrmEnviarEmail, "Enviar E-Mail": mails one note through the configured SMTP server. One
// instance serves the whole run and keeps its TSmtpClient for every mail.
//
// A send runs Open, Mail and Quit, each awaited in a nested event loop bounded by tmrTimeOut,
// so the other windows, the alarms and the note server keep working meanwhile. While it runs
// the dialog cannot be closed, and "&Cancelar" (or Esc) aborts it at once.
#include "mail/SmtpClient.h"
#include "store/AppSettings.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QEventLoop;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

class TfrmEnviarEmail : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHelpContext = 8;
    static constexpr int kTimeOutMs = 30000;

    // `settings` is read at each send (server, port, security, authentication, own address,
    // user name).
    explicit TfrmEnviarEmail(const AppSettings *settings, QWidget *parent = nullptr);
    ~TfrmEnviarEmail() override;

    // Fills the subject ("Corkvane - " + title) and the text (CR LF, LF or CR breaks) from a
    // note. Refused while a mail is being sent.
    void prepare(const QString &title, const QString &text);

    // The contact book's choice: shown modally, it answers the addresses picked. Without a
    // chooser the address button is hidden.
    void setAddressChooser(std::function<QStringList()> chooser);
    // The product's web address written in the footer of every mail.
    void setWebAddress(std::function<QString()> address);

    // The message lines sent for a text as the editor holds it: its lines, then the user's
    // name and the footer, with the three empty lines before each of those. A line too long
    // for SMTP is sent as several, broken after the last blank that keeps each within the
    // limit (anywhere when there is none), so no character is lost.
    static QStringList messageLines(const QString &text, const QString &user, const QString &webAddress);
    // The failure box's text: the fixed sentence, then the reply line that failed the send
    // (a refused login: "535 5.7.8 Authentication credentials invalid") when there was one.
    static QString failureText(const QString &reply);
    // The addresses of a "Para" field: its pieces between commas without their surrounding
    // blanks, empty ones left out.
    static QStringList addressesOf(const QString &para);

    bool sending() const { return m_sending; }
    TSmtpClient *smtpClient() const { return m_smtpClient; }
    QTimer &tmrTimeOut() { return m_tmrTimeOut; }
    // Tests shorten the wait; the same timer and code path run.
    void setTimeOutInterval(int ms) { m_tmrTimeOut.setInterval(ms); }
    // A PEM file of authorities trusted besides the system's, handed to the client at each
    // send (a private authority in tests); empty for none.
    void setTrustAnchorFile(const QString &file) { m_trustAnchorFile = file; }

    // The handling of "&Enviar" and "&Cancelar".
    void cmdEnviarClick();
    void cmdCancelarClick();
    void cmdAddressClick();

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
    void layOutSubjectRow();
    void txtParaChange();
    void setStatus(const QString &text);
    void setSendingState(bool sending);
    // Waits until `condition` holds; throws on time-out, cancel or the application quitting.
    void waitFor(const std::function<bool()> &condition);
    void checkWait();
    void attachClient();

    const AppSettings *m_settings = nullptr;
    std::function<QStringList()> m_chooser;
    std::function<QString()> m_webAddress;
    QString m_trustAnchorFile;

    QLabel *m_label1 = nullptr;
    QLineEdit *m_txtPara = nullptr;
    QToolButton *m_cmdAddress = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_lblAssunto = nullptr;
    QLabel *m_label3 = nullptr;
    QPlainTextEdit *m_memTexto = nullptr;
    QPushButton *m_cmdEnviar = nullptr;
    QPushButton *m_cmdCancelar = nullptr;
    QPushButton *m_cmdFechar = nullptr;
    QStatusBar *m_stsEMail = nullptr;
    QTimer m_tmrTimeOut;
    TSmtpClient *m_smtpClient = nullptr;

    bool m_sending = false;
    bool m_cancelled = false;
    bool m_quitting = false;
    bool m_timedOut = false;
    // The Open and Mail requests whose ends are awaited, and how they ended.
    bool m_openPending = false;
    bool m_openDone = false;
    bool m_mailPending = false;
    bool m_mailDone = false;
    quint16 m_mailResult = 0;
    // The server's reply (or the client's own failure text) that failed the send first.
    QString m_failureReply;
    QEventLoop *m_waitLoop = nullptr;
    std::function<bool()> m_waitCondition;
    bool m_waitQuitByUs = false;
};
