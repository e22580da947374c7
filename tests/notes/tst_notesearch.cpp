// Finding notes by what they say: the search's words, its comparison without case or accents,
// and the line a row shows of a note's text.
#include "notes/NoteSearch.h"

#include <QtTest>

class TestNoteSearch : public QObject
{
    Q_OBJECT
private slots:
    void matching_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("found");
        // Accents, either way round.
        QTest::newRow("pao finds pão") << "pao" << "" << "Comprar pão e leite" << true;
        QTest::newRow("pão finds pao") << "pão" << "" << "comprar pao" << true;
        QTest::newRow("acao finds Ação") << "acao" << "Ação de graças" << "" << true;
        QTest::newRow("cedilla") << "CORACAO" << "" << "meu coração" << true;
        QTest::newRow("tilde and circumflex") << "avo" << "" << "visitar a avó e o avô" << true;
        QTest::newRow("n tilde") << "manana" << "" << "mañana" << true;
        QTest::newRow("umlaut") << "uber" << "" << "Über alles" << true;
        QTest::newRow("decomposed text") << "pao" << "" << QString::fromUtf8("pa\xCC\x83o") << true;
        QTest::newRow("decomposed search") << QString::fromUtf8("pa\xCC\x83o") << "" << "pão" << true;
        QTest::newRow("ligature in text") << "fim" << "" << QString::fromUtf8("\xEF\xAC\x81m do ano") << true;
        QTest::newRow("oe ligature") << "coeur" << "" << "cœur" << true;
        QTest::newRow("sharp s") << "strasse" << "Straße" << "" << true;
        QTest::newRow("accent on an accent") << "uber" << "" << QString::fromUtf8("\xC7\x95" "ber") << true;  // Ǖ
        QTest::newRow("full-width letters") << "pao" << "" << QString::fromUtf8("\xEF\xBC\xB0\xEF\xBC\xA1\xEF\xBC\xAF") << true;
        QTest::newRow("letters beyond 16 bits") << "pao" << "" << QString::fromUtf8("\xF0\x9D\x90\x8F\xF0\x9D\x90\x9A\xF0\x9D\x90\xA8") << true;
        QTest::newRow("Greek tonos") << "αθηνα" << "" << "Αθήνα" << true;
        QTest::newRow("a different letter is not an accent") << "pao" << "" << "pai" << false;
        QTest::newRow("an accent does not make a letter") << "pão" << "" << "pa o" << false;
        // Case.
        QTest::newRow("upper search, lower text") << "REUNIÃO" << "" << "reunião às 10h" << true;
        QTest::newRow("lower search, upper title") << "reuniao" << "REUNIÃO" << "" << true;
        QTest::newRow("mixed") << "ReUnIaO" << "Reunião" << "" << true;
        // Title and text, and several words.
        QTest::newRow("title only") << "compras" << "Compras" << "leite" << true;
        QTest::newRow("text only") << "leite" << "Compras" << "pão\r\nleite" << true;
        QTest::newRow("words split between title and text") << "compras leite" << "Compras" << "pão\r\nleite" << true;
        QTest::newRow("every word must occur") << "compras queijo" << "Compras" << "pão\r\nleite" << false;
        QTest::newRow("words in any order") << "leite pao" << "" << "pão e leite" << true;
        QTest::newRow("part of a word") << "uni" << "Reunião" << "" << true;
        QTest::newRow("a word across the line break does not match") << "paoleite" << "" << "pão\r\nleite" << false;
        QTest::newRow("blanks of any kind separate words") << " pao\tleite\u00A0 " << "" << "leite, pão" << true;
        QTest::newRow("no-break space in the text is a blank") << "dez reais" << "" << "dez\u00A0reais" << true;
        QTest::newRow("empty search finds everything") << "" << "" << "" << true;
        QTest::newRow("blank search finds everything") << "  \t " << "a" << "b" << true;
        QTest::newRow("nothing to find in an empty note") << "x" << "" << "" << false;
        QTest::newRow("digits and punctuation as typed") << "10:30" << "25/12/2026 10:30:00" << "" << true;
    }
    void matching()
    {
        QFETCH(QString, search);
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(bool, found);
        NoteSearch::Entry entry;
        entry.title = title;
        entry.text = text;
        entry.prepare();
        QCOMPARE(entry.matches(NoteSearch::terms(search)), found);
    }

    void termsAreFoldedWords_data()
    {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QStringList>("terms");
        QTest::newRow("one") << "Pão" << QStringList{"pao"};
        QTest::newRow("several") << "  Ação  DE\tGraças\n" << QStringList{"acao", "de", "gracas"};
        QTest::newRow("a lone accent is no word") << QString::fromUtf8("\xCC\x83 pao") << QStringList{"pao"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void termsAreFoldedWords()
    {
        QFETCH(QString, search);
        QFETCH(QStringList, terms);
        QCOMPARE(NoteSearch::terms(search), terms);
    }

    void firstLineOfTheText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("one line") << "Comprar pão" << "Comprar pão";
        QTest::newRow("CR LF") << "Pauta:\r\n- orçamento" << "Pauta:";
        QTest::newRow("LF") << "a\nb" << "a";
        QTest::newRow("lone CR") << "a\rb" << "a";
        QTest::newRow("blank lines first") << "\r\n  \r\n\t\r\n  segunda  \r\nterceira" << "segunda";
        QTest::newRow("lone CRs and LFs first") << "\r\r\n\n x" << "x";
        QTest::newRow("blank text") << " \r\n \r\n" << "";
        QTest::newRow("empty text") << "" << "";
    }
    void firstLineOfTheText()
    {
        QFETCH(QString, text);
        QFETCH(QString, line);
        QCOMPARE(NoteSearch::firstLine(text), line);
    }

    // A store holds notes of up to thousands of characters: folding keeps every one of them
    // that is not an accent, so a search never matches across what was taken out.
    void foldingKeepsTheTextApartFromAccents()
    {
        QCOMPARE(NoteSearch::fold(QStringLiteral("Àà Éé Îî Õõ Üü Çç")), QStringLiteral("aa ee ii oo uu cc"));
        QCOMPARE(NoteSearch::fold(QStringLiteral("linha 1\r\nlinha 2")), QStringLiteral("linha 1\r\nlinha 2"));
        QCOMPARE(NoteSearch::fold(QStringLiteral("€ 10,00 ¿?")), QStringLiteral("€ 10,00 ¿?"));
        // What has no letter in it stays whole, a character beyond 16 bits included.
        const QString smile = QString::fromUtf8("ok \xF0\x9F\x98\x80 \xE4\xB8\xAD");
        QCOMPARE(NoteSearch::fold(smile), smile);
        // A lone half of a pair is kept as it stands rather than read past the end.
        const QString broken = QStringLiteral("a") + QChar(0xD83D);
        QCOMPARE(NoteSearch::fold(broken), broken);
    }
};

QTEST_MAIN(TestNoteSearch)
#include "tst_notesearch.moc"
