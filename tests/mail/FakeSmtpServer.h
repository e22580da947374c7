#pragma once
#include "support/WaitUntil.h"
// A scripted SMTP server for the client's tests: one connection at a time on 127.0.0.1, every
// received line recorded, and a reply chosen per line by the test (standardReply() answers
// like an ordinary server). It can split replies across writes, stay silent, or drop the
// connection, which a real server will not do on demand.
#include <QElapsedTimer>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>
#include <functional>

class FakeSmtpServer : public QObject
{
    Q_OBJECT
public:
    FakeSmtpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &FakeSmtpServer::accept);
    }
    ~FakeSmtpServer() override
    {
        // A connection dies before the members its handlers touch.
        if (m_conn) {
            m_conn->disconnect(this);
            delete m_conn;
        }
    }

    quint16 listen()
    {
        if (!m_server.isListening())
            m_server.listen(QHostAddress::LocalHost, 0);
        return m_server.serverPort();
    }
    QString port() { return QString::number(listen()); }

    // Sent as soon as a connection is accepted; empty means say nothing.
    QByteArray greeting = "220 fake.corkvane ESMTP ready\r\n";
    // Chooses the reply to each command line; standardReply() when not set.
    std::function<void(const QByteArray &line)> onLine;
    // The answer to the "." that ends a message.
    QByteArray dataReply = "250 2.0.0 queued\r\n";

    QList<QByteArray> lines;     // every command line received, in order (message lines not included)
    QList<QByteArray> dataLines; // the lines of the last message, as received (still dot-stuffed)
    QByteArray raw;              // every byte received
    bool inData = false;
    int connections = 0;
    bool peerClosed = false;

    void send(const QByteArray &bytes)
    {
        if (m_conn)
            m_conn->write(bytes);
    }
    void sendLater(const QByteArray &bytes, int ms)
    {
        QTimer::singleShot(ms, this, [this, bytes] { send(bytes); });
    }
    void drop()
    {
        if (m_conn)
            m_conn->abort();
    }
    bool connected() const { return m_conn && m_conn->state() == QAbstractSocket::ConnectedState; }

    void standardReply(const QByteArray &line)
    {
        const QByteArray verb = line.left(4).toUpper();
        if (verb == "EHLO")
            send("250-fake.corkvane greets you\r\n250-AUTH PLAIN LOGIN CRAM-MD5\r\n250 8BITMIME\r\n");
        else if (verb == "HELO" || verb == "MAIL" || verb == "RCPT" || verb == "RSET" || verb == "VRFY")
            send("250 OK\r\n");
        else if (verb == "DATA") {
            inData = true;
            dataLines.clear();
            send("354 End data with <CR><LF>.<CR><LF>\r\n");
        } else if (verb == "QUIT") {
            send("221 Bye\r\n");
            if (m_conn)
                m_conn->disconnectFromHost();
        } else
            send("502 Command not implemented\r\n");
    }

private:
    void accept()
    {
        while (QTcpSocket *s = m_server.nextPendingConnection()) {
            if (m_conn) {
                s->abort();
                s->deleteLater();
                continue;
            }
            ++connections;
            m_conn = s;
            m_buffer.clear();
            inData = false;
            connect(s, &QTcpSocket::readyRead, this, &FakeSmtpServer::readSome);
            connect(s, &QTcpSocket::disconnected, this, [this, s] {
                peerClosed = true;
                if (m_conn == s)
                    m_conn = nullptr;
                s->deleteLater();
            });
            if (!greeting.isEmpty())
                s->write(greeting);
        }
    }

    void readSome()
    {
        if (!m_conn)
            return;
        const QByteArray bytes = m_conn->readAll();
        raw += bytes;
        m_buffer += bytes;
        qsizetype end;
        while ((end = m_buffer.indexOf("\r\n")) >= 0) {
            const QByteArray line = m_buffer.left(end);
            m_buffer.remove(0, end + 2);
            if (inData) {
                if (line == ".") {
                    inData = false;
                    send(dataReply);
                } else {
                    dataLines << line;
                }
                continue;
            }
            lines << line;
            if (onLine)
                onLine(line);
            else
                standardReply(line);
        }
    }

    QTcpServer m_server;
    QPointer<QTcpSocket> m_conn;
    QByteArray m_buffer;
};
