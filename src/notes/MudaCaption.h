#pragma once
// The title dialog "Muda Título": edits one note's title, at most 50 characters. One instance
// serves the whole run; the note fills it before showing it and reads it back on OK.
#include "store/AppSettings.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TfrmMudaCaption : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaxTitleLength = 50;

    explicit TfrmMudaCaption(QWidget *parent = nullptr);

    // The run's instance, made on first use.
    static TfrmMudaCaption *instance();

    // Fills the field with `title` and enables "&OK" (an empty title may be confirmed as is).
    // `settings` gives "&Padrão" its ShowDate / ShowTime; null means both set.
    void prepare(const QString &title, const AppSettings *settings);
    QString captionText() const;

    // Fills the dialog, runs it modally and returns whether it closed with OK.
    bool edit(QString &title, const AppSettings *settings);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void textChanged(const QString &text);
    void defaultClicked();

    const AppSettings *m_settings = nullptr;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_txtCaptionNota = nullptr;
    QPushButton *m_cmdPadrao = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancelar = nullptr;
};
