#pragma once
// The argument strings of the three AUTH mechanisms. Inputs and outputs are wire bytes
// (Windows-1252); base64 is the RFC 2045 alphabet in one unbroken string.
#include <QByteArray>

namespace SmtpAuth {

// HMAC (RFC 2104) over MD5: 64-byte blocks, inner pad 0x36, outer pad 0x5c.
QByteArray hmacMd5(const QByteArray &key, const QByteArray &message);

// base64(NUL user NUL password) (RFC 4616): no authorization identity, so the server lets the
// user act as themselves; the mail address is none of its business here.
QByteArray plainArgument(const QByteArray &user, const QByteArray &password);

// The challenge of a "334 <base64>" reply: the decoding of everything after its fourth character.
QByteArray cramMd5Challenge(const QByteArray &replyLine);

// base64(user + " " + the HMAC-MD5 digest of the challenge keyed with the password, as 32
// lower-case hexadecimal digits).
QByteArray cramMd5Answer(const QByteArray &user, const QByteArray &password, const QByteArray &challenge);

} // namespace SmtpAuth
