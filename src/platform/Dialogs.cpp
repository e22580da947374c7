#include "platform/Dialogs.h"

#include "platform/WindowActivation.h"
#include "platform/WindowTitle.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QQueue>
#include <QSpacerItem>
#include <memory>

namespace {

struct SeamState
{
    bool testMode = false;
    QQueue<QMessageBox::StandardButton> answers;
    QQueue<QColor> colors;
    QQueue<std::optional<QFont>> fonts;
    QQueue<QString> fileNames;
    QQueue<QString> printFiles;
    QList<Dialogs::ShownMessage> shown;
    QStringList colorTitles;
};

SeamState &state()
{
    static SeamState s;
    return s;
}

template <typename T>
std::optional<T> takePreset(QQueue<T> &queue)
{
    if (queue.isEmpty())
        return std::nullopt;
    return queue.dequeue();
}

QMessageBox::StandardButton showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                    const QString &text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton)
{
    auto &s = state();
    s.shown.append({title, text});
    if (auto preset = takePreset(s.answers))
        return *preset;
    if (s.testMode)
        return defaultButton;
    const std::unique_ptr<QMessageBox> box = Dialogs::makeBox(parent, icon, title, text, buttons, defaultButton);
    return static_cast<QMessageBox::StandardButton>(box->exec());
}

QString takeFileName(bool &answered)
{
    auto &s = state();
    if (auto preset = takePreset(s.fileNames)) {
        answered = true;
        return *preset;
    }
    answered = s.testMode;
    return {};
}

} // namespace

namespace Dialogs {

std::unique_ptr<QMessageBox> makeBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                     QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    auto box = std::make_unique<QMessageBox>(icon, title, text, buttons, parent);
    box->setDefaultButton(defaultButton);
    // The box fits itself to its text and to a short title; the window manager also shows the
    // program's name after the title, and its own buttons. A strut across the box keeps room
    // for all of it.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout())) {
        const QMargins margins = grid->contentsMargins();
        const int strut = WindowTitle::fittingWidth(title) - margins.left() - margins.right();
        grid->addItem(new QSpacerItem(strut, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                      qMax(1, grid->columnCount()));
    }
    // Boxes also open from menus that a panel shows for the program: they must still take the
    // focus, or their keys go elsewhere and the program waits on a box nobody can answer.
    WindowActivation::activateWhenShown(box.get());
    return box;
}

void error(QWidget *parent, const QString &text)
{
    showBox(parent, QMessageBox::Critical, QObject::tr("Erro"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void warning(QWidget *parent, const QString &text)
{
    showBox(parent, QMessageBox::Information, QObject::tr("Aviso"), text, QMessageBox::Ok, QMessageBox::Ok);
}

void information(QWidget *parent, const QString &title, const QString &text)
{
    showBox(parent, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool confirm(QWidget *parent, const QString &title, const QString &text)
{
    return showBox(parent, QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                   QMessageBox::No) == QMessageBox::Yes;
}

void message(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    showBox(parent, icon, title, text, QMessageBox::Ok, QMessageBox::Ok);
}

void showException(const QString &text)
{
    showBox(nullptr, QMessageBox::Critical, QApplication::applicationDisplayName(), text,
            QMessageBox::Ok, QMessageBox::Ok);
}

QColor getColor(QWidget *parent, const QColor &initial, const QString &title)
{
    auto &s = state();
    s.colorTitles.append(title);
    if (auto preset = takePreset(s.colors))
        return *preset;
    if (s.testMode)
        return {};
    return QColorDialog::getColor(initial, parent, title);
}

std::optional<QFont> getFont(QWidget *parent, const QFont &initial)
{
    auto &s = state();
    if (auto preset = takePreset(s.fonts))
        return *preset;
    if (s.testMode)
        return std::nullopt;
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

QString getOpenFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    bool answered = false;
    const QString preset = takeFileName(answered);
    return answered ? preset : QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString getSaveFileName(QWidget *parent, const QString &caption, const QString &dir, const QString &filter)
{
    bool answered = false;
    const QString preset = takeFileName(answered);
    return answered ? preset : QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QString getExistingDirectory(QWidget *parent, const QString &caption, const QString &dir)
{
    bool answered = false;
    const QString preset = takeFileName(answered);
    return answered ? preset : QFileDialog::getExistingDirectory(parent, caption, dir);
}

std::optional<QString> takePrintToPdf()
{
    return takePreset(state().printFiles);
}

void setTestMode(bool on) { state().testMode = on; }
bool testMode() { return state().testMode; }
void setNextAnswer(QMessageBox::StandardButton answer) { state().answers.enqueue(answer); }
void setNextColor(const QColor &color) { state().colors.enqueue(color); }
void setNextFont(const std::optional<QFont> &font) { state().fonts.enqueue(font); }
void setNextFileName(const QString &fileName) { state().fileNames.enqueue(fileName); }
void setNextPrintToPdf(const QString &pdfPath) { state().printFiles.enqueue(pdfPath); }
QList<ShownMessage> shownMessages() { return state().shown; }
void clearShownMessages() { state().shown.clear(); }
QStringList colorDialogTitles() { return state().colorTitles; }

void resetAnswers()
{
    auto &s = state();
    s.answers.clear();
    s.colors.clear();
    s.fonts.clear();
    s.fileNames.clear();
    s.printFiles.clear();
    s.shown.clear();
    s.colorTitles.clear();
}

} // namespace Dialogs
