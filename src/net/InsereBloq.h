#pragma once
// "Inserir Remetente Bloqueado": asks for one entry of the sender block list. Made once at
// program start and reused; the entry field is emptied every time the dialog is shown. Nothing
// typed is checked: only an entry equal to a sender's dotted address ever blocks anything.
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

    // The text typed, unchanged.
    QString entry() const;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslateUi();

    QLabel *m_label1;
    QLineEdit *m_txtBloq;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancelar;
};
