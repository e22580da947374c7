#pragma once
// "Configurar Som": picks the wave file of one event sound (a new note, a deleted note, a
// received note), or no sound at all. Made once at program start and reused by the "Sons"
// page of the preferences.
#include <QDialog>
#include <optional>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TfrmConfSom : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 4;

    explicit TfrmConfSom(QWidget *parent = nullptr);

    // Runs the dialog for the event named `eventName` whose file is `path`. Returns the path
    // chosen (empty for "Sem Som") when it closes with OK, nothing when cancelled.
    std::optional<QString> chooseSound(const QString &eventName, const QString &path);

    // The radio group's caption and the file field, as the opener sets them.
    void setEventCaption(const QString &caption);
    void setFileName(const QString &path);
    QString fileName() const;

signals:
    void helpRequested(int context);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void retranslateUi();
    void applyEnabling();
    void cmdProcurarClick();
    void cmdOKClick();

    QGroupBox *m_rgpEvento;
    QRadioButton *m_radSemSom;
    QRadioButton *m_radSom;
    QLineEdit *m_fleWave;
    QPushButton *m_cmdProcurar;
    QPushButton *m_cmdOK;
    QPushButton *m_cmdCancelar;
};
