// The parts of mail sending that need no connection: reply reading, the AUTH strings, the
// header block and date, the per-line rules and the body source with its attachments.
#include "mail/MailComposer.h"
#include "mail/SmtpAuth.h"
#include "mail/SmtpReply.h"

#include <QTemporaryDir>
#include <QtTest>

#include <ctime>

class TestMailCompose : public QObject
{
    Q_OBJECT
private slots:
    void replyCodesAndContinuation()
    {
        const struct { QByteArray line; int code; bool continued; } cases[] = {
            {"250-fixture.corkvane", 250, true},
            {"250 OK", 250, false},
            {"250", 250, false},
            {" \t\r\n354 go ahead", 354, false},
            {"+12-x", 12, true},
            {"-5 odd", -5, false},
            {"garbage", 0, false},
            {"", 0, false},
        };
        for (const auto &c : cases) {
            const SmtpReplyCode r = parseSmtpReplyCode(c.line);
            QVERIFY2(r.code == c.code && r.continued == c.continued, c.line.constData());
        }
        QVERIFY(parseSmtpReplyCode("99999999999999999999").code > 0);
    }

    void receiveBufferDeliversCompleteLinesOnly()
    {
        SmtpReceiveBuffer buf;
        QByteArray line;
        // A reply split inside its CR LF completes only with the second read.
        buf.append("250-first\r\n250 sec", 18);
        QVERIFY(buf.takeLine(line));
        QCOMPARE(line, QByteArray("250-first"));
        QVERIFY(!buf.takeLine(line));
        buf.append("ond\r", 4);
        QVERIFY(!buf.takeLine(line));
        buf.append("\n221 bye\r\n", 10);
        QVERIFY(buf.takeLine(line));
        QCOMPARE(line, QByteArray("250 second"));
        QVERIFY(buf.takeLine(line));
        QCOMPARE(line, QByteArray("221 bye"));
        QCOMPARE(buf.count(), 0);

        // A lone LF or CR does not end a line.
        buf.append("a\nb\rc\r\n", 7);
        QVERIFY(buf.takeLine(line));
        QCOMPARE(line, QByteArray("a\nb\rc"));
    }

    void receiveBufferReportsALineThatCanNeverFit()
    {
        SmtpReceiveBuffer buf;
        const QByteArray big(SmtpReceiveBuffer::kSize - 1, 'x');
        QCOMPARE(buf.append(big.constData(), big.size()), int(big.size()));
        QVERIFY(!buf.isFullWithoutLine());
        // Only one byte fits of the two offered.
        QCOMPARE(buf.append("\r\n", 2), 1);
        QVERIFY(buf.isFullWithoutLine());

        SmtpReceiveBuffer exact;
        const QByteArray fits = QByteArray(SmtpReceiveBuffer::kSize - 2, 'y') + "\r\n";
        exact.append(fits.constData(), fits.size());
        QVERIFY(!exact.isFullWithoutLine());
        QByteArray line;
        QVERIFY(exact.takeLine(line));
        QCOMPARE(line.size(), SmtpReceiveBuffer::kSize - 2);
        QCOMPARE(exact.freeCount(), SmtpReceiveBuffer::kSize);
    }

    void hmacMd5MatchesThePublishedVectors()
    {
        const struct { QByteArray key, data; const char *digest; } vectors[] = {
            {QByteArray(16, '\x0b'), "Hi There", "9294727a3638bb1c13f48ef8158bfc9d"},
            {"Jefe", "what do ya want for nothing?", "750c783e6ab0b503eaa86e310a5db738"},
            {QByteArray(16, '\xaa'), QByteArray(50, '\xdd'), "56be34521d144c88dbb8c733f0e8b3f6"},
            {QByteArray::fromHex("0102030405060708090a0b0c0d0e0f10111213141516171819"), QByteArray(50, '\xcd'),
             "697eaf0aca3a3aea3a75164746ffaa79"},
            {QByteArray(16, '\x0c'), "Test With Truncation", "56461ef2342edc00f9bab995690efd4c"},
            {QByteArray(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
             "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd"},
            {QByteArray(80, '\xaa'), "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
             "6f630fad67cda0ee1fb1f562db3aa53e"},
        };
        for (const auto &v : vectors)
            QCOMPARE(SmtpAuth::hmacMd5(v.key, v.data).toHex(), QByteArray(v.digest));
    }

    void cramMd5AnswersTheExampleChallenge()
    {
        const QByteArray reply = "334 PDE4OTYuNjk3MTcwOTUyQHBvc3RvZmZpY2UucmVzdG9uLm1jaS5uZXQ+";
        const QByteArray challenge = SmtpAuth::cramMd5Challenge(reply);
        QCOMPARE(challenge, QByteArray("<1896.697170952@postoffice.reston.mci.net>"));
        const QByteArray answer = SmtpAuth::cramMd5Answer("tim", "tanstaaftanstaaf", challenge);
        QCOMPARE(answer, QByteArray("dGltIGI5MTNhNjAyYzdlZGE3YTQ5NWI0ZTZlNzMzNGQzODkw"));
    }

    void plainArgumentAuthenticatesTheUserWithoutAnotherIdentity()
    {
        QCOMPARE(QByteArray::fromBase64(SmtpAuth::plainArgument("ana", "pw")), QByteArray("\0ana\0pw", 7));
        QCOMPARE(QByteArray::fromBase64(SmtpAuth::plainArgument("ana@x.org", "p\xe1")),
                 QByteArray("\0ana@x.org\0p\xe1", 13));
    }

    void dateUsesEnglishNamesAndTheZoneRule()
    {
        const QDateTime when(QDate(2026, 3, 1), QTime(7, 5, 9), Qt::OffsetFromUTC, -3 * 3600);
        QCOMPARE(MailComposer::timeZoneBias(when), 180);
        QCOMPARE(MailComposer::rfc822Date(when, 180), QByteArray("Sun, 1 Mar 2026 07:05:09 -0300"));
        QCOMPARE(MailComposer::rfc822Date(when, -60), QByteArray("Sun, 1 Mar 2026 07:05:09 +0100"));
        // At UTC the zone is known: "-0000" would tell the reader it is not.
        QCOMPARE(MailComposer::rfc822Date(when, 0), QByteArray("Sun, 1 Mar 2026 07:05:09 +0000"));
        QCOMPARE(MailComposer::rfc822Date(when, 30), QByteArray("Sun, 1 Mar 2026 07:05:09 -0030"));
        QCOMPARE(MailComposer::rfc822Date(when, -330), QByteArray("Sun, 1 Mar 2026 07:05:09 +0530"));
        const QDateTime dec(QDate(2026, 12, 12), QTime(23, 59, 0), Qt::OffsetFromUTC, 5 * 3600 + 45 * 60);
        QCOMPARE(MailComposer::timeZoneBias(dec), -345);
        QCOMPARE(MailComposer::rfc822Date(dec, MailComposer::timeZoneBias(dec)), QByteArray("Sat, 12 Dec 2026 23:59:00 +0545"));
    }

    void dateCarriesTheMachinesOwnZone_data()
    {
        QTest::addColumn<QByteArray>("tz");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QByteArray>("zone");
        QTest::newRow("UTC") << QByteArray("UTC") << QDate(2026, 7, 1) << QByteArray("+0000");
        QTest::newRow("Sao Paulo") << QByteArray("America/Sao_Paulo") << QDate(2026, 7, 1) << QByteArray("-0300");
        QTest::newRow("Kolkata") << QByteArray("Asia/Kolkata") << QDate(2026, 1, 15) << QByteArray("+0530");
        QTest::newRow("Berlin summer") << QByteArray("Europe/Berlin") << QDate(2026, 7, 1) << QByteArray("+0200");
        QTest::newRow("Berlin winter") << QByteArray("Europe/Berlin") << QDate(2026, 1, 15) << QByteArray("+0100");
        QTest::newRow("St Johns") << QByteArray("America/St_Johns") << QDate(2026, 1, 15) << QByteArray("-0330");
    }
    void dateCarriesTheMachinesOwnZone()
    {
        QFETCH(QByteArray, tz);
        QFETCH(QDate, date);
        QFETCH(QByteArray, zone);
        if (!QFile::exists(QStringLiteral("/usr/share/zoneinfo/") + QString::fromLatin1(tz)))
            QSKIP("the zone is not installed (tzdata)");
        const QByteArray saved = qgetenv("TZ");
        qputenv("TZ", tz);
        tzset();
        // The local time of the machine, as the clock gives it.
        const QDateTime local(date, QTime(12, 0, 0));
        const QByteArray got = MailComposer::rfc822Date(local, MailComposer::timeZoneBias(local));
        if (saved.isNull())
            qunsetenv("TZ");
        else
            qputenv("TZ", saved);
        tzset();
        QCOMPARE(got.right(5), zone);
        QCOMPARE(got.left(got.size() - 5), QByteArray(date.toString(QStringLiteral("ddd, d MMM yyyy")).toLatin1()) + " 12:00:00 ");
    }

    void unstructuredHeaderEncodesWhatIsNotPlainAscii_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("ascii") << QByteArray("Corkvane - Compras") << QByteArray("Subject: Corkvane - Compras");
        QTest::newRow("empty") << QByteArray() << QByteArray("Subject: ");
        QTest::newRow("tab stays") << QByteArray("a\tb") << QByteArray("Subject: a\tb");
        QTest::newRow("accent") << QByteArray("P\xe3o") << QByteArray("Subject: =?windows-1252?Q?P=E3o?=");
        QTest::newRow("euro and dash") << QByteArray("\x80 \x97") << QByteArray("Subject: =?windows-1252?Q?=80_=97?=");
        QTest::newRow("specials") << QByteArray("a_b=c?d \xe9") << QByteArray("Subject: =?windows-1252?Q?a=5Fb=3Dc=3Fd_=E9?=");
        QTest::newRow("looks encoded") << QByteArray("=?x?Q?y?=") << QByteArray("Subject: =?windows-1252?Q?=3D=3Fx=3FQ=3Fy=3F=3D?=");
        QTest::newRow("control") << QByteArray("a\x01") << QByteArray("Subject: =?windows-1252?Q?a=01?=");
    }
    void unstructuredHeaderEncodesWhatIsNotPlainAscii()
    {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, line);
        QCOMPARE(MailComposer::unstructuredHeader("Subject", value), line);
    }

    void longEncodedHeadersFoldWithinTheWordLimits()
    {
        // A long title of accented words, and one without any blank.
        QByteArray accented;
        for (int i = 0; i < 40; ++i)
            accented += "Reuni\xe3o \x96 ";
        const QList<QByteArray> values = {accented, QByteArray(300, '\xe7'), "x\x80" + QByteArray(500, 'y')};
        for (const QByteArray &value : values) {
            const QByteArray header = MailComposer::unstructuredHeader("Subject", value);
            const QList<QByteArray> lines = header.split('\n');
            QVERIFY(lines.size() > 2);
            QByteArray decoded;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                QByteArray l = lines[i];
                if (i + 1 < lines.size()) {
                    QVERIFY(l.endsWith('\r'));
                    l.chop(1);
                }
                QVERIFY2(l.size() <= 76, l.constData());
                l = i == 0 ? l.mid(9) : l.mid(1);
                QVERIFY(i == 0 ? lines[0].startsWith("Subject: ") : lines[i].startsWith(' '));
                // One encoded word per line, Q form, at most 75 characters.
                QVERIFY(l.startsWith("=?windows-1252?Q?") && l.endsWith("?="));
                QVERIFY(l.size() <= 75);
                const QByteArray text = l.mid(17, l.size() - 19);
                for (qsizetype k = 0; k < text.size(); ++k) {
                    if (text[k] == '=') {
                        decoded += char(text.mid(k + 1, 2).toInt(nullptr, 16));
                        k += 2;
                    } else {
                        decoded += text[k] == '_' ? ' ' : text[k];
                    }
                }
            }
            QCOMPARE(decoded, value);
        }
    }

    void headerBlockOrderAndOptionalLines()
    {
        MailComposer::HeaderFields f;
        f.from = "Ana <ana@x.org>";
        f.to = "bia@y.org";
        f.subject = "Nota";
        f.contentType = "text/plain";
        f.charSet = "iso-8859-1";
        QCOMPARE(MailComposer::headerLines(f, "D"),
                 (QList<QByteArray>{"From: Ana <ana@x.org>", "To: bia@y.org", "Subject: Nota", "Sender: Ana <ana@x.org>",
                                    "Mime-Version: 1.0", "Content-Type: text/plain; charset=\"iso-8859-1\"",
                                    "Content-Transfer-Encoding: 8bit", "Date: D"}));

        // Values are tested trimmed but written as given; a blank Sender falls back to From.
        f.replyTo = " r@x ";
        f.returnPath = "  ";
        f.sender = " ";
        QCOMPARE(MailComposer::headerLines(f, "D").mid(0, 5),
                 (QList<QByteArray>{"Reply-To:  r@x ", "From: Ana <ana@x.org>", "To: bia@y.org", "Subject: Nota",
                                    "Sender: Ana <ana@x.org>"}));
        f.returnPath = "<p@x>";
        f.sender = "s@x";
        QCOMPARE(MailComposer::headerLines(f, "D").mid(1, 5).first(), QByteArray("Return-Path: <p@x>"));
        QVERIFY(MailComposer::headerLines(f, "D").contains("Sender: s@x"));

        // Nothing to name as sender: the line is left out, From and To stay even when empty.
        MailComposer::HeaderFields empty;
        empty.contentType = "text/html";
        empty.charSet = "utf-8";
        QCOMPARE(MailComposer::headerLines(empty, "D"),
                 (QList<QByteArray>{"From: ", "To: ", "Subject: ", "Mime-Version: 1.0",
                                    "Content-Type: text/html; charset=\"utf-8\"", "Content-Transfer-Encoding: 8bit",
                                    "Date: D"}));
    }

    void bodyLineRules()
    {
        QCOMPARE(MailComposer::dotStuff("."), QByteArray(".."));
        QCOMPARE(MailComposer::dotStuff(".hidden"), QByteArray("..hidden"));
        QCOMPARE(MailComposer::dotStuff("a.b"), QByteArray("a.b"));
        QCOMPARE(MailComposer::dotStuff(""), QByteArray(""));
        // Breaks inside a line go out as CR LF, and each line they start is stuffed as well.
        QCOMPARE(MailComposer::wireLine("a\r\n.\r\nb"), QByteArray("a\r\n..\r\nb"));
        QCOMPARE(MailComposer::wireLine(".a\n.b\r.c"), QByteArray("..a\r\n..b\r\n..c"));
        QCOMPARE(MailComposer::wireLine("\r\n\r\n"), QByteArray("\r\n\r\n"));
        QCOMPARE(MailComposer::wireLine("Content-Type: multipart/mixed;\r\n\tboundary=\"b\""),
                 QByteArray("Content-Type: multipart/mixed;\r\n\tboundary=\"b\""));
        const QByteArray longLine = QByteArray(1023, 'a') + "bcd";
        QCOMPARE(MailComposer::cutLine(longLine), QByteArray(1023, 'a'));
        QCOMPARE(MailComposer::cutLine(QByteArray(1023, 'z')).size(), 1023);
    }

    void longHeaderLinesFoldAtBlanksWithoutLosingText()
    {
        QByteArray to = "To: ";
        for (int i = 0; i < 150; ++i)
            to += "person" + QByteArray::number(i) + "@example.org, ";
        to.chop(2);
        QVERIFY(to.size() > 1023);
        const QByteArray folded = MailComposer::foldHeaderLine(to);
        const QList<QByteArray> physical = folded.split('\n');
        QVERIFY(physical.size() > 2);
        for (qsizetype i = 0; i < physical.size(); ++i) {
            QByteArray p = physical[i];
            if (i + 1 < physical.size()) {
                QVERIFY(p.endsWith('\r'));
                p.chop(1);
            }
            QVERIFY(p.size() <= MailComposer::kMaxFoldedLength);
            if (i > 0)
                QVERIFY(p.startsWith(' '));
        }
        // Unfolding (removing each CR LF) gives back the original line.
        QCOMPARE(QByteArray(folded).replace("\r\n", ""), to);

        // Short lines, including one that already holds its own fold, pass untouched.
        const QByteArray multipart = MailComposer::multipartContentTypeHeader("= Multipart Boundary 0301260705");
        QCOMPARE(MailComposer::foldHeaderLine(multipart), multipart);
        QCOMPARE(MailComposer::foldHeaderLine(QByteArray(1023, 'q')), QByteArray(1023, 'q'));

        // A value without any blank is still broken so no line overruns.
        const QByteArray solid = "Subject: " + QByteArray(2500, 'w');
        const QByteArray broken = MailComposer::foldHeaderLine(solid);
        for (const QByteArray &p : broken.split('\n'))
            QVERIFY(p.size() <= MailComposer::kMaxFoldedLength + 1);
        QCOMPARE(QByteArray(broken).replace("\r\n", "").replace(" ", ""), QByteArray(solid).replace(" ", ""));
    }

    void contentTypeHeaderRecognition()
    {
        QVERIFY(MailComposer::isContentTypeHeader("content-TYPE: text/plain"));
        QVERIFY(MailComposer::isContentTypeHeader("Content-Type:"));
        QVERIFY(!MailComposer::isContentTypeHeader("Content-Typ"));
        QVERIFY(!MailComposer::isContentTypeHeader("Content-Transfer-Encoding: 7bit"));
        QCOMPARE(MailComposer::multipartBoundary(QDateTime(QDate(2026, 3, 1), QTime(7, 5))),
                 QByteArray("= Multipart Boundary 0301260705"));
        QCOMPARE(MailComposer::multipartContentTypeHeader("B"),
                 QByteArray("Content-Type: multipart/mixed;\r\n\tboundary=\"B\""));
    }

    void bodyWithoutAttachmentsIsTheQueuedTextThenTheDataHook()
    {
        MailBodySource src;
        QList<int> asked;
        src.getData = [&](int lineNum, QByteArray &line, int maxLen, bool &more) {
            asked << lineNum;
            QCOMPARE(maxLen, 1023);
            if (lineNum <= 2)
                line = lineNum == 1 ? QByteArray(1100, 'h') : QByteArray("hook 2");
            else
                more = false;
        };
        src.prepare({}, {"one", QByteArray(1030, 'L'), ""}, "text/plain", "iso-8859-1", QDateTime::currentDateTime());
        QVERIFY(src.boundary().isEmpty());
        QList<QByteArray> got;
        QByteArray line;
        while (src.next(line))
            got << line;
        QCOMPARE(got, (QList<QByteArray>{"one", QByteArray(1023, 'L'), "", QByteArray(1023, 'h'), "hook 2"}));
        QCOMPARE(asked, (QList<int>{1, 2, 3}));
        // Once complete it stays complete.
        QVERIFY(!src.next(line));

        // A new message starts over, also counting the hook's lines from 1 again.
        asked.clear();
        src.prepare({}, {"again"}, "text/plain", "iso-8859-1", QDateTime::currentDateTime());
        QVERIFY(src.next(line));
        QCOMPARE(line, QByteArray("again"));
        while (src.next(line)) {
        }
        QCOMPARE(asked.first(), 1);
    }

    void attachmentsMakeTheMultipartLayout()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QByteArray hundred;
        for (int i = 0; i < 100; ++i)
            hundred.append(char(i * 7 + 3));
        const QString a = dir.filePath("dados.bin");
        const QString b = dir.filePath("vazio.txt");
        {
            QFile f(a);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(hundred);
            QFile g(b);
            QVERIFY(g.open(QIODevice::WriteOnly));
        }
        MailBodySource src;
        src.attachContentType = [](int n, QString &name, QString &type) {
            if (n == 1) {
                name = QStringLiteral("renamed.txt");
                type = QStringLiteral("text/plain");
            }
        };
        src.attachHeader = [](int n, const QString &name, QList<QByteArray> &queue) {
            queue << "X-Part: " + QByteArray::number(n) + ' ' + name.toLatin1();
        };
        const QDateTime now(QDate(2026, 12, 7), QTime(21, 30));
        src.prepare({a, b}, {"Texto", ".ponto"}, "text/plain", "iso-8859-1", now);
        const QByteArray boundary = "= Multipart Boundary 1207262130";
        QCOMPARE(src.boundary(), boundary);

        QList<QByteArray> got;
        QByteArray line;
        while (src.next(line))
            got << line;
        const QList<QByteArray> b64 = {hundred.left(45).toBase64(), hundred.mid(45, 45).toBase64(), hundred.mid(90).toBase64()};
        QCOMPARE(b64[0].size(), 60);
        QCOMPARE(b64[2].size(), 16);
        QVERIFY(b64[2].endsWith("=="));
        const QList<QByteArray> expected = {
            "This is a multipart MIME message.", "", "--" + boundary,
            "Content-Type: text/plain; charset=\"iso-8859-1\"", "Content-Transfer-Encoding: 8bit", "",
            "Texto", ".ponto",
            "", "--" + boundary, "Content-Type: application/octet-stream;", "\tname=\"dados.bin\"",
            "Content-Transfer-Encoding: base64", "Content-Disposition: attachment;", "\tfilename=\"dados.bin\"",
            "X-Part: 0 dados.bin", "", b64[0], b64[1], b64[2],
            "", "--" + boundary, "Content-Type: text/plain;", "\tname=\"renamed.txt\"",
            "Content-Transfer-Encoding: base64", "Content-Disposition: attachment;", "\tfilename=\"vazio.txt\"",
            "X-Part: 1 renamed.txt", "", "",
            "", "--" + boundary + "--"};
        QCOMPARE(got, expected);
    }

    void exactMultipleOf45BytesEndsWithoutAnExtraLine()
    {
        QTemporaryDir dir;
        const QString p = dir.filePath("ninety");
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(90, 'n'));
        f.close();
        MailBodySource src;
        src.prepare({p}, {}, "text/plain", "iso-8859-1", QDateTime::currentDateTime());
        QList<QByteArray> got;
        QByteArray line;
        while (src.next(line))
            got << line;
        const QByteArray full = QByteArray(45, 'n').toBase64();
        QCOMPARE(got.mid(got.size() - 4), (QList<QByteArray>{full, full, "", "--" + src.boundary() + "--"}));
    }

    void vanishedAttachmentRaises()
    {
        QTemporaryDir dir;
        MailBodySource src;
        src.prepare({dir.filePath("gone.bin")}, {"x"}, "text/plain", "iso-8859-1", QDateTime::currentDateTime());
        QByteArray line;
        int produced = 0;
        bool raised = false;
        try {
            while (src.next(line))
                ++produced;
        } catch (const ESmtpError &e) {
            raised = e.message().contains("gone.bin");
        }
        QVERIFY(raised);
        QCOMPARE(produced, 7); // the preamble, the text part header and "x"
    }
};

QTEST_GUILESS_MAIN(TestMailCompose)
#include "tst_mail_compose.moc"
