// The contact book: its name order, the [Contatos] section it reads and rewrites, and the book
// window driven through its controls.
#include "mail/AddressBook.h"
#include "mail/Contacts.h"
#include "platform/Dialogs.h"
#include "store/IniFile.h"
#include "store/NoteStore.h"
#include "support/TestFiles.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

namespace {

using TestFiles::crlf;
using TestFiles::readAll;
using TestFiles::writeAll;

QStringList names(const QList<Contact> &contacts)
{
    QStringList out;
    for (const Contact &c : contacts)
        out << c.name;
    return out;
}

// A book on a store file, shown the way a send dialog shows it (non-blocking).
struct Book
{
    explicit Book(const QString &path, bool recipients = true) : window(path)
    {
        window.setRecipientPanelVisible(recipients);
        window.open();
    }
    ~Book() { window.done(QDialog::Rejected); }

    template <class T> T *child(const char *name) const { return window.findChild<T *>(QLatin1String(name)); }
    QTableWidget *list() const { return child<QTableWidget>("lstContato"); }
    QListWidget *chosenList() const { return child<QListWidget>("lstSelecionado"); }
    void click(const char *name) const
    {
        if (auto *tool = child<QToolButton>(name))
            tool->click();
        else
            child<QPushButton>(name)->click();
    }
    // Fills the contact dialog that Novo or Editar opened and confirms it.
    void answer(const Contact &c, bool ok = true) const
    {
        TfrmAddContato *dialog = window.contactDialog();
        QVERIFY(dialog->isVisible());
        dialog->findChild<QLineEdit *>("txtNome")->setText(c.name);
        dialog->findChild<QLineEdit *>("txtEmail")->setText(c.address);
        dialog->findChild<QLineEdit *>("txtAnotacoes")->setText(c.note);
        dialog->findChild<QPushButton *>(ok ? "cmdOK" : "cmdCancel")->click();
        QVERIFY(!dialog->isVisible());
    }
    void add(const Contact &c) const
    {
        click("cmdNovo");
        answer(c);
    }
    void select(const QList<int> &rows) const
    {
        list()->clearSelection();
        for (int row : rows)
            list()->selectionModel()->select(list()->model()->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    QStringList shownNames() const
    {
        QStringList out;
        for (int row = 0; row < list()->rowCount(); ++row)
            out << list()->item(row, 0)->text();
        return out;
    }

    TfrmAddressBook window;
};

} // namespace

class TestContacts : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString store() const { return m_dir->filePath("stickies.cvf"); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Dialogs::setTestMode(true);
        Dialogs::resetAnswers();
    }

    void namesSortWithoutRegardToAccentsOrCase_data()
    {
        QTest::addColumn<QStringList>("added");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("accent decides nothing") << QStringList{"Zé", "Zoz", "Bia"} << QStringList{"Bia", "Zé", "Zoz"};
        QTest::newRow("capitals decide nothing") << QStringList{"zoz", "ZÉ", "bia"} << QStringList{"bia", "ZÉ", "zoz"};
        QTest::newRow("accented initials") << QStringList{"Úrsula", "Álvaro", "alberto", "Éder", "edu", "Eda"}
                                           << QStringList{"alberto", "Álvaro", "Eda", "Éder", "edu", "Úrsula"};
        QTest::newRow("cedilla and tilde") << QStringList{"Conceição", "Concha", "João", "Joana"}
                                           << QStringList{"Conceição", "Concha", "Joana", "João"};
        QTest::newRow("empty name first") << QStringList{"Ana", "", "ana"} << QStringList{"", "Ana", "ana"};
    }
    void namesSortWithoutRegardToAccentsOrCase()
    {
        QFETCH(QStringList, added);
        QFETCH(QStringList, sorted);
        // Through the list's own insertion, as Novo places each contact...
        QList<Contact> list;
        for (const QString &name : added)
            list.insert(Contacts::insertPosition(list, name), Contact{name, {}, {}});
        QCOMPARE(names(list), sorted);
        // ...and through a whole sort, as a hand-edited section is read.
        QList<Contact> all;
        for (const QString &name : added)
            all.append({name, {}, {}});
        Contacts::sortByName(all);
        QCOMPARE(names(all), sorted);
    }

    void sectionIsReadTolerantly_data()
    {
        QTest::addColumn<QByteArray>("section");
        QTest::addColumn<QList<Contact>>("expected");
        QTest::newRow("keys in any letter case")
            << QByteArray("[contatos]\ncount=1\nnome1=Bia\nemail1=bia@x.org\nnotes1=prima\n")
            << QList<Contact>{{"Bia", "bia@x.org", "prima"}};
        QTest::newRow("Count larger than stored")
            << QByteArray("[Contatos]\nCount=3\nNome2=Z\xE9\nEmail2=10.0.0.2\n")
            << QList<Contact>{{}, {"Zé", "10.0.0.2", ""}, {}};
        QTest::newRow("Count not a number") << QByteArray("[Contatos]\nCount=dois\nNome1=Bia\n") << QList<Contact>{};
        QTest::newRow("Count negative") << QByteArray("[Contatos]\nCount=-4\nNome1=Bia\n") << QList<Contact>{};
        QTest::newRow("no section") << QByteArray("[General]\nUser=ana\n") << QList<Contact>{};
    }
    void sectionIsReadTolerantly()
    {
        QFETCH(QByteArray, section);
        QFETCH(QList<Contact>, expected);
        QCOMPARE(Contacts::read(IniFile(crlf(section))), expected);
    }

    void hugeCountIsBounded()
    {
        const QList<Contact> read = Contacts::read(IniFile(crlf("[Contatos]\nCount=2000000000\n")));
        QCOMPARE(read.size(), qsizetype(Contacts::kMaxContacts));
    }

    // Novo, Editar and Excluir each rewrite the whole section at once, in name order, and leave
    // every other line of the store as it was; a fresh read gives back the same bytes.
    void everyChangeRewritesTheSectionAtOnce()
    {
        writeAll(store(), crlf("[General]\nUser=ana\n[Contatos]\nCount=4\nNome4=velho\nEmail4=x\n; notes\n"
                               "[Stick0]\ncaption=Compras\n"));
        Book book(store());
        QCOMPARE(book.shownNames(), (QStringList{"", "", "", "velho"}));
        book.select({0, 1, 2, 3});
        Dialogs::setNextAnswer(QMessageBox::Yes);
        book.click("cmdExcluir");
        QCOMPARE(readAll(store()), crlf("[General]\nUser=ana\n[Stick0]\ncaption=Compras\n[Contatos]\nCount=0\n"));

        book.add({"Zé", "ze@x.org", "primo"});
        book.add({"Zoz", "10.0.0.1", ""});
        book.add({"Bia", "bia@x.org", "amiga; vizinha"});
        const QByteArray threeAdded = crlf("[General]\nUser=ana\n[Stick0]\ncaption=Compras\n[Contatos]\n"
                                           "Nome1=Bia\nEmail1=bia@x.org\nNotes1=amiga; vizinha\n"
                                           "Nome2=Z\xE9\nEmail2=ze@x.org\nNotes2=primo\n"
                                           "Nome3=Zoz\nEmail3=10.0.0.1\nNotes3=\nCount=3\n");
        QCOMPARE(readAll(store()), threeAdded);
        QCOMPARE(book.shownNames(), (QStringList{"Bia", "Zé", "Zoz"}));

        // Editar changes the first selected contact and places it again by its new name.
        book.select({2, 0});
        book.click("cmdEditar");
        QCOMPARE(book.window.contactDialog()->fields(), (Contact{"Bia", "bia@x.org", "amiga; vizinha"}));
        book.answer({"Ágata", "agata@x.org", ""}, false);
        QCOMPARE(readAll(store()), threeAdded);  // Cancel changes nothing
        book.click("cmdEditar");
        book.answer({"Zuleica", "zu@x.org", ""});
        QCOMPARE(book.shownNames(), (QStringList{"Zé", "Zoz", "Zuleica"}));

        // Excluir answered No keeps everything; Yes deletes every selected contact.
        book.select({0, 2});
        book.click("cmdExcluir");
        QCOMPARE(Dialogs::shownMessages().last().text, QString("Confirma Exclusão deste Contato?"));
        QCOMPARE(Dialogs::shownMessages().last().title, QString("Aviso"));
        QCOMPARE(book.shownNames().size(), 3);
        Dialogs::setNextAnswer(QMessageBox::Yes);
        book.click("cmdExcluir");
        QCOMPARE(book.shownNames(), QStringList{"Zoz"});

        const QByteArray final = readAll(store());
        QCOMPARE(final, crlf("[General]\nUser=ana\n[Stick0]\ncaption=Compras\n[Contatos]\n"
                             "Nome1=Zoz\nEmail1=10.0.0.1\nNotes1=\nCount=1\n"));
        QCOMPARE(IniFile::fromFile(store()).toBytes(), final);
        QCOMPARE(Contacts::loadFromFile(store()), (QList<Contact>{{"Zoz", "10.0.0.1", ""}}));
    }

    // The main store's save writes its own sections onto the file as it stands: the contact
    // section stays exactly as the book wrote it.
    void storeSaveKeepsTheBooksSection()
    {
        writeAll(store(), crlf("[General]\nUser=ana\n"));
        {
            Book book(store(), false);
            book.add({"Bia", "bia@x.org", "a=b \"c\""});
            book.add({"Ávila", "10.0.0.7", ""});
        }
        const auto section = [this] {
            const QByteArray bytes = readAll(store());
            return bytes.mid(bytes.indexOf("[Contatos]"));
        };
        const QByteArray written = section();
        QVERIFY(written.startsWith("[Contatos]\r\nNome1=\xC1vila"));
        NoteData note;
        note.caption = "Compras";
        AppSettings settings;
        QVERIFY(NoteStore::save(store(), settings, {note, note}, true));
        QVERIFY(readAll(store()).contains("[Stick1]"));
        QVERIFY(readAll(store()).contains(written));
        QCOMPARE(Contacts::loadFromFile(store()), (QList<Contact>{{"Ávila", "10.0.0.7", ""}, {"Bia", "bia@x.org", "a=b \"c\""}}));
    }

    void choosingRecipients()
    {
        writeAll(store(), crlf("[Contatos]\nCount=4\nNome1=Bia\nEmail1=10.0.0.1\nNome2=Bruno\nEmail2=10.0.0.1\n"
                               "Nome3=Caio\nEmail3=caio@x.org\nNome4=Dora\nEmail4=Caio@x.org\n"));
        Book book(store());
        QVERIFY(book.window.recipientPanelVisible());
        QCOMPARE(book.list()->selectionModel()->selectedRows().size(), 1);  // the first one on show

        book.click("cmdInserir");
        book.click("cmdInserir");                // the same contact twice: once
        book.select({1});
        book.click("cmdInserir");                // another contact, the same address: nothing
        book.select({3, 2, 0});
        book.click("cmdInserir");                // several selected: the first in list order
        QCOMPARE(book.window.chosen(), QStringList{"10.0.0.1"});
        book.select({2});
        book.click("cmdInserir");
        book.select({3});
        emit book.list()->cellDoubleClicked(3, 1);  // a double-click is ">>"; case counts
        QCOMPARE(book.window.chosen(), (QStringList{"10.0.0.1", "caio@x.org", "Caio@x.org"}));

        book.select({});
        Dialogs::clearShownMessages();
        book.click("cmdInserir");
        QCOMPARE(Dialogs::shownMessages().size(), 1);
        QCOMPARE(Dialogs::shownMessages().first().title, QString("Erro"));
        QCOMPARE(Dialogs::shownMessages().first().text, QString("Selecione um contato!"));

        book.chosenList()->clearSelection();
        book.chosenList()->setCurrentRow(-1);
        book.click("cmdRemover");                // nothing selected: a beep, nothing removed
        QCOMPARE(book.window.chosen().size(), 3);
        book.chosenList()->setCurrentRow(0);
        book.click("cmdRemover");
        QCOMPARE(book.window.chosen(), (QStringList{"caio@x.org", "Caio@x.org"}));

        // The chosen list belongs to one display; a maintenance display hides an empty one.
        book.window.done(QDialog::Accepted);
        book.window.setRecipientPanelVisible(false);
        book.window.open();
        QVERIFY(book.window.chosen().isEmpty());
        QVERIFY(!book.window.recipientPanelVisible());
    }

    void closingSavesOnlyThroughFechar()
    {
        writeAll(store(), crlf("[Contatos]\nCount=2\nNome1=Zoz\nNome2=Bia\n"));
        {
            Book book(store());
            book.window.close();                  // the window's own close: the file as it was
            QVERIFY(!book.window.isVisible());
            QCOMPARE(readAll(store()), crlf("[Contatos]\nCount=2\nNome1=Zoz\nNome2=Bia\n"));
            book.window.open();
            book.click("cmdFechar");
            QVERIFY(!book.window.isVisible());
        }
        QCOMPARE(readAll(store()), crlf("[Contatos]\nNome1=Bia\nEmail1=\nNotes1=\nNome2=Zoz\nEmail2=\nNotes2=\nCount=2\n"));
    }

    void unwritableStoreIsReportedAndKept()
    {
        // A folder where the store should be: the save fails, the user is told, nothing breaks.
        QDir().mkpath(store());
        Book book(store());
        book.add({"Bia", "", ""});
        QCOMPARE(book.shownNames(), QStringList{"Bia"});
        QVERIFY(!Dialogs::shownMessages().isEmpty());
        QVERIFY(Dialogs::shownMessages().last().text.contains("Unable to write to"));
        QVERIFY(QFileInfo(store()).isDir());
    }

    // A computer found on the network is offered filled in; OK files it in name order and
    // in the store, Cancel leaves both alone, and the book window stays closed either way.
    void proposedContactIsAddedOnlyOnOk()
    {
        Contacts::saveToFile(store(), {{"Zoz", "pc-zoz", ""}});
        TfrmAddressBook window(store());
        window.proposeContact({"Bia", "10.78.0.9", "mesa-2.local"});
        TfrmAddContato *dialog = window.contactDialog();
        QVERIFY(dialog->isVisible() && !window.isVisible());
        QCOMPARE(dialog->fields(), (Contact{"Bia", "10.78.0.9", "mesa-2.local"}));
        dialog->findChild<QPushButton *>("cmdCancel")->click();
        QCOMPARE(names(Contacts::loadFromFile(store())), QStringList{"Zoz"});

        window.proposeContact({"Bia", "10.78.0.9", "mesa-2.local"});
        dialog->findChild<QLineEdit *>("txtNome")->setText("Bia Lima");
        dialog->findChild<QPushButton *>("cmdOK")->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(Contacts::loadFromFile(store()),
                 (QList<Contact>{{"Bia Lima", "10.78.0.9", "mesa-2.local"}, {"Zoz", "pc-zoz", ""}}));
    }

    void f1AsksForHelpContextSeven()
    {
        Book book(store());
        QSignalSpy spy(&book.window, &TfrmAddressBook::helpRequested);
        QTest::keyClick(&book.window, Qt::Key_F1);
        book.click("cmdNovo");
        QTest::keyClick(book.window.contactDialog(), Qt::Key_F1);
        QCOMPARE(spy.size(), 2);
        QCOMPARE(spy.at(0).at(0).toInt(), 7);
        QCOMPARE(spy.at(1).at(0).toInt(), 7);
        book.answer({}, false);
    }
};

QTEST_MAIN(TestContacts)
#include "tst_contacts.moc"
