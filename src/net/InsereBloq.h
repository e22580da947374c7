#pragma once
// "Inserir Remetente Bloqueado": asks for one entry of the sender block list. Made once at
// program start and reused; the entry field is emptied every time the dialog is shown. Only an
// entry equal to a sender's dotted IPv4 address ever blocks anything, so OK takes nothing else.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmInsereBloq : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 6;

    explicit TfrmInsereBloq(QWidget *parent = nullptr);

    // The IP address typed, without the blanks around it; null when what was typed could never
    // match a sender (OK then refuses it).
    QString entry() const;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslateUi();
    void cmdOKClick();

    QLabel *m_label1;
    QLineEdit *m_txtBloq;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancelar;
};
