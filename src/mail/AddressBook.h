#pragma once
// The contact book "Caderneta de Contatos" (TfrmAddressBook) and its contact dialog
// (TfrmAddContato). The book is opened to maintain the contacts (the recipient panel hidden) or
// to choose recipients for a send dialog (the panel shown; the caller reads chosen()). Every
// change is written to the store's [Contatos] section at once.
#include "mail/Contacts.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QStatusBar;
class QTableWidget;
class QToolBar;
class QToolButton;
class QWidget;

class TfrmAddContato : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHelpContext = 7;

    explicit TfrmAddContato(QWidget *parent = nullptr);

    void setFields(const Contact &contact);
    Contact fields() const;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QLabel *m_label3 = nullptr;
    QLineEdit *m_txtNome = nullptr;
    QLineEdit *m_txtEmail = nullptr;
    QLineEdit *m_txtAnotacoes = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};

class TfrmAddressBook : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kHelpContext = 7;

    // `storePath` is the store file the contacts live in.
    explicit TfrmAddressBook(const QString &storePath, QWidget *parent = nullptr);

    // Shows or hides the recipient panel for the next display; set by whoever opens the book.
    void setRecipientPanelVisible(bool visible);
    bool recipientPanelVisible() const;

    // Maintenance use: the panel hidden, the book shown modally.
    void maintain();
    // Recipient use: the panel shown, the book shown modally; the addresses chosen.
    QStringList chooseRecipients();
    // Opens the contact dialog filled in with `contact`; OK adds it to the book and the store
    // like "&Novo" does. The book itself stays closed.
    void proposeContact(const Contact &contact);

    // The chosen addresses, in the order chosen (the entries of lstSelecionado).
    QStringList chosen() const;
    // The contacts in display order.
    QList<Contact> contacts() const { return m_contacts; }

    // The commands, as their buttons run them. Novo and Editar open TfrmAddContato and finish
    // when it closes.
    void cmdNovoClick();
    void cmdEditarClick();
    void cmdExcluirClick();
    void cmdFecharClick();
    void cmdInserirClick();
    void cmdRemoverClick();

    TfrmAddContato *contactDialog() const { return m_addContato; }

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void reload();
    void fillList();
    void save();
    // Rows selected, in list order.
    QList<int> selectedRows() const;
    void addContact(const Contact &contact);
    void replaceContact(int row, const Contact &contact);

    QString m_storePath;
    QList<Contact> m_contacts;
    int m_editingRow = -1;

    QToolBar *m_toolBar = nullptr;
    QToolButton *m_cmdNovo = nullptr;
    QToolButton *m_cmdEditar = nullptr;
    QToolButton *m_cmdExcluir = nullptr;
    QToolButton *m_cmdFechar = nullptr;
    QTableWidget *m_lstContato = nullptr;
    QWidget *m_pnlSelecionado = nullptr;
    QLabel *m_label1 = nullptr;
    QPushButton *m_cmdInserir = nullptr;
    QPushButton *m_cmdRemover = nullptr;
    QListWidget *m_lstSelecionado = nullptr;
    QStatusBar *m_statusBar1 = nullptr;
    TfrmAddContato *m_addContato = nullptr;
};
