#include "net/TlsSession.h"

#include "platform/Modules.h"

TlsSession::TlsSession(const TlsOptions &options)
{
    QString error;
    const auto create = reinterpret_cast<NewTlsEngine>(Modules::resolve(QString::fromLatin1(kTlsModule),
                                                                        kNewTlsEngineSymbol, &error));
    if (create)
        m_engine.reset(create(options));
    else
        m_loadError = QStringLiteral("TLS is not available: %1").arg(error);
}

TlsSession::~TlsSession() = default;

TlsSession::Status TlsSession::start()
{
    return m_engine ? m_engine->start() : Failed;
}

void TlsSession::feed(const char *data, qsizetype len)
{
    if (m_engine)
        m_engine->feed(data, len);
}

TlsSession::Status TlsSession::handshake()
{
    return m_engine ? m_engine->handshake() : Failed;
}

bool TlsSession::established() const
{
    return m_engine && m_engine->established();
}

TlsSession::Status TlsSession::read(QByteArray &out)
{
    return m_engine ? m_engine->read(out) : Failed;
}

bool TlsSession::write(const char *data, qsizetype len)
{
    return m_engine && m_engine->write(data, len);
}

void TlsSession::shutdown()
{
    if (m_engine)
        m_engine->shutdown();
}

QByteArray TlsSession::takeOutgoing()
{
    return m_engine ? m_engine->takeOutgoing() : QByteArray();
}

QString TlsSession::errorText() const
{
    return m_engine ? m_engine->errorText() : m_loadError;
}

bool TlsSession::certificateFailed() const
{
    return m_engine && m_engine->certificateFailed();
}

QString TlsSession::description() const
{
    return m_engine ? m_engine->description() : QString();
}
