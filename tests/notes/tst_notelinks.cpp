// What counts as a web or mail address in a note's text, where it ends, what a Ctrl+click on
// it opens, and the colour it is drawn in on notes of every colour.
#include "notes/NoteLinks.h"

#include <QtTest>

class TestNoteLinks : public QObject
{
    Q_OBJECT

    // "text => target" for each link of a line, in order.
    static QStringList describe(const QString &line)
    {
        QStringList out;
        for (const NoteLinks::Link &link : NoteLinks::find(line))
            out << line.mid(link.start, link.length) + QStringLiteral(" => ") + link.target.toString();
        return out;
    }

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("links");
        auto row = [](const char *name, const QString &line, const QStringList &links) {
            QTest::newRow(name) << line << links;
        };
        row("plain text", "comprar pão e leite", {});
        row("http", "veja http://example.com hoje", {"http://example.com => http://example.com"});
        row("https with path and query", "https://example.com/a/b?x=1&y=2#frag",
            {"https://example.com/a/b?x=1&y=2#frag => https://example.com/a/b?x=1&y=2#frag"});
        row("scheme in capitals", "HTTPS://EXAMPLE.COM/Pagina", {"HTTPS://EXAMPLE.COM/Pagina => https://example.com/Pagina"});
        row("www opens as http", "site: www.example.com.br", {"www.example.com.br => http://www.example.com.br"});
        row("port and user", "http://ana@intranet:8080/x", {"http://ana@intranet:8080/x => http://ana@intranet:8080/x"});
        row("IPv6 literal", "http://[::1]:7801/", {"http://[::1]:7801/ => http://[::1]:7801/"});
        // Punctuation that closes the sentence stays out.
        row("full stop", "Leia www.example.com.", {"www.example.com => http://www.example.com"});
        row("comma and semicolon", "http://a.com/x, http://b.com/y;",
            {"http://a.com/x => http://a.com/x", "http://b.com/y => http://b.com/y"});
        row("question and exclamation", "viu http://example.com/?! e", {"http://example.com/ => http://example.com/"});
        row("ellipsis", "http://example.com/a…", {"http://example.com/a => http://example.com/a"});
        row("colon after", "em http://example.com: tudo", {"http://example.com => http://example.com"});
        row("quotes around", "\"http://example.com/q\" e 'www.example.org'",
            {"http://example.com/q => http://example.com/q", "www.example.org => http://www.example.org"});
        row("typographic quotes", "«http://example.com/x» “www.example.com”",
            {"http://example.com/x => http://example.com/x", "www.example.com => http://www.example.com"});
        row("angle brackets", "<https://example.com/a>", {"https://example.com/a => https://example.com/a"});
        // Brackets: kept when the address opened them.
        row("in parentheses", "(veja http://example.com/a)", {"http://example.com/a => http://example.com/a"});
        row("balanced parentheses", "(http://en.wikipedia.org/wiki/Cork_(material))",
            {"http://en.wikipedia.org/wiki/Cork_(material) => http://en.wikipedia.org/wiki/Cork_(material)"});
        row("bracket then stop", "[http://example.com/b].", {"http://example.com/b => http://example.com/b"});
        // Inside words: not an address of its own.
        row("www inside a word", "xwww.example.com e nãowww.example.com", {});
        row("www after a dot", "sub.www.example.com", {});
        row("http inside a word", "xhttp://example.com", {});
        row("http with no host", "http:// e https:///x e www. e www..com", {});
        row("host with bad hyphen", "http://-bad.com www.-bad.com", {});
        // Mail.
        row("bare address", "escreva para ana@example.com.br amanhã", {"ana@example.com.br => mailto:ana@example.com.br"});
        row("address then stop", "ana.souza+notas@example.com.", {"ana.souza+notas@example.com => mailto:ana.souza+notas@example.com"});
        row("address in parentheses", "(ana@example.com)", {"ana@example.com => mailto:ana@example.com"});
        row("mailto", "mailto:bia@example.org, obrigado", {"mailto:bia@example.org => mailto:bia@example.org"});
        row("mailto in capitals", "MAILTO:bia@example.org", {"MAILTO:bia@example.org => mailto:bia@example.org"});
        row("mailto with nothing", "mailto: e mailto:@x.com", {});
        row("no dot in the domain", "root@localhost", {});
        row("numeric top level", "R$10@2.50 e a@1.2.3.4", {});
        row("dots in the name", ".ana@example.com e ana.@example.com e a..b@example.com",
            {"ana@example.com => mailto:ana@example.com"});
        row("at sign alone", "@ e @example.com e ana@", {});
        row("address with www host", "ana@www.example.com", {"ana@www.example.com => mailto:ana@www.example.com"});
        row("user in a web address is not mail", "http://ana@example.com/",
            {"http://ana@example.com/ => http://ana@example.com/"});
        // Several, mixed, in order.
        row("mixed in order", "a@example.com www.example.com b@example.com https://example.com/c",
            {"a@example.com => mailto:a@example.com", "www.example.com => http://www.example.com",
             "b@example.com => mailto:b@example.com", "https://example.com/c => https://example.com/c"});
        // Other scripts.
        row("accented path", "https://pt.wikipedia.org/wiki/São_Paulo!",
            {"https://pt.wikipedia.org/wiki/São_Paulo => https://pt.wikipedia.org/wiki/São_Paulo"});
        row("accented host", "www.açaí.com.br/cardápio", {"www.açaí.com.br/cardápio => http://www.açaí.com.br/cardápio"});
        row("accented mail", "joão.conceição@exemplo.com.br", {"joão.conceição@exemplo.com.br => mailto:joão.conceição@exemplo.com.br"});
        row("cyrillic domain", "почта@пример.рф", {"почта@пример.рф => mailto:почта@пример.рф"});
        row("accent before www joins it", "éwww.example.com", {});
        row("tab and newline end it", "http://a.com/x\thttp://b.com/y", {"http://a.com/x => http://a.com/x", "http://b.com/y => http://b.com/y"});
    }

    void find()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, links);
        QCOMPARE(describe(line), links);
    }

    void linkAtAClickedColumn()
    {
        const QString line = QStringLiteral("ab www.x.com cd e@x.com");
        const QList<NoteLinks::Link> links = NoteLinks::find(line);
        QCOMPARE(links.size(), 2);
        const struct { qsizetype column; int link; } cases[] = {
            {0, -1}, {2, -1}, {3, 0}, {11, 0}, {12, -1}, {16, 1}, {22, 1}, {23, -1}, {-1, -1}};
        for (const auto &c : cases) {
            const NoteLinks::Link *hit = NoteLinks::linkAt(links, c.column);
            QVERIFY2(c.link < 0 ? hit == nullptr : hit == &links.at(c.link), qPrintable(QString::number(c.column)));
        }
    }

    void linksReadWellOnEveryNoteColour()
    {
        // Every colour of a 6-step cube, the program's own note colours among them.
        const int steps[] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
        for (int r : steps)
            for (int g : steps)
                for (int b : steps) {
                    const QColor background(r, g, b);
                    const QColor link = NoteLinks::linkColour(background);
                    const QString what = background.name() + QStringLiteral(" -> ") + link.name();
                    QVERIFY2(NoteLinks::contrastRatio(link, background) >= 4.5, qPrintable(what));
                    // A blue wherever one reads well; black or white only where no shade of
                    // blue that still looks blue (5% to 95% light) would, looked for here in finer
                    // steps than the program takes.
                    if (link.blue() > link.red() && link.blue() > link.green())
                        continue;
                    QVERIFY2(link == QColor(Qt::black) || link == QColor(Qt::white), qPrintable(what));
                    for (int lightness = 5; lightness <= 95; ++lightness) {
                        const QColor shade = QColor::fromHslF(225 / 360.0, 1.0, lightness / 100.0);
                        QVERIFY2(NoteLinks::contrastRatio(shade, background) < 4.6, qPrintable(what + " " + shade.name()));
                    }
                }
        // The program's own note colours (the usual yellow, the received notes' red, the
        // palette's pink, green and blue) keep a blue; on the usual light note, the usual one.
        for (QRgb note : {0xFFFF80u, 0xFF0000u, 0xFF80FFu, 0x80FF80u, 0x80FFFFu, 0xC0C0C0u, 0xFFFFFFu, 0x000000u}) {
            const QColor link = NoteLinks::linkColour(QColor(note));
            QVERIFY2(link.blue() > link.red() && link.blue() > link.green(), qPrintable(QColor(note).name()));
        }
        QCOMPARE(NoteLinks::linkColour(QColor(0xFF, 0xFF, 0x80)), QColor::fromHslF(225 / 360.0, 1.0, 0.40));
    }

    void contrastRatioOfKnownPairs()
    {
        QCOMPARE(qRound(NoteLinks::contrastRatio(Qt::black, Qt::white) * 100), 2100);
        QCOMPARE(qRound(NoteLinks::contrastRatio(Qt::white, Qt::white) * 100), 100);
        QCOMPARE(qRound(NoteLinks::contrastRatio(QColor(0x77, 0x77, 0x77), Qt::white) * 100), 448);
    }
};

QTEST_APPLESS_MAIN(TestNoteLinks)
#include "tst_notelinks.moc"
