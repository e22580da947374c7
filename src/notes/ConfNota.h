#pragma once
// The settings dialog "Configurações", in two modes.
//
// Per-note mode edits one note window: the "Aparência" page (colour, text font, scroll bar,
// title shading, with a live preview) and the "Alarmes" page (the note's alarm). The pages
// "Sons", "Geral" and "Rede" are hidden; their values are still loaded from AppSettings and
// written back by OK, unchanged.
//
// General mode (the tray's "&Preferências...") edits AppSettings: the defaults of new notes on
// "Aparência", the event sounds ("Sons"), the personal and housekeeping options ("Geral") and
// the network and mail options ("Rede"). Existing notes keep their own settings.
//
// A fresh dialog is made for every opening and discarded when it closes. OK applies the pages
// in memory only; the store keeps them at its next save. The dialog reaches the note server,
// the block-list entry dialog and the event-sound dialog only through PreferencesServices,
// which the controller wires.
//
//   OpenNoteSettings(note, alarmsPage, &settings, [this](int ctx) { showHelp(ctx); });
//   OpenPreferences(&settings, services);
#include "platform/WavePlayer.h"
#include "store/AppSettings.h"

#include <QDialog>
#include <QPointer>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimeEdit;
class QTreeWidget;
class QTreeWidgetItem;
class TfPostIt;

// What the general pages need from the rest of the program. Any of them may be empty: the
// matching control then does nothing.
struct PreferencesServices
{
    // Networking switched on (listen on PortTCP, following a changed port at once) or off.
    // Throws std::exception when the server cannot listen; the old listener then keeps running.
    std::function<void(bool enabled)> applyNetworking;
    // "&Adicionar" of the block list: the entry typed, nothing when cancelled.
    std::function<std::optional<QString>()> askBlockedSender;
    // A double-click on an event-sound row: the path chosen ("" for no sound), nothing when
    // cancelled.
    std::function<std::optional<QString>(const QString &eventName, const QString &path)> chooseEventSound;
    // Shown on "Geral" (display only).
    QString dataFolder;
    // What the desktop session's autostart entry starts.
    QString programPath;
    // The "Sincronização" group: what the last merge with the sync folder did, and what runs
    // once OK has put the chosen folder into the settings.
    QString syncStatus;
    std::function<void()> applySync;
};

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

    // `settings` fills the general pages; OK writes them back to it.
    explicit TfrmConfNota(AppSettings *settings, QWidget *parent = nullptr);
    ~TfrmConfNota() override;

    // The NoteTable slot being configured, -1 in general mode.
    int NoteIndex() const { return m_noteIndex; }

    // Per-note mode: hides the general pages and fills the note pages from `note`.
    void prepareNote(TfPostIt *note);
    // General mode: fills every page from the settings and opens on "Geral".
    void prepareGeneral(const PreferencesServices &services);
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
    void showEvent(QShowEvent *event) override;

private:
    void buildFrame();
    void retranslateUi();
    static QStringList unitNames();
    static QStringList dayNames();
    QWidget *buildAparencia();
    QWidget *buildAlarmes();
    QWidget *buildSons();
    QWidget *buildGeral();
    QWidget *buildRede();
    void fitToContents();
    // Accessible names of the controls no label names, and descriptions of the "..." buttons.
    void nameControls();
    void hidePage(QWidget *page);
    void fillAlarmLists();
    void prepareAlarmPage(const TfPostIt &note);
    void fillCommonPages();
    void fillSoundRows();

    // Enabling rules, one per box.
    void chkHabAlarmeClick();
    void chkRemarcaClick();
    void chkTocaSomClick();
    void chkCorCaptionClick();
    void chkHabilitaRedeClick();
    void AuthComboBoxChange();
    void cboSegurancaChange();
    void chkLocalBackupClick();
    void blockOptionClick();
    void soundOptionClick();

    void updatePreview();
    void recomputeCaption();
    void updatePreviewTitleText();

    void cmdCordeFundoClick();
    void cmdFonteClick();
    void cmdProcurarClick();
    void cmdTestarClick();
    void cmdPlayClick();
    void lstSomDoubleClick(QTreeWidgetItem *item);
    void cmdLocalBackupClick();
    void cmdPastaSincronizacaoClick();
    // The folder typed, as OK takes it: "~" expanded, cleaned; empty switches sync off.
    QString chosenSyncFolder() const;
    void cmdAdicionaBloqueioClick();
    void cmdApagaBloqueioClick();
    void cmdOKClick();
    bool applyToNote(TfPostIt &note);
    bool applyGeneral();
    void applyCommonTail();

    AppSettings *m_settings;
    PreferencesServices m_services;
    QPointer<TfPostIt> m_note;
    int m_noteIndex = -1;
    bool m_general = false;
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
    QGroupBox *m_groupBox1 = nullptr;
    QFrame *m_pnlExemplo = nullptr;
    QLabel *m_lblExemplo = nullptr;
    QLabel *m_pnlExemploCaption = nullptr;
    QScrollBar *m_scbExemplo = nullptr;
    QPushButton *m_cmdCordeFundo = nullptr;
    QPushButton *m_cmdFonte = nullptr;
    QCheckBox *m_chkScroll = nullptr;
    QGroupBox *m_groupBox3 = nullptr;
    QCheckBox *m_chkCorCaption = nullptr;
    QSlider *m_trackBar1 = nullptr;
    QCheckBox *m_chkDataCaption = nullptr;
    QCheckBox *m_chkHoraCaption = nullptr;

    // "Alarmes"
    QCheckBox *m_chkHabAlarme = nullptr;
    QLabel *m_label2 = nullptr;
    QDateEdit *m_dtmDataAlarme = nullptr;
    QLabel *m_label4 = nullptr;
    QTimeEdit *m_dtmHoraAlarme = nullptr;
    QCheckBox *m_chkRemarca = nullptr;
    QSpinBox *m_updCada = nullptr;
    QComboBox *m_cboUnidade = nullptr;
    QLabel *m_label12 = nullptr;
    QListWidget *m_chkDiasDaSemana = nullptr;
    QCheckBox *m_chkTocaSom = nullptr;
    QLineEdit *m_fleSom = nullptr;
    QPushButton *m_cmdProcurar = nullptr;
    QPushButton *m_cmdTestar = nullptr;

    // "Sons"
    QRadioButton *m_radUsaSom = nullptr;
    QRadioButton *m_radNaoUsaSom = nullptr;
    QTreeWidget *m_lstSom = nullptr;
    QPushButton *m_cmdPlay = nullptr;

    // "Geral"
    QGroupBox *m_groupBox2 = nullptr;
    QLabel *m_label1 = nullptr;
    QLineEdit *m_txtIDUsuario = nullptr;
    QLabel *m_label3 = nullptr;
    QLabel *m_lblDirDados = nullptr;
    QCheckBox *m_chkPerguntaExclui = nullptr;
    QCheckBox *m_chkAutoSave = nullptr;
    QSpinBox *m_updTempo = nullptr;
    QLabel *m_label10 = nullptr;
    QCheckBox *m_chkCriaNotaAlarme = nullptr;
    QCheckBox *m_chkLocalBackup = nullptr;
    QLineEdit *m_txtLocalBackup = nullptr;
    QPushButton *m_cmdLocalBackup = nullptr;
    QCheckBox *m_chkAutoStart = nullptr;
    QGroupBox *m_grpSincronizacao = nullptr;
    QLabel *m_lblPastaSincronizacao = nullptr;
    QLineEdit *m_txtPastaSincronizacao = nullptr;
    QPushButton *m_cmdPastaSincronizacao = nullptr;
    QLabel *m_lblUltimaSincronizacao = nullptr;
    QLabel *m_lblExplicaSincronizacao = nullptr;

    // "Rede"
    QCheckBox *m_chkHabilitaRede = nullptr;
    QGroupBox *m_grpSMTP = nullptr;
    QLabel *m_label5 = nullptr;
    QLineEdit *m_txtSMTPServer = nullptr;
    QLabel *m_label6 = nullptr;
    QLineEdit *m_txtPortaSMTP = nullptr;
    QLabel *m_label14 = nullptr;
    QComboBox *m_cboSeguranca = nullptr;
    QLabel *m_label8 = nullptr;
    QLineEdit *m_txtSeuEmail = nullptr;
    QLabel *m_label11 = nullptr;
    QComboBox *m_AuthComboBox = nullptr;
    QLabel *m_label9 = nullptr;
    QLineEdit *m_UsernameEdit = nullptr;
    QLabel *m_label7 = nullptr;
    QLineEdit *m_PasswordEdit = nullptr;
    QGroupBox *m_grpRedeLocal = nullptr;
    QRadioButton *m_radNaoBloqueia = nullptr;
    QRadioButton *m_radBloqueiaTudo = nullptr;
    QRadioButton *m_radBloqueiaSel = nullptr;
    QListWidget *m_lstBloqueio = nullptr;
    QPushButton *m_cmdAdicionaBloqueio = nullptr;
    QPushButton *m_cmdApagaBloqueio = nullptr;
    QLabel *m_label13 = nullptr;
    QLineEdit *m_txtPortaTCP = nullptr;
};

// Makes a fresh settings dialog for `note`, on the "Alarmes" page when `alarmsPage` is set
// (help context 3, else 2), runs it modally and discards it. Returns whether it closed with OK.
// `onHelp` receives F1's help context; it may be empty.
bool OpenNoteSettings(TfPostIt *note, bool alarmsPage, AppSettings *settings,
                      const std::function<void(int)> &onHelp = {}, QWidget *parent = nullptr);

// The tray's "&Preferências...": a fresh dialog in general mode, run modally and discarded.
bool OpenPreferences(AppSettings *settings, const PreferencesServices &services,
                     const std::function<void(int)> &onHelp = {}, QWidget *parent = nullptr);
