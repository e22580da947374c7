#pragma once
// The help window: the user guide of the active language (corkvane.html, or corkvane_enu.html
// for English, in the program folder) in a small browser window, opened at its contents or at
// the topic of a help context number (1 to 9, 10 the notes window, 11 the trash, 12 the restore
// of a copy), each topic an anchor "context-<n>".
#include <QString>
#include <QUrl>
#include <QWidget>

class QTextBrowser;

class TfrmAjuda : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kContents = 0;
    static constexpr int kLastContext = 12;

    explicit TfrmAjuda(QWidget *parent = nullptr);

    // The anchor of a context: "contents" for kContents, "context-<n>" for 1 to kLastContext.
    static QString anchorFor(int context);
    // The help file of a language, in `programFolder` (with its trailing '/').
    static QString helpFile(const QString &programFolder, bool english);

    // Shows `file` at the topic of `context` and brings the window forward. Over a modal dialog
    // (F1 in the settings dialog) the window is modal itself, so that it can be read and closed.
    // False, after an error box naming the file, when the file is missing.
    bool showTopic(const QString &file, int context);

    QTextBrowser *browser() const { return m_browser; }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QTextBrowser *m_browser;
};
