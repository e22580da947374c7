#pragma once
// A private certificate authority made on the spot, and server certificates from it (or from
// a stranger authority), written as PEM files into a folder the test owns.
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdio>
#include <memory>

class TestPki
{
public:
    struct Issued
    {
        QString cert, key;
    };

    // Two authorities: the one the tests trust (caFile()) and a stranger nobody trusts.
    explicit TestPki(const QString &dir) : m_dir(dir)
    {
        m_ca = authority("Corkvane Test CA");
        m_stranger = authority("Unknown Test CA");
        writeCert(m_ca.cert.get(), caFile());
    }

    QString caFile() const { return m_dir + QStringLiteral("/ca.pem"); }

    // A server certificate for the subject alternative names given ("DNS:localhost",
    // "IP:127.0.0.1"), valid from `fromDays` to `toDays` days around now.
    Issued server(const QString &name, const QString &altNames, int fromDays = -1, int toDays = 30,
                  bool fromStranger = false)
    {
        const Authority &ca = fromStranger ? m_stranger : m_ca;
        Key key(EVP_EC_gen("P-256"));
        Cert cert(build(key.get(), name.toUtf8(), ca.cert.get(), ca.key.get(), fromDays, toDays, false, altNames));
        Issued out{m_dir + QLatin1Char('/') + name + QStringLiteral(".crt"),
                   m_dir + QLatin1Char('/') + name + QStringLiteral(".key")};
        writeCert(cert.get(), out.cert);
        FILE *f = std::fopen(QFile::encodeName(out.key).constData(), "w");
        PEM_write_PrivateKey(f, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
        std::fclose(f);
        return out;
    }

private:
    struct KeyFree { void operator()(EVP_PKEY *k) const { EVP_PKEY_free(k); } };
    struct CertFree { void operator()(X509 *c) const { X509_free(c); } };
    using Key = std::unique_ptr<EVP_PKEY, KeyFree>;
    using Cert = std::unique_ptr<X509, CertFree>;
    struct Authority
    {
        Key key;
        Cert cert;
    };

    Authority authority(const char *name)
    {
        Authority a;
        a.key.reset(EVP_EC_gen("P-256"));
        a.cert.reset(build(a.key.get(), name, nullptr, a.key.get(), -1, 365, true, QString()));
        return a;
    }

    static void extend(X509 *cert, X509 *issuer, int nid, const QByteArray &value)
    {
        X509V3_CTX ctx;
        X509V3_set_ctx_nodb(&ctx);
        X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
        X509_EXTENSION *ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value.constData());
        X509_add_ext(cert, ext, -1);
        X509_EXTENSION_free(ext);
    }

    X509 *build(EVP_PKEY *key, const QByteArray &cn, X509 *issuer, EVP_PKEY *issuerKey, int fromDays, int toDays,
                bool isCa, const QString &altNames)
    {
        X509 *x = X509_new();
        X509_set_version(x, 2);
        ASN1_INTEGER_set(X509_get_serialNumber(x), ++m_serial);
        X509_gmtime_adj(X509_getm_notBefore(x), long(fromDays) * 86400);
        X509_gmtime_adj(X509_getm_notAfter(x), long(toDays) * 86400);
        X509_set_pubkey(x, key);
        X509_NAME *subject = X509_get_subject_name(x);
        X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char *>(cn.constData()),
                                   -1, -1, 0);
        X509_set_issuer_name(x, issuer ? X509_get_subject_name(issuer) : subject);
        X509 *signer = issuer ? issuer : x;
        extend(x, signer, NID_basic_constraints, isCa ? "critical,CA:TRUE" : "critical,CA:FALSE");
        extend(x, signer, NID_key_usage, isCa ? "critical,keyCertSign,cRLSign" : "critical,digitalSignature");
        extend(x, signer, NID_subject_key_identifier, "hash");
        if (!isCa) {
            extend(x, signer, NID_authority_key_identifier, "keyid:always");
            extend(x, signer, NID_ext_key_usage, "serverAuth");
            extend(x, signer, NID_subject_alt_name, altNames.toLatin1());
        }
        X509_sign(x, issuerKey, EVP_sha256());
        return x;
    }

    static void writeCert(X509 *cert, const QString &path)
    {
        FILE *f = std::fopen(QFile::encodeName(path).constData(), "w");
        PEM_write_X509(f, cert);
        std::fclose(f);
    }

    QString m_dir;
    long m_serial = 100;
    Authority m_ca, m_stranger;
};
