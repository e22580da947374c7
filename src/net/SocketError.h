#pragma once
// Socket failures are reported with the Windows Sockets error numbers the rest of the program
// (and its messages) speak, whatever the platform underneath reports.
#include <QByteArray>
#include <QString>
#include <exception>
#include <stdexcept>

namespace SocketErrors {

inline constexpr int NoError = 0;
inline constexpr int Interrupted = 10004;        // a cancelled name lookup
inline constexpr int InvalidArgument = 10022;
inline constexpr int WouldBlock = 10035;
inline constexpr int NotASocket = 10038;
inline constexpr int ConnectionAborted = 10053;
inline constexpr int ConnectionReset = 10054;
inline constexpr int NoBufferSpace = 10055;
inline constexpr int NotConnected = 10057;
inline constexpr int TimedOut = 10060;
inline constexpr int ConnectionRefused = 10061;
inline constexpr int AddressInUse = 10048;
inline constexpr int HostNotFound = 11001;
// Beyond the Windows Sockets table: the TLS layer's own failures.
inline constexpr int TlsFailed = 12100;
inline constexpr int TlsCertificateRejected = 12101;

// The fixed text for a code; "Not a WinSock error" for any code outside the table.
QString text(int code);

// Maps a Linux errno value onto the code of the table (unknown values map to themselves,
// which the table then calls "Not a WinSock error").
int fromErrno(int err);

// Maps a getaddrinfo() failure (EAI_*) onto 11001..11004 or the errno mapping for EAI_SYSTEM.
int fromResolver(int gaiError, int savedErrno);

} // namespace SocketErrors

// Raised by the socket layer for misuse and for failing platform calls.
class ESocketError : public std::runtime_error
{
public:
    // A plain message (argument checks, resolution failures). code() is 0.
    explicit ESocketError(const QString &message);
    // A failing platform call: "Error <code> in function <function>" CR LF "<text of code>".
    ESocketError(int code, const QString &function);

    int code() const { return m_code; }
    QString function() const { return m_function; }
    QString message() const { return QString::fromLatin1(what()); }

private:
    int m_code = 0;
    QString m_function;
};

// The class name of an exception object as the program shows it in logs ("ESocketError").
QString exceptionClassName(const std::exception &e);
