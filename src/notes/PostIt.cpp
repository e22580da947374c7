#include "notes/PostIt.h"

#include "notes/ControllerEvents.h"
#include "notes/HitTest.h"
#include "notes/MudaCaption.h"
#include "notes/NoteLayout.h"
#include "notes/NoteLinks.h"
#include "notes/NotePrinting.h"
#include "notes/NoteText.h"
#include "notes/NoteZoom.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QTextDocument>
#include <QGuiApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <utility>

namespace {

// The alarm icons are drawn here rather than shipped: a small bell, dark when armed, red with
// motion lines when ringing.
QPixmap drawBell(bool ringing)
{
    QPixmap pm(14, 13);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = ringing ? QColor(210, 0, 0) : QColor(70, 60, 20);

    QPainterPath bell;
    bell.moveTo(3.0, 9.5);
    bell.cubicTo(4.5, 8.5, 4.0, 2.0, 7.0, 2.0);
    bell.cubicTo(10.0, 2.0, 9.5, 8.5, 11.0, 9.5);
    bell.closeSubpath();
    p.fillPath(bell, ink);
    p.setPen(QPen(ink, 1.0));
    p.drawLine(QPointF(2.5, 9.5), QPointF(11.5, 9.5));
    p.setBrush(ink);
    p.drawEllipse(QPointF(7.0, 11.0), 1.2, 1.2);
    p.drawEllipse(QPointF(7.0, 1.2), 0.8, 0.8);
    if (ringing) {
        p.setPen(QPen(ink, 1.0));
        p.drawLine(QPointF(1.5, 3.0), QPointF(0.5, 5.0));
        p.drawLine(QPointF(2.0, 6.0), QPointF(0.5, 7.5));
        p.drawLine(QPointF(12.5, 3.0), QPointF(13.5, 5.0));
        p.drawLine(QPointF(12.0, 6.0), QPointF(13.5, 7.5));
    }
    return pm;
}

// Drawn once per run: every note shows the same two pictures.
const QPixmap &bellPixmap(bool ringing)
{
    static const QPixmap armed = drawBell(false);
    static const QPixmap ringingBell = drawBell(true);
    return ringing ? ringingBell : armed;
}

QFont smallFont(bool bold, bool italic)
{
    QFont f(QStringLiteral("Small Fonts"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(9);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

void paintBackground(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, colour);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

// The small white-faced buttons of the title bar. Painted here rather than styled by a style
// sheet: a style sheet per button made every note window several times slower to create.
class TitleButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), isDown() ? QColor(0xD8, 0xD8, 0xD8) : QColor(Qt::white));
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.setFont(font());
        p.drawText(rect(), Qt::AlignCenter, text());
    }
};

// Draws the web and mail addresses of the text as links. Only the drawing changes: the
// formats live in the text's layout, never in the text or its undo history.
class LinkHighlighter : public QSyntaxHighlighter
{
public:
    using QSyntaxHighlighter::QSyntaxHighlighter;

    void setNoteColour(const QColor &note)
    {
        const QColor colour = NoteLinks::linkColour(note);
        if (colour == m_colour)
            return;
        m_colour = colour;
        rehighlight();
    }

protected:
    void highlightBlock(const QString &text) override
    {
        if (!m_colour.isValid())
            return;
        QTextCharFormat link;
        link.setForeground(m_colour);
        link.setFontUnderline(true);
        for (const NoteLinks::Link &found : NoteLinks::find(text))
            setFormat(int(found.start), int(found.length), link);
    }

private:
    QColor m_colour;
};

QPushButton *titleButton(QWidget *parent, const char *name, const QString &caption, const QFont &font)
{
    auto *b = new TitleButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setFocusPolicy(Qt::NoFocus);
    b->setFont(font);
    b->setFixedSize(NoteLayout::kButtonSize, NoteLayout::kButtonSize);
    b->setCursor(Qt::ArrowCursor);
    return b;
}

} // namespace

TfPostIt::TfPostIt(int tag, QObject *controller, const AppSettings *settings, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_tag(tag)
    , m_controller(controller)
    , m_settings(settings)
{
    setObjectName(QStringLiteral("TfPostIt"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setMinimumSize(kMinWidth, kMinHeight);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::DefaultContextMenu);

    buildChildren();
    retranslateUi();
    resize(kCreatedWidth, kCreatedHeight);
    m_storedGeometry = QRect(pos(), size());
    repaintColours();
    applyTitleFont();
    layOut();
}

TfPostIt::~TfPostIt() = default;

void TfPostIt::buildChildren()
{
    m_pnlCaption = new QWidget(this);
    m_pnlCaption->setObjectName(QStringLiteral("pnlCaption"));
    m_pnlCaption->setCursor(Qt::ArrowCursor);

    m_panel1 = new QWidget(m_pnlCaption);
    m_panel1->setObjectName(QStringLiteral("Panel1"));

    m_imgAlarme = new QLabel(m_panel1);
    m_imgAlarme->setObjectName(QStringLiteral("imgAlarme"));
    m_imgAlarme->setPixmap(bellPixmap(false));
    m_imgAlarme->setFixedSize(14, 13);
    m_imgAlarme->setAttribute(Qt::WA_TranslucentBackground);
    m_imgAlarme->hide();

    m_imgAlarmeOn = new QLabel(m_panel1);
    m_imgAlarmeOn->setObjectName(QStringLiteral("imgAlarmeOn"));
    m_imgAlarmeOn->setPixmap(bellPixmap(true));
    m_imgAlarmeOn->setFixedSize(14, 13);
    m_imgAlarmeOn->setAttribute(Qt::WA_TranslucentBackground);
    m_imgAlarmeOn->hide();

    m_lblCaption = new QLabel(m_pnlCaption);
    m_lblCaption->setObjectName(QStringLiteral("lblCaption"));
    m_lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_lblCaption->setTextFormat(Qt::PlainText);

    m_cmdEsconder = titleButton(m_pnlCaption, "cmdEsconder", QStringLiteral("-"), smallFont(false, false));
    m_cmdApagarPostit = titleButton(m_pnlCaption, "cmdApagarPostit", QStringLiteral("X"), smallFont(true, false));
    connect(m_cmdEsconder, &QPushButton::clicked, this, &TfPostIt::hideButtonClicked);
    connect(m_cmdApagarPostit, &QPushButton::clicked, this, &TfPostIt::postDelete);

    m_memPostit = new QPlainTextEdit(this);
    m_memPostit->setObjectName(QStringLiteral("memPostit"));
    m_memPostit->setFrameShape(QFrame::NoFrame);
    m_memPostit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memPostit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_memPostit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memPostit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_memPostit->document()->setDocumentMargin(1);
    connect(m_memPostit->document(), &QTextDocument::contentsChanged, this, [this] {
        m_textCacheValid = false;
        emit changed(m_tag);
    });
    m_links = new LinkHighlighter(m_memPostit->document());
    m_memPostit->viewport()->setMouseTracking(true);

    m_pnlRodape = new QWidget(this);
    m_pnlRodape->setObjectName(QStringLiteral("pnlRodape"));
    m_pnlRodape->setCursor(Qt::ArrowCursor);
    m_pnlRodape->setFont(smallFont(false, true));
    m_pnlRodape->hide();

    m_lblRodape = new QLabel(m_pnlRodape);
    m_lblRodape->setObjectName(QStringLiteral("lblRodape"));
    m_lblRodape->setTextFormat(Qt::PlainText);
    m_lblRodape->setFont(smallFont(false, true));
    m_lblRodape->setAttribute(Qt::WA_TranslucentBackground);
    m_lblRodape->move(3, 1);
    {
        QPalette pal = m_lblRodape->palette();
        pal.setColor(QPalette::WindowText, Qt::black);
        m_lblRodape->setPalette(pal);
    }

    for (QObject *o : {static_cast<QObject *>(m_pnlCaption), static_cast<QObject *>(m_panel1),
                       static_cast<QObject *>(m_lblCaption), static_cast<QObject *>(m_imgAlarme),
                       static_cast<QObject *>(m_imgAlarmeOn), static_cast<QObject *>(m_pnlRodape),
                       static_cast<QObject *>(m_lblRodape), static_cast<QObject *>(m_memPostit),
                       static_cast<QObject *>(m_memPostit->viewport()), static_cast<QObject *>(m_cmdEsconder),
                       static_cast<QObject *>(m_cmdApagarPostit)})
        o->installEventFilter(this);
}

QMenu *TfPostIt::popPrincipal()
{
    if (!m_menu)
        buildMenu();
    return m_menu;
}

void TfPostIt::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("popPrincipal"));
    connect(m_menu, &QMenu::aboutToShow, this, &TfPostIt::popPrincipalPopup);

    auto item = [this](QMenu *menu, const char *name, const QKeySequence &key = {}) {
        QAction *a = menu->addAction(QString());
        a->setObjectName(QLatin1String(name));
        // Shown beside the item; the note itself answers the keys (shortcutCommand).
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        }
        return a;
    };
    auto separator = [](QMenu *menu, const char *name) {
        QAction *a = menu->addSeparator();
        a->setObjectName(QLatin1String(name));
        return a;
    };

    m_mnuURL = item(m_menu, "mnuURL");
    m_sepURL = separator(m_menu, "sepURL");
    m_mnuURL->setVisible(false);
    m_sepURL->setVisible(false);
    connect(m_mnuURL, &QAction::triggered, this, &TfPostIt::openSelectedAddress);

    QAction *configurar = item(m_menu, "mnuConfigurar");
    connect(configurar, &QAction::triggered, this, [this] { emit configureRequested(m_tag, false); });
    QAction *mudaCaption = item(m_menu, "mnuMudaCaption", QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(mudaCaption, &QAction::triggered, this, &TfPostIt::openTitleDialog);
    QAction *alarme = item(m_menu, "mnuAlarme", QKeySequence(Qt::CTRL | Qt::Key_A));
    connect(alarme, &QAction::triggered, this, [this] { emit configureRequested(m_tag, true); });
    separator(m_menu, "N4");

    m_mnuOnTop = item(m_menu, "mnuOnTop");
    m_mnuOnTop->setCheckable(true);
    m_mnuOnTop->setChecked(topmost());
    connect(m_mnuOnTop, &QAction::triggered, this, &TfPostIt::setTopmost);
    separator(m_menu, "N5");

    QAction *copiar = item(m_menu, "mnuCopiar");
    connect(copiar, &QAction::triggered, this, &TfPostIt::copySelection);
    QAction *colar = item(m_menu, "mnuColar");
    connect(colar, &QAction::triggered, this, &TfPostIt::pasteClipboard);
    separator(m_menu, "N2");

    m_mnuEnviar = m_menu->addMenu(QString());
    m_mnuEnviar->setObjectName(QStringLiteral("mnuEnviarMenu"));
    m_mnuEnviarAction = m_mnuEnviar->menuAction();
    m_mnuEnviarAction->setObjectName(QStringLiteral("mnuEnviar"));

    // The send commands depend on the network setting at the moment they run, so a shortcut
    // pressed while networking is off does nothing, as the disabled submenu would.
    auto networkOn = [this] { return m_settings && m_settings->recRede.Enabled; };
    QAction *rede = item(m_mnuEnviar, "EnviarpelaRede1", QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(rede, &QAction::triggered, this, [this, networkOn] {
        if (networkOn())
            emit sendToComputerRequested(m_tag, false);
    });
    m_mnuResponder = item(m_mnuEnviar, "mnuResponder", QKeySequence(Qt::CTRL | Qt::Key_R));
    m_mnuResponder->setVisible(footerShown());
    connect(m_mnuResponder, &QAction::triggered, this, [this, networkOn] {
        if (networkOn() && footerShown())
            emit sendToComputerRequested(m_tag, true);
    });
    separator(m_mnuEnviar, "N3");
    QAction *email = item(m_mnuEnviar, "EMail1", QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(email, &QAction::triggered, this, [this, networkOn] {
        if (networkOn())
            emit emailRequested(m_tag);
    });

    QAction *imprimir = item(m_menu, "mnuImprimir");
    connect(imprimir, &QAction::triggered, this, &TfPostIt::printNote);
    separator(m_menu, "N1");
    QAction *sair = item(m_menu, "Sair1", QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(sair, &QAction::triggered, this, &TfPostIt::postDelete);

    // Disabled items show their hints too: the send items are greyed out while the network is
    // off, and the hint says where to turn it on.
    m_menu->setToolTipsVisible(true);
    retranslateMenu();
    updateSendItem();
}

void TfPostIt::updateSendItem()
{
    const bool on = m_settings && m_settings->recRede.Enabled;
    m_mnuEnviarAction->setEnabled(on);
    const QString hint = on ? QString() : tr("Ligue a rede em Preferências > Rede");
    m_mnuEnviarAction->setToolTip(hint);
    m_mnuEnviarAction->setStatusTip(hint);
}

void TfPostIt::retranslateUi()
{
    m_cmdEsconder->setToolTip(tr("Esconder esta nota"));
    m_cmdApagarPostit->setToolTip(tr("Apagar esta nota"));
    nameWindow();
    if (m_menu)
        retranslateMenu();
}

void TfPostIt::retranslateMenu()
{
    const std::pair<const char *, QString> captions[] = {
        {"mnuURL", tr("Abrir &URL")},
        {"mnuConfigurar", tr("C&onfigurar...")},
        {"mnuMudaCaption", tr("&Título da Nota...")},
        {"mnuAlarme", tr("Alarme...")},
        {"mnuOnTop", tr("Sempre &Visível")},
        {"mnuCopiar", tr("Co&piar")},
        {"mnuColar", tr("C&olar")},
        {"mnuEnviar", tr("Enviar...")},
        {"EnviarpelaRede1", tr("&Para um Computador...")},
        {"mnuResponder", tr("&Responder para Computador...")},
        {"EMail1", tr("E-Mail...")},
        {"mnuImprimir", tr("&Imprimir")},
        {"Sair1", tr("&Apagar Nota...")},
    };
    for (const auto &[name, caption] : captions)
        if (QAction *a = m_menu->findChild<QAction *>(QLatin1String(name)))
            a->setText(caption);
    if (m_mnuEnviarAction)
        updateSendItem();
}

void TfPostIt::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QWidget::changeEvent(event);
}

// --- state ---------------------------------------------------------------------------------

NoteData TfPostIt::data() const
{
    NoteData d;
    d.caption = title();
    d.visible = isVisible();
    d.topmost = topmost();
    d.alarm = m_alarm;
    d.alarmDateTime = m_alarmDateTime;
    d.useSound = m_useSound;
    d.soundFile = m_soundFile;
    d.dia = m_dia;
    d.remember = m_remember;
    d.rememberNo = m_rememberNo;
    d.rememberUnit = m_rememberUnit;
    d.note = text();
    d.scrollbar = scrollBar();
    d.darkCaption = m_darkCaption;
    d.trackPosition = m_trackPosition;
    d.posx = m_storedGeometry.x();
    d.posy = m_storedGeometry.y();
    d.width = m_storedGeometry.width();
    d.height = m_storedGeometry.height();
    d.font = m_font;
    d.color = m_color;
    d.rodape = footerShown() ? footerText() : QString();
    d.syncId = m_syncId;
    return d;
}

void TfPostIt::applyData(const NoteData &d)
{
    m_alarm = d.alarm;
    if (d.alarm) {
        m_alarmDateTime = d.alarmDateTime;
        m_useSound = d.useSound;
        m_soundFile = d.soundFile;
        m_dia = d.dia;
        m_remember = d.remember;
        m_rememberNo = d.rememberNo;
        m_rememberUnit = d.rememberUnit;
    }
    setArmedIconShown(d.alarm);

    setScrollBar(d.scrollbar);
    m_darkCaption = d.darkCaption;
    m_trackPosition = d.trackPosition;
    setFooterText(d.rodape);
    place(QRect(d.posx, d.posy, d.width, d.height));

    NoteFont font = m_font;
    font.bold = d.font.bold;
    font.italic = d.font.italic;
    setNoteFont(font);

    setColor(d.color);
    setVisible(d.visible);

    font.name = d.font.name;
    font.size = d.font.size;
    font.colour = d.font.colour;
    setNoteFont(font);
    setTitleFontColour(d.font.colour);

    setTitle(d.caption);
    setText(d.note);
    setTopmost(d.topmost);
    m_syncId = d.syncId;
}

QString TfPostIt::title() const { return m_lblCaption->text(); }

void TfPostIt::setTitle(const QString &title)
{
    m_lblCaption->setText(title);
    nameWindow();
    emit changed(m_tag);
}

void TfPostIt::nameWindow()
{
    // What the window manager, the task switchers and screen readers call the note, and its
    // text: the title, or for a note without one, that it has none.
    const QString title = m_lblCaption->text();
    const QString name = title.trimmed().isEmpty() ? tr("Nota sem título") : title;
    setWindowTitle(name);
    m_memPostit->setAccessibleName(name);
}

QString TfPostIt::text() const
{
    // Every save reads every note's text; most notes have not changed since the last one.
    if (!m_textCacheValid) {
        m_textCache = NoteText::toCrLf(NoteText::fromEditor(m_memPostit->document()->toRawText()));
        m_textCacheValid = true;
    }
    return m_textCache;
}

void TfPostIt::setText(const QString &text)
{
    m_memPostit->setPlainText(NoteText::toLf(text));
    m_linesAppended = false;
}

void TfPostIt::appendText(const QString &line)
{
    // An empty text area holds no line, or one empty line that was appended: only the first
    // line appended to an empty text goes in without a break before it.
    QTextCursor cursor(m_memPostit->document());
    cursor.movePosition(QTextCursor::End);
    if (m_linesAppended || !m_memPostit->document()->isEmpty())
        cursor.insertText(QStringLiteral("\n"));
    cursor.insertText(NoteText::toLf(line));
    m_linesAppended = true;
}

void TfPostIt::pasteClipboard()
{
    // Only the clipboard's plain text is taken: on X11 the offered data may vanish with the
    // program that owned it, and the editor's own paste does not survive that.
    const QString text = QGuiApplication::clipboard()->text();
    if (!text.isEmpty())
        m_memPostit->insertPlainText(text);
}

QString TfPostIt::selectedText() const
{
    QString s = m_memPostit->textCursor().selectedText();
    s.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    s.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return s;
}

void TfPostIt::setColor(ColourValue colour)
{
    m_color = colour;
    m_captionPainted.reset();
    repaintColours();
    emit changed(m_tag);
}

NoteFont TfPostIt::noteFont() const { return m_font; }

void TfPostIt::setNoteFont(const NoteFont &font)
{
    m_settingsFontSize = font.size;
    applyNoteFont(font);
}

void TfPostIt::applyNoteFont(const NoteFont &font)
{
    m_font = font;
    QFont f(font.name);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSize(font.size > 0 ? font.size : kFallbackFontSize);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    m_memPostit->setFont(f);
    QPalette pal = m_memPostit->palette();
    pal.setColor(QPalette::Text, toQColor(font.colour));
    m_memPostit->setPalette(pal);
}

void TfPostIt::setTitleFontColour(ColourValue colour)
{
    m_titleFontColour = colour;
    applyTitleFont();
}

void TfPostIt::setDarkCaption(bool dark)
{
    m_darkCaption = dark;
    m_captionPainted.reset();
    repaintColours();
}

void TfPostIt::setTrackPosition(int step)
{
    m_trackPosition = step;
    m_captionPainted.reset();
    repaintColours();
}

void TfPostIt::paintCaption(ColourValue colour)
{
    m_captionPainted = colour;
    repaintColours();
}

int TfPostIt::footerHeight() const
{
    // The panel's own height, whether or not it has been laid out yet.
    return NoteLayout::kFooterHeight;
}

ColourValue TfPostIt::captionColour() const
{
    if (m_captionPainted)
        return *m_captionPainted;
    return m_darkCaption ? CaptionShade(m_color, m_trackPosition) : m_color;
}

bool TfPostIt::scrollBar() const
{
    return m_memPostit->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn;
}

void TfPostIt::setScrollBar(bool vertical)
{
    m_memPostit->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

bool TfPostIt::topmost() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfPostIt::setTopmost(bool on)
{
    if (m_mnuOnTop)
        m_mnuOnTop->setChecked(on);
    if (topmost() == on)
        return;
    // Changing the flag recreates the native window and hides it; keep where and how big it is.
    const QRect geometry = this->geometry();
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setGeometry(geometry);
    if (wasVisible)
        show();
}

QString TfPostIt::footerText() const { return m_lblRodape->text(); }

void TfPostIt::setFooterText(const QString &text)
{
    m_lblRodape->setText(text);
    m_lblRodape->adjustSize();
    m_pnlRodape->setVisible(!text.isEmpty());
    if (m_mnuResponder)
        m_mnuResponder->setVisible(footerShown());
    layOut();
    emit changed(m_tag);
}

bool TfPostIt::footerShown() const { return !m_pnlRodape->isHidden(); }

bool TfPostIt::armedIconShown() const { return !m_imgAlarme->isHidden(); }

void TfPostIt::setArmedIconShown(bool shown)
{
    m_imgAlarme->setVisible(shown);
    layOut();
}

bool TfPostIt::ringingIconShown() const { return !m_imgAlarmeOn->isHidden(); }

void TfPostIt::setRingingIconShown(bool shown)
{
    m_imgAlarmeOn->setVisible(shown);
    layOut();
}

void TfPostIt::bringToFront()
{
    show();
    raise();
    activateWindow();
}

// --- painting and layout -------------------------------------------------------------------

void TfPostIt::repaintColours()
{
    const QColor note = toQColor(m_color);
    const QColor caption = toQColor(captionColour());
    paintBackground(this, note);
    paintBackground(m_pnlCaption, caption);
    paintBackground(m_panel1, caption);
    paintBackground(m_pnlRodape, note);
    QPalette pal = m_memPostit->palette();
    pal.setColor(QPalette::Base, note);
    pal.setColor(QPalette::Window, note);
    m_memPostit->setPalette(pal);
    static_cast<LinkHighlighter *>(m_links)->setNoteColour(note);
}

void TfPostIt::applyTitleFont()
{
    m_lblCaption->setFont(smallFont(true, false));
    QPalette pal = m_lblCaption->palette();
    pal.setColor(QPalette::WindowText, toQColor(m_titleFontColour));
    m_lblCaption->setPalette(pal);
}

void TfPostIt::layOut()
{
    const NoteLayout l = LayOutNote(size(), footerShown());
    m_pnlCaption->setGeometry(l.caption);
    m_panel1->setGeometry(l.iconArea);
    int iconX = 0;  // the visible icons are packed to the left of the icon area
    for (QLabel *icon : {m_imgAlarme, m_imgAlarmeOn}) {
        if (icon->isHidden())
            continue;
        icon->move(iconX, 0);
        iconX += icon->width();
    }
    m_lblCaption->setGeometry(l.titleText);
    m_cmdEsconder->setGeometry(l.hideButton);
    m_cmdApagarPostit->setGeometry(l.deleteButton);
    m_memPostit->setGeometry(l.text);
    if (footerShown())
        m_pnlRodape->setGeometry(l.footer);
}

void TfPostIt::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->spontaneous() && m_userMayMove && isVisible())
        m_storedGeometry.setSize(size());
    layOut();
}

void TfPostIt::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // Only the window system reports moves spontaneously; the program's own go through place().
    if (event->spontaneous() && m_userMayMove && isVisible())
        m_storedGeometry.moveTopLeft(geometry().topLeft());
}

void TfPostIt::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Shown by the program: the window manager may place the window anew on its way up.
    if (!event->spontaneous())
        m_userMayMove = false;
}

void TfPostIt::place(const QRect &geometry)
{
    const QRect bounded(geometry.topLeft(), geometry.size().expandedTo(QSize(kMinWidth, kMinHeight)));
    m_storedGeometry = bounded;
    m_userMayMove = false;
    setGeometry(bounded);
}

// --- requests to the controller ------------------------------------------------------------

void TfPostIt::postDelete()
{
    if (m_controller)
        QCoreApplication::postEvent(m_controller, new DeleteNoteRequest(m_tag));
}

void TfPostIt::postAcknowledge()
{
    if (m_controller)
        QCoreApplication::postEvent(m_controller, new AlarmAcknowledged);
}

void TfPostIt::hideButtonClicked()
{
    if (ringingIconShown()) {
        setRingingIconShown(false);
        postAcknowledge();
    }
    hide();
}

void TfPostIt::textAreaClicked()
{
    // Also when nothing rang: the controller merely stops a tray animation if one runs.
    setRingingIconShown(false);
    postAcknowledge();
}

void TfPostIt::titleBarPressed()
{
    if (ringingIconShown()) {
        setRingingIconShown(false);
        postAcknowledge();
    }
}

void TfPostIt::ringingIconClicked()
{
    postAcknowledge();
    if (m_remember)
        setArmedIconShown(true);
    setRingingIconShown(false);
}

// --- menu commands -------------------------------------------------------------------------

void TfPostIt::popPrincipalPopup()
{
    popPrincipal();
    const QString selection = selectedText();
    const bool address = !selection.isEmpty() && NoteText::LooksLikeAddress(selection);
    m_mnuURL->setVisible(address);
    m_sepURL->setVisible(address);
    updateSendItem();
    m_mnuResponder->setVisible(footerShown());
}

void TfPostIt::openSelectedAddress()
{
    const QString selection = selectedText();
    if (selection.isEmpty())
        return;
    const QUrl address = NoteText::AddressToOpen(selection);
    if (address.isValid())
        QDesktopServices::openUrl(address);
}

void TfPostIt::copySelection()
{
    if (m_memPostit->textCursor().hasSelection())
        m_memPostit->copy();
}

void TfPostIt::openTitleDialog()
{
    QString edited = title();
    if (TfrmMudaCaption::instance()->edit(edited, m_settings))
        setTitle(edited);
}

void TfPostIt::printNote()
{
    NotePrintJob job;
    job.documentName = NoteText::PrintJobName(title());
    job.header = NoteText::PrintHeaderLines(title());
    job.lines = m_memPostit->toPlainText().split(QLatin1Char('\n'));
    job.textFont = m_memPostit->font();
    job.textColour = toQColor(m_font.colour);
    NotePrinting::print(this, job);
}

// --- zoom and links ------------------------------------------------------------------------

int TfPostIt::fontSize() const
{
    return m_font.size > 0 ? m_font.size : kFallbackFontSize;
}

void TfPostIt::zoom(int steps)
{
    const int size = NoteZoom::zoomed(fontSize(), steps);
    if (size == fontSize())
        return;
    NoteFont font = m_font;
    font.size = size;
    applyNoteFont(font);
}

void TfPostIt::resetZoom()
{
    if (m_settingsFontSize == m_font.size)
        return;
    NoteFont font = m_font;
    font.size = m_settingsFontSize;
    applyNoteFont(font);
}

bool TfPostIt::zoomKey(const QKeyEvent *event)
{
    switch (NoteZoom::stepForKey(event->key(), event->modifiers())) {
    case NoteZoom::Step::In:
        zoom(1);
        return true;
    case NoteZoom::Step::Out:
        zoom(-1);
        return true;
    case NoteZoom::Step::Reset:
        resetZoom();
        return true;
    case NoteZoom::Step::None:
        break;
    }
    return false;
}

std::optional<QUrl> TfPostIt::linkAt(const QPoint &viewportPos) const
{
    const QTextCursor near = m_memPostit->cursorForPosition(viewportPos);
    const QTextBlock block = near.block();
    const QString line = block.text();
    const QList<NoteLinks::Link> links = NoteLinks::find(line);
    if (links.isEmpty())
        return std::nullopt;
    // The nearest caret position lies between two characters: the one under the pointer is the
    // one whose box holds it, or none (past the end of a line, between lines).
    const QFontMetrics metrics(m_memPostit->font());
    const int column = near.positionInBlock();
    for (int k : {column - 1, column}) {
        if (k < 0 || k >= line.size())
            continue;
        QTextCursor at(block);
        at.setPosition(block.position() + k);
        const QRect caret = m_memPostit->cursorRect(at);
        const int right = caret.left() + metrics.horizontalAdvance(line.at(k));
        if (viewportPos.x() < caret.left() || viewportPos.x() >= right || viewportPos.y() < caret.top()
            || viewportPos.y() > caret.bottom())
            continue;
        if (const NoteLinks::Link *link = NoteLinks::linkAt(links, k))
            return link->target;
        return std::nullopt;
    }
    return std::nullopt;
}

bool TfPostIt::textAreaPointerEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        m_pressedLink.reset();
        if (me->button() == Qt::LeftButton && (me->modifiers() & Qt::ControlModifier))
            m_pressedLink = linkAt(me->position().toPoint());
        // A Ctrl+click on a link opens it and leaves the caret and the selection alone.
        return m_pressedLink.has_value();
    }
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        textAreaClicked();
        if (!m_pressedLink)
            return false;
        const QUrl target = *m_pressedLink;
        m_pressedLink.reset();
        if ((me->modifiers() & Qt::ControlModifier) && linkAt(me->position().toPoint()) == target)
            QDesktopServices::openUrl(target);
        return true;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        const bool overLink = (me->modifiers() & Qt::ControlModifier) && linkAt(me->position().toPoint());
        m_memPostit->viewport()->setCursor(overLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        return false;
    }
    case QEvent::ToolTip: {
        auto *he = static_cast<QHelpEvent *>(event);
        if (const std::optional<QUrl> target = linkAt(he->pos())) {
            QToolTip::showText(he->globalPos(), tr("Ctrl+clique para abrir %1").arg(target->toString()),
                               m_memPostit->viewport());
            return true;
        }
        QToolTip::hideText();
        return true;
    }
    case QEvent::Wheel: {
        auto *we = static_cast<QWheelEvent *>(event);
        if (!(we->modifiers() & Qt::ControlModifier))
            return false;
        if (const int steps = NoteZoom::notches(m_pendingWheel, we->angleDelta().y()))
            zoom(steps);
        return true;
    }
    default:
        return false;
    }
}

// --- mouse and keyboard --------------------------------------------------------------------

void TfPostIt::moveByHand(const QPoint &globalPos)
{
    move(globalPos - m_moveOffset);
    m_storedGeometry.moveTopLeft(pos());
}

void TfPostIt::startMove(const QPoint &globalPos)
{
    m_userMayMove = true;
    if (QWindow *w = windowHandle(); w && w->startSystemMove())
        return;
    m_manualMove = true;
    m_moveOffset = globalPos - pos();
}

void TfPostIt::titleEntered()
{
    const int textWidth = m_lblCaption->fontMetrics().horizontalAdvance(title());
    m_hintsShown = width() - 40 < textWidth;
    if (m_hintsShown)
        setToolTip(title());
}

const char *TfPostIt::shortcutCommand(const QKeyEvent *event) const
{
    static constexpr std::pair<Qt::Key, const char *> kShortcuts[] = {
        {Qt::Key_T, "mnuMudaCaption"}, {Qt::Key_A, "mnuAlarme"}, {Qt::Key_S, "EnviarpelaRede1"},
        {Qt::Key_R, "mnuResponder"},   {Qt::Key_E, "EMail1"},    {Qt::Key_Q, "Sair1"}};
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::ControlModifier)
        return nullptr;
    for (const auto &[key, command] : kShortcuts)
        if (event->key() == key)
            return command;
    return nullptr;
}

void TfPostIt::runShortcut(const char *command)
{
    QAction *a = popPrincipal()->findChild<QAction *>(QLatin1String(command));
    if (a && a->isEnabled() && a->isVisible())
        a->trigger();
}

namespace {
bool isFindNotesKey(const QKeyEvent *event)
{
    return event->key() == Qt::Key_F && (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
}
} // namespace

void TfPostIt::keyPressEvent(QKeyEvent *event)
{
    if (isFindNotesKey(event)) {
        emit findNotesRequested();
        event->accept();
        return;
    }
    if (const char *command = shortcutCommand(event)) {
        runShortcut(command);
        event->accept();
        return;
    }
    if (zoomKey(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TfPostIt::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress)
        m_userMayMove = true;

    if (m_manualMove && (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        auto *me = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseMove)
            moveByHand(me->globalPosition().toPoint());
        else
            m_manualMove = false;
        return true;
    }

    if (watched == m_memPostit) {
        if (type == QEvent::ShortcutOverride) {
            auto *ke = static_cast<QKeyEvent *>(event);
            if (shortcutCommand(ke) || isFindNotesKey(ke)
                || NoteZoom::stepForKey(ke->key(), ke->modifiers()) != NoteZoom::Step::None) {
                // The note's own shortcuts win over the text area's (Ctrl+A, for one): the
                // key comes through as a key press, answered below.
                event->accept();
                return true;
            }
            if (ke->key() == Qt::Key_F1 && ke->modifiers() == Qt::NoModifier) {
                // F1 here is the text area's own help topic, whatever else is bound to it.
                event->accept();
                return true;
            }
            return false;
        }
        if (type == QEvent::KeyPress) {
            if (const char *command = shortcutCommand(static_cast<QKeyEvent *>(event))) {
                runShortcut(command);
                return true;
            }
            if (isFindNotesKey(static_cast<QKeyEvent *>(event))) {
                emit findNotesRequested();
                return true;
            }
            if (zoomKey(static_cast<QKeyEvent *>(event)))
                return true;
        }
        if (type == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1
            && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
            emit helpRequested(1);
            return true;
        }
        return false;
    }

    if (watched == m_memPostit->viewport())
        return textAreaPointerEvent(event);

    if (watched == m_cmdEsconder || watched == m_cmdApagarPostit) {
        // Hints are shown only when the pointer last entered a title too wide to read.
        return type == QEvent::ToolTip && !m_hintsShown;
    }

    if (type == QEvent::Enter && watched == m_lblCaption) {
        titleEntered();
        return false;
    }

    auto *me = (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick
                || type == QEvent::MouseButtonRelease)
                   ? static_cast<QMouseEvent *>(event)
                   : nullptr;
    if (!me || me->button() != Qt::LeftButton)
        return false;

    if (watched == m_imgAlarme || watched == m_imgAlarmeOn) {
        if (type == QEvent::MouseButtonDblClick)
            emit configureRequested(m_tag, true);
        else if (type == QEvent::MouseButtonRelease && watched == m_imgAlarmeOn
                 && m_imgAlarmeOn->rect().contains(me->position().toPoint()))
            ringingIconClicked();
        return true;
    }

    if (type != QEvent::MouseButtonPress)
        return false;
    if (watched == m_pnlCaption || watched == m_lblCaption || watched == m_panel1) {
        titleBarPressed();
        startMove(me->globalPosition().toPoint());
        return true;
    }
    if (watched == m_pnlRodape || watched == m_lblRodape) {
        startMove(me->globalPosition().toPoint());
        return true;
    }
    return false;
}

bool TfPostIt::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseButtonPress:
    case QEvent::KeyPress:
    case QEvent::NonClientAreaMouseButtonPress:
        // The user is at the note: a move the window manager reports now is the user's
        // (dragged with a modifier key, or moved from the keyboard by the window manager).
        m_userMayMove = true;
        break;
    case QEvent::Show:
    case QEvent::Hide:
        emit changed(m_tag);
        break;
    default:
        break;
    }
    if (event->type() == QEvent::ToolTip && !m_hintsShown) {
        QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void TfPostIt::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || childAt(p)) {
        QWidget::mousePressEvent(event);
        return;
    }
    const HitZone zone = HitTest(p.x(), p.y(), width(), height());
    if (zone == HitZone::Move) {
        startMove(event->globalPosition().toPoint());
    } else if (QWindow *w = windowHandle()) {
        w->startSystemResize(EdgesOf(zone));
    }
    event->accept();
}

void TfPostIt::mouseMoveEvent(QMouseEvent *event)
{
    if (m_manualMove) {
        moveByHand(event->globalPosition().toPoint());
        return;
    }
    const QPoint p = event->position().toPoint();
    if (!childAt(p))
        setCursor(CursorOf(HitTest(p.x(), p.y(), width(), height())));
    QWidget::mouseMoveEvent(event);
}

void TfPostIt::mouseReleaseEvent(QMouseEvent *event)
{
    m_manualMove = false;
    QWidget::mouseReleaseEvent(event);
}

void TfPostIt::contextMenuEvent(QContextMenuEvent *event)
{
    // Reaches here from the title bar, the footer and the bare rim; the text area keeps its own.
    // The menu's aboutToShow runs the address detection and the enabling.
    popPrincipal()->popup(event->globalPos());
    event->accept();
}
