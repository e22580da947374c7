#include "mail/EnviarEmail.h"

#include "platform/Dialogs.h"
#include "platform/Recipients.h"
#include "platform/WindowTitle.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

namespace {

const QString kDashes(44, QLatin1Char('-'));
const QString kBlankLines = QStringLiteral("\r\n\r\n");

// The contact book button's picture: a closed book with a spine and a few lines on its cover.
QIcon addressBookIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0x40, 0x20, 0x10));
    p.setBrush(QColor(0xA0, 0x40, 0x20));
    p.drawRect(2, 1, 11, 13);
    p.setBrush(QColor(0x60, 0x20, 0x10));
    p.drawRect(2, 1, 2, 13);
    p.setPen(QColor(0xF0, 0xE0, 0xC0));
    for (int y : {4, 6, 8})
        p.drawLine(6, y, 11, y);
    return QIcon(pm);
}

// A header value is one line: a line break in a title (a received note's, say) or in a chosen
// address would otherwise start header lines of its own in the mail.
QString oneLine(QString value)
{
    return value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

// Breaks a message line into lines that SMTP carries whole: each at most the protocol's line
// length, one less when it begins with "." (the dot the client doubles counts too).
QStringList wrappedLine(const QString &line)
{
    QStringList out;
    QString rest = line;
    for (;;) {
        const int limit = MailComposer::kMaxTextLineLength - (rest.startsWith(QLatin1Char('.')) ? 1 : 0);
        if (rest.size() <= limit)
            break;
        int cut = -1;
        for (int i = limit - 1; i > 0; --i) {
            if (rest.at(i) == QLatin1Char(' ') || rest.at(i) == QLatin1Char('\t')) {
                cut = i + 1; // the blank ends the earlier line, so joining the lines gives the text
                break;
            }
        }
        if (cut < 0) {
            cut = limit;
            // One character in two halves would arrive as two unknown ones.
            if (rest.at(cut - 1).isHighSurrogate())
                --cut;
        }
        out << rest.left(cut);
        rest = rest.mid(cut);
    }
    out << rest;
    return out;
}

// The store keeps the mechanism as a number; one it does not know sends no credentials.
TSmtpAuthType authTypeOf(int stored)
{
    return stored >= smtpAuthPlain && stored <= smtpAuthCramMD5 ? static_cast<TSmtpAuthType>(stored) : smtpAuthNone;
}

} // namespace

TfrmEnviarEmail::TfrmEnviarEmail(const AppSettings *settings, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_settings(settings)
{
    setObjectName(QStringLiteral("frmEnviarEmail"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    setFixedSize(323, 224);
    setModal(true);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(8, 11, 44, 15);

    m_txtPara = new QLineEdit(this);
    m_txtPara->setObjectName(QStringLiteral("txtPara"));
    m_txtPara->setGeometry(56, 8, 231, 21);
    m_label1->setBuddy(m_txtPara);

    m_cmdAddress = new QToolButton(this);
    m_cmdAddress->setObjectName(QStringLiteral("cmdAddress"));
    m_cmdAddress->setGeometry(292, 7, 23, 23);
    m_cmdAddress->setIcon(addressBookIcon());
    m_cmdAddress->setVisible(false);

    m_label2 = new QLabel(this);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setGeometry(8, 36, 48, 15);

    m_lblAssunto = new QLabel(this);
    m_lblAssunto->setObjectName(QStringLiteral("lblAssunto"));
    m_lblAssunto->setGeometry(56, 36, 259, 15);
    QPalette maroon = m_lblAssunto->palette();
    maroon.setColor(QPalette::WindowText, QColor(0x80, 0, 0));
    m_lblAssunto->setPalette(maroon);

    m_label3 = new QLabel(this);
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label3->setGeometry(8, 56, 48, 15);

    m_memTexto = new QPlainTextEdit(this);
    m_memTexto->setObjectName(QStringLiteral("memTexto"));
    m_memTexto->setGeometry(8, 72, 307, 90);
    m_memTexto->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_memTexto->setTabChangesFocus(true);
    m_label3->setBuddy(m_memTexto);

    m_cmdEnviar = new QPushButton(this);
    m_cmdEnviar->setObjectName(QStringLiteral("cmdEnviar"));
    m_cmdEnviar->setGeometry(8, 170, 75, 25);
    m_cmdEnviar->setDefault(true);
    m_cmdEnviar->setEnabled(false);

    m_cmdCancelar = new QPushButton(this);
    m_cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    m_cmdCancelar->setGeometry(88, 170, 75, 25);
    m_cmdCancelar->setAutoDefault(false);
    m_cmdCancelar->setEnabled(false);

    m_cmdFechar = new QPushButton(this);
    m_cmdFechar->setObjectName(QStringLiteral("cmdFechar"));
    m_cmdFechar->setGeometry(240, 170, 75, 25);
    m_cmdFechar->setAutoDefault(false);

    m_stsEMail = new QStatusBar(this);
    m_stsEMail->setObjectName(QStringLiteral("stsEMail"));
    m_stsEMail->setSizeGripEnabled(false);
    m_stsEMail->setGeometry(0, 204, 323, 20);

    setTabOrder(m_txtPara, m_cmdAddress);
    setTabOrder(m_cmdAddress, m_cmdEnviar);
    setTabOrder(m_cmdEnviar, m_cmdCancelar);
    setTabOrder(m_cmdCancelar, m_memTexto);
    setTabOrder(m_memTexto, m_cmdFechar);

    m_tmrTimeOut.setObjectName(QStringLiteral("tmrTimeOut"));
    m_tmrTimeOut.setInterval(kTimeOutMs);
    m_tmrTimeOut.setSingleShot(true);
    connect(&m_tmrTimeOut, &QTimer::timeout, this, &TfrmEnviarEmail::checkWait);

    m_smtpClient = new TSmtpClient(this);
    m_smtpClient->setObjectName(QStringLiteral("SmtpClient"));
    m_smtpClient->setLocalAddr(QStringLiteral("0.0.0.0"));
    m_smtpClient->setPort(QStringLiteral("smtp"));
    m_smtpClient->setAuthType(smtpAuthNone);
    m_smtpClient->setCharSet(QString::fromLatin1(MailComposer::kTextCharset));
    m_smtpClient->setContentType(smtpPlainText);
    m_smtpClient->setOwnHeaders(false);
    attachClient();

    retranslateUi();

    connect(m_txtPara, &QLineEdit::textChanged, this, &TfrmEnviarEmail::txtParaChange);
    connect(m_cmdAddress, &QToolButton::clicked, this, &TfrmEnviarEmail::cmdAddressClick);
    connect(m_cmdEnviar, &QPushButton::clicked, this, &TfrmEnviarEmail::cmdEnviarClick);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &TfrmEnviarEmail::cmdCancelarClick);
    connect(m_cmdFechar, &QPushButton::clicked, this, &QDialog::reject);
}

TfrmEnviarEmail::~TfrmEnviarEmail()
{
    // The client's notifications must not reach a half-destroyed dialog.
    m_smtpClient->OnCommand = nullptr;
    m_smtpClient->OnSessionConnected = nullptr;
    m_smtpClient->OnSessionClosed = nullptr;
    m_smtpClient->OnStateChange = nullptr;
    m_smtpClient->OnRequestDone = nullptr;
}

void TfrmEnviarEmail::attachClient()
{
    m_smtpClient->OnCommand = [this](TSmtpClientBase *, const QString &msg) {
        setStatus(msg);
        // Only repaints: a button pressed here would run inside the client's own call.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    m_smtpClient->OnSessionConnected = [this](TSmtpClientBase *, int) { setStatus(tr("Conectado!")); };
    m_smtpClient->OnSessionClosed = [this](TSmtpClientBase *, int) {
        setStatus(tr("Conexão Terminada!"));
        checkWait();
    };
    m_smtpClient->OnStateChange = [this](TSmtpClientBase *, TSmtpState) { checkWait(); };
    m_smtpClient->OnRequestDone = [this](TSmtpClientBase *, TSmtpRequest rq, quint16 error) {
        const bool awaited = (rq == smtpOpen && m_openPending) || (rq == smtpMail && m_mailPending);
        if (!awaited) {
            checkWait();
            return;
        }
        // Read now: the next request clears it. The first failure is the one that explains
        // the rest (a refused AUTH, then the MAIL FROM refused for want of it).
        if (error != 0 && !m_cancelled && m_failureReply.isEmpty())
            m_failureReply = m_smtpClient->ErrorMessage();
        if (rq == smtpOpen) {
            m_openPending = false;
            m_openDone = true;
        } else {
            m_mailPending = false;
            m_mailDone = true;
            m_mailResult = error;
        }
        checkWait();
    };
}

void TfrmEnviarEmail::retranslateUi()
{
    setWindowTitle(tr("Enviar E-Mail"));
    m_label1->setText(tr("&Para:"));
    m_cmdAddress->setToolTip(tr("Caderno de Endereços e Contatos"));
    // The subject is shown, not typed: its caption marks no access key.
    m_label2->setText(tr("Assunto:"));
    m_label3->setText(tr("Te&xto:"));
    m_cmdEnviar->setText(tr("&Enviar"));
    m_cmdCancelar->setText(tr("&Cancelar"));
    m_cmdFechar->setText(tr("&Fechar"));
    // A button that shows only a picture is named by its hint.
    m_cmdAddress->setAccessibleName(m_cmdAddress->toolTip());
    layOutSubjectRow();
}

void TfrmEnviarEmail::layOutSubjectRow()
{
    // As wide as the caption needs in the desktop's font and language; the subject follows it.
    const QRect caption = m_label2->geometry();
    m_label2->setGeometry(caption.x(), caption.y(), qMax(48, m_label2->sizeHint().width()), caption.height());
    const int left = qMax(56, m_label2->geometry().right() + 5);
    const QRect subject = m_lblAssunto->geometry();
    m_lblAssunto->setGeometry(left, subject.y(), width() - 8 - left, subject.height());
}

void TfrmEnviarEmail::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmEnviarEmail::prepare(const QString &title, const QString &text)
{
    if (m_sending)
        return;
    m_lblAssunto->setText(QStringLiteral("Corkvane - ") + oneLine(title));
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_memTexto->setPlainText(plain);
}

void TfrmEnviarEmail::setAddressChooser(std::function<QStringList()> chooser)
{
    m_chooser = std::move(chooser);
    m_cmdAddress->setVisible(bool(m_chooser));
}

void TfrmEnviarEmail::setWebAddress(std::function<QString()> address)
{
    m_webAddress = std::move(address);
}

void TfrmEnviarEmail::showEvent(QShowEvent *event)
{
    if (!m_sending) {
        m_txtPara->clear();
        // The "Para" rule holds from the start: an empty field would send "RCPT TO:<>".
        txtParaChange();
        m_cmdCancelar->setEnabled(false);
        m_cmdFechar->setEnabled(true);
        m_stsEMail->clearMessage();
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
        m_txtPara->setFocus();
    }
    QDialog::showEvent(event);
}

void TfrmEnviarEmail::closeEvent(QCloseEvent *event)
{
    // A send in progress still runs this dialog's wait; it ends through "&Cancelar".
    if (m_sending) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmEnviarEmail::reject()
{
    if (!m_sending)
        QDialog::reject();
}

void TfrmEnviarEmail::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        emit helpRequested(kHelpContext);
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        // Esc is the cancel button's key, and that button only works while a mail goes out.
        if (m_cmdCancelar->isEnabled())
            m_cmdCancelar->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmEnviarEmail::txtParaChange()
{
    if (!m_sending)
        m_cmdEnviar->setEnabled(!m_txtPara->text().isEmpty());
}

void TfrmEnviarEmail::cmdAddressClick()
{
    if (!m_chooser || m_sending)
        return;
    // A contact's address may carry blanks of its own; the field shows the address.
    QStringList chosen;
    for (const QString &address : m_chooser()) {
        if (!address.trimmed().isEmpty())
            chosen << address.trimmed();
    }
    m_txtPara->setText(Recipients::mergeChosen(m_txtPara->text(), chosen));
}

void TfrmEnviarEmail::setStatus(const QString &text)
{
    m_stsEMail->showMessage(text);
}

void TfrmEnviarEmail::setSendingState(bool sending)
{
    m_cmdEnviar->setEnabled(!sending && !m_txtPara->text().isEmpty());
    m_cmdFechar->setEnabled(!sending);
    m_cmdCancelar->setEnabled(sending);
}

QStringList TfrmEnviarEmail::messageLines(const QString &text, const QString &user, const QString &webAddress)
{
    // The editor's lines as its line list counts them: none for an empty text, and a final
    // line break ends the last line instead of starting an empty one.
    QStringList editorLines;
    if (!text.isEmpty()) {
        editorLines = text.split(QLatin1Char('\n'));
        if (editorLines.last().isEmpty())
            editorLines.removeLast();
    }
    QStringList lines;
    for (const QString &line : std::as_const(editorLines))
        lines << wrappedLine(line);
    lines << kBlankLines << wrappedLine(user) << kBlankLines << kDashes << tr("Este e-mail foi enviado pelo Corkvane")
          << tr("Faça o download gratuíto em") << wrappedLine(webAddress) << kDashes;
    return lines;
}

QStringList TfrmEnviarEmail::addressesOf(const QString &para)
{
    QStringList addresses;
    for (const QString &piece : para.split(QLatin1Char(','))) {
        const QString address = piece.trimmed();
        if (!address.isEmpty())
            addresses << address;
    }
    return addresses;
}

void TfrmEnviarEmail::checkWait()
{
    if (!m_waitLoop)
        return;
    if (m_cancelled || !m_tmrTimeOut.isActive() || (m_waitCondition && m_waitCondition())) {
        m_waitQuitByUs = true;
        m_waitLoop->quit();
    }
}

void TfrmEnviarEmail::waitFor(const std::function<bool()> &condition)
{
    m_tmrTimeOut.start();
    QTimer poll;
    poll.setInterval(100);
    connect(&poll, &QTimer::timeout, this, &TfrmEnviarEmail::checkWait);
    poll.start();
    for (;;) {
        if (m_cancelled)
            throw ESmtpError(QStringLiteral("Cancelled"));
        if (condition())
            break;
        if (!m_tmrTimeOut.isActive()) {
            m_timedOut = true;
            setStatus(QStringLiteral("Timeout!!!"));
            throw ESmtpError(QStringLiteral("Timeout"));
        }
        QEventLoop loop;
        m_waitLoop = &loop;
        m_waitCondition = condition;
        m_waitQuitByUs = false;
        loop.exec();
        m_waitLoop = nullptr;
        m_waitCondition = nullptr;
        if (!m_waitQuitByUs) {
            // The application is quitting: its loops are told to end, this one included.
            m_quitting = true;
            m_cancelled = true;
        }
    }
    m_tmrTimeOut.stop();
}

void TfrmEnviarEmail::cmdEnviarClick()
{
    if (m_sending || m_txtPara->text().isEmpty())
        return;
    // Commas and blanks alone name nobody: nothing could be delivered, so nothing is sent.
    const QStringList addresses = addressesOf(m_txtPara->text());
    if (addresses.isEmpty()) {
        Dialogs::error(this, tr("Informe ao menos um endereço de e-mail em \"Para\"."));
        m_txtPara->setFocus();
        return;
    }
    const NetworkSettings net = m_settings ? m_settings->recRede : NetworkSettings{};
    const GeneralSettings general = m_settings ? m_settings->recGeral : GeneralSettings{};

    // The previous mail's QUIT may still await its answer; that mail is done with.
    if (m_smtpClient->Connected() || m_smtpClient->State() != smtpReady)
        m_smtpClient->Abort();
    QCoreApplication::sendPostedEvents(m_smtpClient);

    m_sending = true;
    m_cancelled = false;
    m_quitting = false;
    m_timedOut = false;
    m_openPending = false;
    m_openDone = false;
    m_mailPending = false;
    m_mailDone = false;
    m_mailResult = 0;
    m_failureReply.clear();
    bool ok = false;
    QString securityFailure;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        setStatus(tr("Conectando ao Servidor..."));
        setSendingState(true);

        m_smtpClient->setHost(net.SMTPServer);
        m_smtpClient->setPort(net.SMTPPort);
        const TSmtpAuthType auth = authTypeOf(net.Authtype);
        if (auth != smtpAuthNone) {
            m_smtpClient->setUsername(net.Username);
            m_smtpClient->setPassword(net.Password);
        }
        m_smtpClient->setAuthType(auth);
        m_smtpClient->setSecurity(smtpSecurityFromStore(net.SMTPSecurity));
        m_smtpClient->setTrustAnchorFile(m_trustAnchorFile);

        m_openPending = true;
        m_smtpClient->Open();
        waitFor([this] { return m_smtpClient->Connected(); });

        m_smtpClient->setFromName(net.Email);
        // Every recipient of the field, however long it is.
        m_smtpClient->setRcptName(addresses);
        QCoreApplication::processEvents();

        m_smtpClient->setHdrFrom(net.Email);
        m_smtpClient->setHdrTo(oneLine(addresses.join(QStringLiteral(", "))));
        m_smtpClient->setHdrSubject(m_lblAssunto->text());
        m_smtpClient->setMailMessage(
            messageLines(m_memTexto->toPlainText(), general.User, m_webAddress ? m_webAddress() : QString()));

        // Until Open has reported its end: how it ended is read there, before Mail begins.
        waitFor([this] { return m_smtpClient->State() == smtpReady && m_openDone; });

        m_mailPending = true;
        m_smtpClient->Mail();
        waitFor([this] { return m_smtpClient->State() == smtpReady && m_mailDone; });

        m_smtpClient->Quit();
        ok = m_mailResult == 0;
    } catch (const std::exception &) {
        ok = false;
    }
    if (!ok) {
        // Read before the abort: a refused certificate is the user's to know about, and
        // "check the network settings" would send them looking in the wrong place.
        securityFailure = m_smtpClient->securityFailureText();
        m_openPending = false;
        m_mailPending = false;
        m_smtpClient->Abort();
        // The closing connection reports itself; the reason it was closed matters more.
        if (m_timedOut)
            setStatus(QStringLiteral("Timeout!!!"));
    }
    m_tmrTimeOut.stop();
    QApplication::restoreOverrideCursor();
    m_sending = false;
    setSendingState(false);

    if (m_quitting)
        return;
    if (ok)
        Dialogs::message(this, QMessageBox::Warning, tr("Aviso"), tr("O e-mail foi enviado com sucesso!"));
    else if (!securityFailure.isEmpty())
        Dialogs::message(this, QMessageBox::Critical, tr("Erro"), securityFailure);
    else
        Dialogs::message(this, QMessageBox::Critical, tr("Erro"), failureText(m_cancelled ? QString() : m_failureReply));
    // A cancelled send leaves the dialog open, so the mail can be sent again as it stands.
    if (!m_cancelled)
        accept();
}

QString TfrmEnviarEmail::failureText(const QString &reply)
{
    const QString text = tr("O e-mail não foi enviado! Verifique as configurações de rede.");
    // On a line of its own: the box reads the first line to tell plain text from markup, and
    // the reply is the server's text.
    return reply.isEmpty() ? text : text + QStringLiteral("\n\n") + reply;
}

void TfrmEnviarEmail::cmdCancelarClick()
{
    if (!m_sending || m_cancelled)
        return;
    m_cancelled = true;
    m_cmdCancelar->setEnabled(false);
    m_smtpClient->Abort();
    try {
        m_smtpClient->Quit();
    } catch (const std::exception &) {
        // Nothing is connected any more after the abort; there is nobody to say goodbye to.
    }
    checkWait();
}
