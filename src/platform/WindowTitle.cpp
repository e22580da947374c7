#include "platform/WindowTitle.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QEvent>
#include <QWidget>

namespace WindowTitle {

QString shown(const QString &title)
{
    const QString name = QString::fromLatin1(kProgramName);
    if (title.isEmpty() || title.endsWith(name))
        return title.isEmpty() ? name : title;
    return title + QStringLiteral(" \u2014 ") + name;
}

int fittingWidth(const QString &title)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(shown(title)) + kDecorationWidth;
}

namespace {

// What a window laid out by hand asked for, and how far its controls were moved to stand in
// the middle of the wider window.
constexpr char kDesignWidth[] = "titleFitDesignWidth";
constexpr char kFittedWidth[] = "titleFitFittedWidth";
constexpr char kShift[] = "titleFitShift";

void centreHandPlacedControls(QWidget *window, int shift)
{
    const int moved = window->property(kShift).toInt();
    if (shift == moved)
        return;
    for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow())
            child->move(child->x() + shift - moved, child->y());
    window->setProperty(kShift, shift);
}

} // namespace

void fitWindow(QWidget *window)
{
    const int width = fittingWidth(window->windowTitle());
    if (window->minimumWidth() != window->maximumWidth()) {
        if (window->minimumWidth() < width)
            window->setMinimumWidth(width);
        return;
    }
    // A fixed width the window set itself (not the one set here) is its design width.
    if (window->minimumWidth() != window->property(kFittedWidth).toInt())
        window->setProperty(kDesignWidth, window->minimumWidth());
    const int design = window->property(kDesignWidth).toInt();
    const int fitted = qMax(design, width);
    window->setProperty(kFittedWidth, fitted);
    if (window->minimumWidth() != fitted)
        window->setFixedWidth(fitted);
    if (!window->layout())
        centreHandPlacedControls(window, (fitted - design) / 2);
}

namespace {

class TitleFit : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::WindowTitleChange:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::LanguageChange:
            // A window that sets its own fixed size again (to show a panel, after a language
            // change) is widened again after it.
            fitWindow(static_cast<QWidget *>(watched));
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

void keepFitting(QWidget *window)
{
    window->installEventFilter(new TitleFit(window));
    fitWindow(window);
}

} // namespace WindowTitle
