#include "mail/SmtpAuth.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

namespace SmtpAuth {

QByteArray hmacMd5(const QByteArray &key, const QByteArray &message)
{
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Md5);
}

QByteArray plainArgument(const QByteArray &user, const QByteArray &password)
{
    QByteArray raw;
    raw.append('\0');
    raw.append(user);
    raw.append('\0');
    raw.append(password);
    return raw.toBase64();
}

QByteArray cramMd5Challenge(const QByteArray &replyLine)
{
    return QByteArray::fromBase64(replyLine.mid(4));
}

QByteArray cramMd5Answer(const QByteArray &user, const QByteArray &password, const QByteArray &challenge)
{
    return (user + ' ' + hmacMd5(password, challenge).toHex()).toBase64();
}

} // namespace SmtpAuth
