#pragma once
// Driving dialogs as a user would: controls found by objectName, clicks where a user clicks,
// typing into a field, and acting on the next modal window without ever blocking on it.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

template <typename T = QWidget>
T *child(QWidget *parent, const char *name)
{
    T *w = parent->findChild<T *>(QLatin1String(name));
    if (!w)
        qWarning("no child %s", name);
    return w;
}

// A check box or radio button on its box, a push button in its middle.
inline void click(QWidget *parent, const char *name)
{
    auto *button = child<QAbstractButton>(parent, name);
    const bool box = qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button);
    QTest::mouseClick(button, Qt::LeftButton, {}, box ? QPoint(6, button->height() / 2) : button->rect().center());
}

inline void setChecked(QWidget *parent, const char *name, bool on)
{
    if (child<QAbstractButton>(parent, name)->isChecked() != on)
        click(parent, name);
}

// Replaces the field's text by typing.
inline void typeInto(QWidget *parent, const char *name, const QString &text)
{
    auto *edit = child<QLineEdit>(parent, name);
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Runs `act` on the next modal window of type T once it is up; whatever is left open is then
// rejected, so a failing step never leaves the test waiting.
template <typename T>
void whenModal(std::function<void(T *)> act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll->start(10);
}
