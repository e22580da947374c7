#pragma once
// The note window: a borderless tool window holding everything one note is (text, title,
// colours, font, footer, alarm). The store, the alarm check, the settings dialog and the
// receiving server read and write it directly through the accessors below.
//
// A note never destroys itself and never touches application-wide state: deletion and alarm
// acknowledgement are posted to the controller object as DeleteNoteRequest / AlarmAcknowledged
// (notes/ControllerEvents.h) and run after the note's own handler has returned. Commands that
// open dialogs owned elsewhere are announced by signals the controller connects.
#include "store/AppSettings.h"
#include "store/NoteData.h"

#include <QDateTime>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>
#include <array>
#include <optional>

class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QSyntaxHighlighter;

class TfPostIt : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCreatedWidth = 170;
    static constexpr int kCreatedHeight = 120;
    static constexpr int kMinWidth = 80;
    static constexpr int kMinHeight = 40;

    // `tag` is the note's NoteTable slot for life. `controller` receives the posted requests;
    // `settings` is read live (network Enabled for the send menu, the default title).
    // The window starts hidden, 170 x 120.
    TfPostIt(int tag, QObject *controller, const AppSettings *settings, QWidget *parent = nullptr);
    ~TfPostIt() override;

    int Tag() const { return m_tag; }

    // Everything the store saves, read from the window: position and size from the geometry,
    // visibility, text with CR LF line breaks, font, colours, title, footer (empty when not
    // shown), topmost and the alarm fields.
    NoteData data() const;
    // What the store's load does with one note section, in its order: alarm fields and armed
    // icon (shown exactly when `alarm`; the other alarm fields are taken only when `alarm` is
    // set), scroll bar, dark caption, footer, geometry, font style, colour, visibility, font
    // face/size/colour (the title takes the font colour), title, text, topmost.
    void applyData(const NoteData &data);

    // --- title and text ------------------------------------------------------------------
    QString title() const;
    void setTitle(const QString &title);
    QString text() const;                   // CR LF line breaks
    void setText(const QString &text);      // CR LF, LF or CR line breaks
    // Adds `line` as the new last line of the text (it may itself hold CR LF breaks).
    void appendText(const QString &line);
    // Pastes the clipboard's text at the caret (nothing for an empty or non-text clipboard).
    void pasteClipboard();
    QString selectedText() const;

    // --- look ----------------------------------------------------------------------------
    ColourValue color() const { return m_color; }
    void setColor(ColourValue colour);      // window, text area, footer and title bar
    NoteFont noteFont() const;
    // The text font; the title colour is separate. Its size is also the one Ctrl+0 goes back to.
    void setNoteFont(const NoteFont &font);
    // The text's size in points, as shown (a stored size of 0 or less shows at 10).
    int fontSize() const;
    // Ctrl++ / Ctrl+- / Ctrl+wheel: `steps` points larger (negative: smaller). The size is the
    // note's font size, so the next save stores it.
    void zoom(int steps);
    // Ctrl+0: back to the size the note's font last had from outside the zoom (its settings,
    // its creation, or the store it was loaded from).
    void resetZoom();
    ColourValue titleFontColour() const { return m_titleFontColour; }
    void setTitleFontColour(ColourValue colour);
    bool darkCaption() const { return m_darkCaption; }
    void setDarkCaption(bool dark);         // repaints the title bar
    int trackPosition() const { return m_trackPosition; }
    void setTrackPosition(int step);        // repaints the title bar
    ColourValue captionColour() const;      // what the title bar is painted with
    // Paints the title bar in `colour` (a received note's own title colour) until the colour,
    // the dark caption or its step is set again.
    void paintCaption(ColourValue colour);
    bool scrollBar() const;
    void setScrollBar(bool vertical);
    bool topmost() const;
    void setTopmost(bool on);               // keeps position and size

    // --- footer and sender ---------------------------------------------------------------
    QString footerText() const;
    // The footer is shown exactly when its text is not empty; the layout follows.
    void setFooterText(const QString &text);
    bool footerShown() const;
    int footerHeight() const;               // of the footer panel, shown or not
    QString ReplyAddress() const { return m_replyAddress; }
    // The note's identity in the sync folder; empty until sync gives it one.
    QString syncId() const { return m_syncId; }
    void setSyncId(const QString &id) { m_syncId = id; }
    void setReplyAddress(const QString &address) { m_replyAddress = address; }

    // --- alarm fields (their rules belong to the alarm check and the settings dialog) -----
    bool alarm() const { return m_alarm; }
    void setAlarm(bool armed)  // does not touch the icons
    {
        m_alarm = armed;
        emit changed(m_tag);
    }
    QDateTime alarmDateTime() const { return m_alarmDateTime; }
    void setAlarmDateTime(const QDateTime &when)
    {
        m_alarmDateTime = when;
        emit changed(m_tag);
    }
    bool useSound() const { return m_useSound; }
    void setUseSound(bool on) { m_useSound = on; }
    QString soundFile() const { return m_soundFile; }
    void setSoundFile(const QString &file) { m_soundFile = file; }
    std::array<bool, 7> dia() const { return m_dia; }  // Dia1 (Sunday) .. Dia7 (Saturday)
    void setDia(const std::array<bool, 7> &days) { m_dia = days; }
    bool remember() const { return m_remember; }
    void setRemember(bool on) { m_remember = on; }
    int rememberNo() const { return m_rememberNo; }
    void setRememberNo(int n) { m_rememberNo = n; }
    int rememberUnit() const { return m_rememberUnit; }
    void setRememberUnit(int unit) { m_rememberUnit = unit; }

    bool armedIconShown() const;
    void setArmedIconShown(bool shown);
    bool ringingIconShown() const;
    void setRingingIconShown(bool shown);

    // Shows the window, raises it and gives it the focus.
    void bringToFront();

    // --- place -----------------------------------------------------------------------------
    // The place and size the store keeps for the note: where it was loaded or created, where
    // the program last put it (a rescue from a screen that went away, "Reunir Notas"), or
    // where the user last moved or resized it. Where the window system happens to show the
    // window does not count: a window manager that ignores the place a window asks for (a
    // Wayland compositor through XWayland puts every window where it likes), or one asked
    // before it has placed the window, never changes what the store keeps.
    QRect storedGeometry() const { return m_storedGeometry; }
    // Puts the window at `geometry` (never below the smallest note) and keeps that as its place.
    void place(const QRect &geometry);
    // Whether moves and resizes reported by the window system are now taken as the user's
    // own: from the user's first touch of the note (the pointer entering it, a press, a key)
    // until the program next places or shows it.
    bool userMayMove() const { return m_userMayMove; }

    // --- commands (also reachable from the note menu) -------------------------------------
    // The note menu, made the first time it is needed: most notes never show theirs, and a
    // thousand menus cost the start time and memory.
    QMenu *popPrincipal();
    // Runs whenever the note menu opens: address detection, send submenu enabling and the
    // reply item's visibility.
    void popPrincipalPopup();
    // Opens the title dialog with the current title; on OK the title becomes its text.
    void openTitleDialog();
    // Prints through the print dialog; cancelled or failing prints do nothing.
    void printNote();
    // Lays the children out for the current size and footer; runs by itself on every resize.
    void layOut();
    // Whether hovering shows hints (decided when the pointer enters the title text).
    bool hintsShown() const { return m_hintsShown; }

signals:
    // "C&onfigurar..." (false), "Alarme..." and a double-click on an alarm icon (true).
    void configureRequested(int tag, bool alarmsPage);
    // "&Para um Computador..." (reply false) and "&Responder para Computador..." (reply true).
    void sendToComputerRequested(int tag, bool reply);
    // "E-Mail...".
    void emailRequested(int tag);
    // F1 in the text area: help context 1.
    void helpRequested(int context);
    // Ctrl+F: the notes window, to find another note.
    void findNotesRequested();
    // What lists of notes show of this one changed: its title, text, colour, footer, alarm,
    // or whether it is shown.
    void changed(int tag);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildChildren();
    void buildMenu();
    void retranslateUi();
    void repaintColours();
    void applyTitleFont();
    void postDelete();
    void postAcknowledge();
    void startMove(const QPoint &globalPos);
    void moveByHand(const QPoint &globalPos);
    void titleEntered();
    void ringingIconClicked();
    void hideButtonClicked();
    void textAreaClicked();
    void titleBarPressed();
    void openSelectedAddress();
    void copySelection();
    // The menu command bound to the pressed keys, or null: the note's shortcuts work whenever
    // the note has the focus, without its menu being made.
    const char *shortcutCommand(const QKeyEvent *event) const;
    // Runs that command as its menu item would (an item hidden or disabled does nothing).
    void runShortcut(const char *command);
    void retranslateMenu();
    void nameWindow();
    // "Enviar...": enabled with the network, else greyed out with a hint on where to turn it on.
    void updateSendItem();
    void applyNoteFont(const NoteFont &font);
    bool zoomKey(const QKeyEvent *event);
    // The address under a point of the text area's viewport, if a link is drawn there.
    std::optional<QUrl> linkAt(const QPoint &viewportPos) const;
    // Ctrl+click on links, the pointer over them, Ctrl+wheel; true when the event is used up.
    bool textAreaPointerEvent(QEvent *event);

    const int m_tag;
    const QPointer<QObject> m_controller;  // requests are dropped once it is gone
    const AppSettings *const m_settings;

    ColourValue m_color = kDefaultNoteColour;
    ColourValue m_titleFontColour = 0;
    bool m_darkCaption = false;
    std::optional<ColourValue> m_captionPainted;
    int m_trackPosition = 12;
    NoteFont m_font;
    static constexpr int kFallbackFontSize = 10;
    int m_settingsFontSize = NoteFont().size;  // what Ctrl+0 goes back to
    int m_pendingWheel = 0;                    // a wheel's turn short of a notch
    std::optional<QUrl> m_pressedLink;         // the link a Ctrl+click began on
    mutable QString m_textCache;         // the text with CR LF breaks, while still valid
    mutable bool m_textCacheValid = false;
    bool m_linesAppended = false;        // appendText has added a line since the last setText
    QString m_replyAddress;
    QString m_syncId;
    bool m_hintsShown = false;

    bool m_alarm = false;
    QDateTime m_alarmDateTime;
    bool m_useSound = false;
    QString m_soundFile;
    std::array<bool, 7> m_dia{};
    bool m_remember = false;
    int m_rememberNo = 0;
    int m_rememberUnit = 0;

    QRect m_storedGeometry;
    bool m_userMayMove = false;

    // Manual move, used when the window system will not run its own move loop.
    bool m_manualMove = false;
    QPoint m_moveOffset;

    QWidget *m_pnlCaption = nullptr;
    QWidget *m_panel1 = nullptr;
    QLabel *m_imgAlarme = nullptr;
    QLabel *m_imgAlarmeOn = nullptr;
    QLabel *m_lblCaption = nullptr;
    QPushButton *m_cmdEsconder = nullptr;
    QPushButton *m_cmdApagarPostit = nullptr;
    QPlainTextEdit *m_memPostit = nullptr;
    QSyntaxHighlighter *m_links = nullptr;
    QWidget *m_pnlRodape = nullptr;
    QLabel *m_lblRodape = nullptr;

    QMenu *m_menu = nullptr;
    QMenu *m_mnuEnviar = nullptr;
    QAction *m_mnuURL = nullptr;
    QAction *m_sepURL = nullptr;
    QAction *m_mnuOnTop = nullptr;
    QAction *m_mnuResponder = nullptr;
    QAction *m_mnuEnviarAction = nullptr;
};
