#pragma once
// Every modal message box and standard dialog of the program goes through here. Tests preset
// the next answers, and in test mode a box without a preset answer takes its default at once,
// so that no test ever waits on a modal window.
#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

namespace Dialogs {

struct ShownMessage
{
    QString title;
    QString text;
};

// "Erro" with an error icon: refusals and failures.
void error(QWidget *parent, const QString &text);
// "Aviso" with an information icon: warnings.
void warning(QWidget *parent, const QString &text);
// Any caption with an information icon (the send dialog's "Erro" for a recipient it could not
// reach is one).
void information(QWidget *parent, const QString &title, const QString &text);
// A confirmation with Yes and No, a question icon and No as default. True only for Yes.
bool confirm(QWidget *parent, const QString &title, const QString &text);
// A box with an OK button, the given icon and caption (texts a form translates itself).
void message(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);
// The application's default error box for a failure in a timer step, command or handler.
void showException(const QString &text);
// The box every call above shows (outside test mode): wide enough for its whole title.
std::unique_ptr<QMessageBox> makeBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);

// Invalid when cancelled. `title` names what the colour is for; empty: the toolkit's own title.
QColor getColor(QWidget *parent, const QColor &initial, const QString &title = QString());
std::optional<QFont> getFont(QWidget *parent, const QFont &initial);   // empty when cancelled
QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter);
QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir);
// The PDF file a test asked the next print to go to (empty: the test's "cancel"); none when
// the print dialog is to be asked.
std::optional<QString> takePrintToPdf();

// --- test seam -------------------------------------------------------------------------
void setTestMode(bool on);
bool testMode();
void setNextAnswer(QMessageBox::StandardButton answer);
void setNextColor(const QColor &color);            // an invalid colour answers "cancel"
void setNextFont(const std::optional<QFont> &font);
void setNextFileName(const QString &fileName);     // an empty name answers "cancel"
void setNextPrintToPdf(const QString &pdfPath);    // an empty path answers "cancel"
QList<ShownMessage> shownMessages();
// The titles of the colour dialogs asked for since the last reset, in order.
QStringList colorDialogTitles();
void clearShownMessages();
void resetAnswers();

} // namespace Dialogs
