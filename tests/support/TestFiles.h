#pragma once
// Small file helpers shared by the tests.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

namespace TestFiles {

// Test texts are written with "\n"; stores on disk end their lines in CR LF.
inline QByteArray crlf(QByteArray text)
{
    return text.replace("\n", "\r\n");
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace TestFiles
