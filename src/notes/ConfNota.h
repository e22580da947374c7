#pragma once
// The settings dialog "Configurações". In per-note mode it edits one note window: the
// "Aparência" page (colour, text font, scroll bar, title shading, with a live preview) and the
// "Alarmes" page (the note's alarm). The pages "Sons", "Geral" and "Rede" belong to the general
// preferences and stay hidden for a note.
//
// A fresh dialog is made for every opening and discarded when it closes. OK applies the pages
// to the note in memory only; the store keeps them at its next save, and the alarm check sees
// a changed alarm on its next tick.
//
// Opening it for a note (what the controller connects to TfPostIt::configureRequested):
//
//   OpenNoteSettings(note, alarmsPage, &settings, [this](int ctx) { showHelp(ctx); });
#include "platform/WavePlayer.h"
#include "store/AppSettings.h"

#include <QDialog>
#include <QPointer>
#include <functional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimeEdit;
class TfPostIt;

class TfrmConfNota : public QDialog
{
    Q_OBJECT

public:
    // Help contexts of the pages, in page order.
    static constexpr int kHelpAparencia = 2;
    static constexpr int kHelpAlarmes = 3;
    static constexpr int kHelpSons = 4;
    static constexpr int kHelpGeral = 5;
    static constexpr int kHelpRede = 6;

    // `settings` is read for the values shown on the general pages.
    explicit TfrmConfNota(const AppSettings *settings, QWidget *parent = nullptr);
    ~TfrmConfNota() override;

    // The NoteTable slot being configured, -1 in general mode.
    int NoteIndex() const { return m_noteIndex; }

    // Per-note mode: hides the general pages and fills the note pages from `note`.
    void prepareNote(TfPostIt *note);
    // Selects the "Alarmes" page.
    void showAlarmsPage();

    int helpContext() const { return m_helpContext; }
    void setHelpContext(int context) { m_helpContext = context; }

    // What the preview shows (the values OK will apply).
    ColourValue previewColour() const { return m_previewColour; }
    NoteFont previewFont() const { return m_previewFont; }
    ColourValue previewCaptionColour() const { return m_previewCaptionColour; }

    // The alarm moment the two pickers describe.
    QDateTime chosenAlarmMoment() const;

signals:
    // F1: the help context of the page shown.
    void helpRequested(int context);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildFrame();
    void retranslateUi();
    static QStringList unitNames();
    static QStringList dayNames();
    QWidget *buildAparencia();
    QWidget *buildAlarmes();
    void hidePage(QWidget *page);
    void fillAlarmLists();
    void prepareAlarmPage(const TfPostIt &note);

    void applyEnabling();
    void updatePreview();
    void recomputeCaption();

    void cmdCordeFundoClick();
    void cmdFonteClick();
    void cmdProcurarClick();
    void cmdTestarClick();
    void cmdOKClick();
    bool applyToNote(TfPostIt &note);

    const AppSettings *m_settings;
    QPointer<TfPostIt> m_note;
    int m_noteIndex = -1;
    int m_helpContext = kHelpAparencia;

    ColourValue m_previewColour = kDefaultNoteColour;
    NoteFont m_previewFont;
    ColourValue m_previewCaptionColour = kDefaultNoteColour;

    TWavePlayer m_wavTeste;

    QTabWidget *m_pagGeral = nullptr;
    QWidget *m_tabFonteCor = nullptr;
    QWidget *m_tabAlarme = nullptr;
    QWidget *m_tabSons = nullptr;
    QWidget *m_tabGeral = nullptr;
    QWidget *m_tbsRede = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancelar = nullptr;

    // "Aparência"
    QFrame *m_pnlExemplo = nullptr;
    QLabel *m_lblExemplo = nullptr;
    QLabel *m_pnlExemploCaption = nullptr;
    QScrollBar *m_scbExemplo = nullptr;
    QPushButton *m_cmdCordeFundo = nullptr;
    QPushButton *m_cmdFonte = nullptr;
    QCheckBox *m_chkScroll = nullptr;
    QCheckBox *m_chkCorCaption = nullptr;
    QSlider *m_trackBar1 = nullptr;
    QCheckBox *m_chkDataCaption = nullptr;
    QCheckBox *m_chkHoraCaption = nullptr;

    // "Alarmes"
    QCheckBox *m_chkHabAlarme = nullptr;
    QDateEdit *m_dtmDataAlarme = nullptr;
    QTimeEdit *m_dtmHoraAlarme = nullptr;
    QCheckBox *m_chkRemarca = nullptr;
    QSpinBox *m_updCada = nullptr;
    QComboBox *m_cboUnidade = nullptr;
    QListWidget *m_chkDiasDaSemana = nullptr;
    QCheckBox *m_chkTocaSom = nullptr;
    QLineEdit *m_fleSom = nullptr;
    QPushButton *m_cmdProcurar = nullptr;
    QPushButton *m_cmdTestar = nullptr;
};

// Makes a fresh settings dialog for `note`, on the "Alarmes" page when `alarmsPage` is set
// (help context 3, else 2), runs it modally and discards it. Returns whether it closed with OK.
// `onHelp` receives F1's help context; it may be empty.
bool OpenNoteSettings(TfPostIt *note, bool alarmsPage, const AppSettings *settings,
                      const std::function<void(int)> &onHelp = {}, QWidget *parent = nullptr);
