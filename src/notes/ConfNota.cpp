#include "notes/ConfNota.h"

#include "notes/PostIt.h"
#include "platform/Autostart.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "platform/WindowTitle.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kMinTrack = 1;
constexpr int kMaxTrack = 25;
constexpr int kMinAutoSave = 5;
constexpr int kMaxAutoSave = 60;
// The smallest size of the dialog; the desktop's fonts may ask for more.
constexpr QSize kDesignSize(374, 301);

QFont toQFont(const NoteFont &f)
{
    QFont font(f.name);
    if (f.size > 0)
        font.setPointSize(f.size);
    font.setBold(f.bold);
    font.setItalic(f.italic);
    return font;
}

// The chosen face, size and style; the colour is not part of a QFont and is kept.
NoteFont fromQFont(const QFont &font, const NoteFont &previous)
{
    NoteFont f = previous;
    f.name = font.family();
    const int points = qRound(font.pointSizeF());
    if (points > 0)
        f.size = points;
    f.bold = font.bold();
    f.italic = font.italic();
    return f;
}

QString colourCss(ColourValue colour)
{
    return toQColor(colour).name();
}

template <typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// The auto-save period: its arrows stay within 5..60 minutes, but a number typed by hand may
// lie outside (OK refuses it while auto-save is on, and stores it as typed while it is off).
// Zero cannot be typed: a period of 0 would stop the countdown for the rest of the run.
class PeriodSpinBox : public QSpinBox
{
public:
    explicit PeriodSpinBox(QWidget *parent) : QSpinBox(parent) { setRange(1, 9999); }
    void stepBy(int steps) override { setValue(qBound(kMinAutoSave, value() + steps, kMaxAutoSave)); }

protected:
    StepEnabled stepEnabled() const override
    {
        StepEnabled enabled = StepNone;
        if (value() < kMaxAutoSave)
            enabled |= StepUpEnabled;
        if (value() > kMinAutoSave)
            enabled |= StepDownEnabled;
        return enabled;
    }
};

// A caption as a screen reader should say it: no access-key mark, no blanks or colon at its end.
QString spokenCaption(const QString &caption)
{
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        out += caption.at(i);
    }
    out = out.trimmed();
    while (out.endsWith(QLatin1Char(':')))
        out.chop(1);
    return out.trimmed();
}

QLabel *boldLabel(QWidget *parent, const char *name)
{
    auto *label = named(new QLabel(parent), name);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

TfrmConfNota::TfrmConfNota(AppSettings *settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TfrmConfNota"));
    WindowTitle::keepFitting(this);  // the window manager cuts no part of the title
    // Fixed size: no maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    m_wavTeste.setAsynchronous(false);
    buildFrame();
    retranslateUi();
}

TfrmConfNota::~TfrmConfNota() = default;

void TfrmConfNota::buildFrame()
{
    m_pagGeral = named(new QTabWidget(this), "pagGeral");
    m_pagGeral->setUsesScrollButtons(false);
    m_tabFonteCor = named(buildAparencia(), "tabFonteCor");
    m_tabAlarme = named(buildAlarmes(), "tabAlarme");
    m_tabSons = named(buildSons(), "tabSons");
    m_tabGeral = named(buildGeral(), "tabGeral");
    m_tbsRede = named(buildRede(), "tbsRede");
    for (QWidget *page : {m_tabFonteCor, m_tabAlarme, m_tabSons, m_tabGeral, m_tbsRede})
        m_pagGeral->addTab(page, QString());
    m_pagGeral->setCurrentWidget(m_tabGeral);

    m_cmdOK = named(new QPushButton(this), "cmdOK");
    m_cmdOK->setDefault(true);
    m_cmdCancelar = named(new QPushButton(this), "cmdCancelar");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cmdOK);
    buttons->addWidget(m_cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pagGeral);
    layout->addLayout(buttons);

    static const int contexts[] = {kHelpAparencia, kHelpAlarmes, kHelpSons, kHelpGeral, kHelpRede};
    connect(m_pagGeral, &QTabWidget::currentChanged, this, [this](int index) {
        if (index >= 0 && index < 5)
            m_helpContext = contexts[index];
    });
    connect(m_cmdOK, &QPushButton::clicked, this, &TfrmConfNota::cmdOKClick);
    connect(m_cmdCancelar, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget *TfrmConfNota::buildAparencia()
{
    auto *page = new QWidget;

    m_groupBox1 = named(new QGroupBox(page), "GroupBox1");
    m_pnlExemplo = named(new QFrame(m_groupBox1), "pnlExemplo");
    m_pnlExemplo->setFixedSize(130, 96);
    m_pnlExemplo->setAutoFillBackground(true);
    m_pnlExemploCaption = named(new QLabel(QStringLiteral("  01/01/2002 12:35"), m_pnlExemplo), "pnlExemploCaption");
    m_pnlExemploCaption->setFixedHeight(13);
    m_pnlExemploCaption->setAutoFillBackground(true);
    m_lblExemplo = named(new QLabel(m_pnlExemplo), "lblExemplo");
    m_lblExemplo->setAlignment(Qt::AlignCenter);
    m_lblExemplo->setWordWrap(true);
    m_scbExemplo = named(new QScrollBar(Qt::Vertical, m_pnlExemplo), "scbExemplo");
    m_scbExemplo->setEnabled(false);
    auto *preview = new QGridLayout(m_pnlExemplo);
    preview->setContentsMargins(0, 0, 0, 0);
    preview->setSpacing(0);
    preview->addWidget(m_pnlExemploCaption, 0, 0, 1, 2);
    preview->addWidget(m_lblExemplo, 1, 0);
    preview->addWidget(m_scbExemplo, 1, 1);
    auto *groupLayout = new QVBoxLayout(m_groupBox1);
    groupLayout->addWidget(m_pnlExemplo, 0, Qt::AlignCenter);

    m_cmdCordeFundo = named(new QPushButton(page), "cmdCordeFundo");
    m_cmdFonte = named(new QPushButton(page), "cmdFonte");
    m_chkScroll = named(new QCheckBox(page), "chkScroll");

    m_groupBox3 = named(new QGroupBox(page), "GroupBox3");
    m_chkCorCaption = named(new QCheckBox(m_groupBox3), "chkCorCaption");
    m_trackBar1 = named(new QSlider(Qt::Horizontal, m_groupBox3), "TrackBar1");
    m_trackBar1->setRange(kMinTrack, kMaxTrack);
    m_trackBar1->setTickInterval(1);
    m_trackBar1->setSingleStep(1);
    m_trackBar1->setPageStep(1);
    m_trackBar1->setTickPosition(QSlider::TicksBelow);
    m_trackBar1->setValue(kMinTrack);
    m_trackBar1->setEnabled(false);
    m_chkDataCaption = named(new QCheckBox(m_groupBox3), "chkDataCaption");
    m_chkHoraCaption = named(new QCheckBox(m_groupBox3), "chkHoraCaption");
    // One row each: the two title options never share a width they do not fit in.
    auto *titleLayout = new QVBoxLayout(m_groupBox3);
    titleLayout->addWidget(m_chkCorCaption);
    titleLayout->addWidget(m_trackBar1);
    titleLayout->addWidget(m_chkDataCaption);
    titleLayout->addWidget(m_chkHoraCaption);

    auto *left = new QVBoxLayout;
    left->addWidget(m_groupBox1);
    left->addWidget(m_chkScroll);
    left->addStretch();
    auto *right = new QVBoxLayout;
    auto *colourFont = new QHBoxLayout;
    colourFont->addWidget(m_cmdCordeFundo);
    colourFont->addWidget(m_cmdFonte);
    right->addLayout(colourFont);
    right->addWidget(m_groupBox3);
    right->addStretch();
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right, 1);

    connect(m_cmdCordeFundo, &QPushButton::clicked, this, &TfrmConfNota::cmdCordeFundoClick);
    connect(m_cmdFonte, &QPushButton::clicked, this, &TfrmConfNota::cmdFonteClick);
    connect(m_chkScroll, &QCheckBox::toggled, this, &TfrmConfNota::updatePreview);
    connect(m_chkCorCaption, &QCheckBox::toggled, this, &TfrmConfNota::chkCorCaptionClick);
    connect(m_trackBar1, &QSlider::valueChanged, this, &TfrmConfNota::recomputeCaption);
    connect(m_chkDataCaption, &QCheckBox::toggled, this, &TfrmConfNota::updatePreviewTitleText);
    connect(m_chkHoraCaption, &QCheckBox::toggled, this, &TfrmConfNota::updatePreviewTitleText);
    return page;
}

QWidget *TfrmConfNota::buildAlarmes()
{
    auto *page = new QWidget;

    m_chkHabAlarme = named(new QCheckBox(page), "chkHabAlarme");
    m_label2 = named(new QLabel(page), "Label2");
    m_dtmDataAlarme = named(new QDateEdit(page), "dtmDataAlarme");
    m_dtmDataAlarme->setCalendarPopup(true);
    m_dtmDataAlarme->setDisplayFormat(Locale::shortDateFormat());
    m_label2->setBuddy(m_dtmDataAlarme);
    m_label4 = named(new QLabel(page), "Label4");
    m_dtmHoraAlarme = named(new QTimeEdit(page), "dtmHoraAlarme");
    m_dtmHoraAlarme->setDisplayFormat(Locale::longTimeFormat());
    m_label4->setBuddy(m_dtmHoraAlarme);

    m_chkRemarca = named(new QCheckBox(page), "chkRemarca");
    // The spin box stands for both the count's edit box and its arrows; a count typed by hand
    // can only be a whole number 1..999.
    m_updCada = named(new QSpinBox(page), "updCada");
    m_updCada->setRange(1, 999);
    m_updCada->setValue(1);
    if (auto *edit = m_updCada->findChild<QLineEdit *>())
        edit->setObjectName(QStringLiteral("txtCada"));
    m_cboUnidade = named(new QComboBox(page), "cboUnidade");

    m_label12 = named(new QLabel(page), "Label12");
    m_chkDiasDaSemana = named(new QListWidget(page), "chkDiasDaSemana");
    m_chkDiasDaSemana->setFlow(QListView::TopToBottom);
    m_chkDiasDaSemana->setWrapping(true);
    m_chkDiasDaSemana->setResizeMode(QListView::Adjust);

    auto *bevel1 = named(new QFrame(page), "Bevel1");
    bevel1->setFrameShape(QFrame::HLine);
    bevel1->setFrameShadow(QFrame::Sunken);

    m_chkTocaSom = named(new QCheckBox(page), "chkTocaSom");
    m_fleSom = named(new QLineEdit(page), "fleSom");
    m_cmdProcurar = named(new QPushButton(QStringLiteral("..."), page), "cmdProcurar");
    m_cmdTestar = named(new QPushButton(page), "cmdTestar");

    auto *grid = new QGridLayout(page);
    grid->addWidget(m_chkHabAlarme, 0, 0, 1, 4);
    grid->addWidget(m_label2, 1, 0);
    grid->addWidget(m_dtmDataAlarme, 1, 1);
    grid->addWidget(m_label4, 1, 2);
    grid->addWidget(m_dtmHoraAlarme, 1, 3);
    auto *step = new QHBoxLayout;
    step->addWidget(m_chkRemarca);
    step->addWidget(m_updCada);
    step->addWidget(m_cboUnidade);
    step->addStretch();
    grid->addLayout(step, 2, 0, 1, 4);
    grid->addWidget(m_label12, 3, 0, 1, 4);
    grid->addWidget(m_chkDiasDaSemana, 4, 0, 1, 4);
    grid->addWidget(bevel1, 5, 0, 1, 4);
    auto *sound = new QHBoxLayout;
    sound->addWidget(m_chkTocaSom);
    sound->addWidget(m_fleSom, 1);
    sound->addWidget(m_cmdProcurar);
    sound->addWidget(m_cmdTestar);
    grid->addLayout(sound, 6, 0, 1, 4);
    grid->setRowStretch(7, 1);

    connect(m_chkHabAlarme, &QCheckBox::toggled, this, &TfrmConfNota::chkHabAlarmeClick);
    connect(m_chkRemarca, &QCheckBox::toggled, this, &TfrmConfNota::chkRemarcaClick);
    connect(m_chkTocaSom, &QCheckBox::toggled, this, &TfrmConfNota::chkTocaSomClick);
    connect(m_cmdProcurar, &QPushButton::clicked, this, &TfrmConfNota::cmdProcurarClick);
    connect(m_cmdTestar, &QPushButton::clicked, this, &TfrmConfNota::cmdTestarClick);
    return page;
}

QWidget *TfrmConfNota::buildSons()
{
    auto *page = new QWidget;
    m_radUsaSom = named(new QRadioButton(page), "radUsaSom");
    m_radNaoUsaSom = named(new QRadioButton(page), "radNaoUsaSom");
    m_radNaoUsaSom->setChecked(true);
    m_lstSom = named(new QTreeWidget(page), "lstSom");
    m_lstSom->setColumnCount(2);
    m_lstSom->setRootIsDecorated(false);
    m_lstSom->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lstSom->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lstSom->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lstSom->setItemsExpandable(false);
    m_cmdPlay = named(new QPushButton(page), "cmdPlay");
    fillSoundRows();

    auto *options = new QHBoxLayout;
    options->addWidget(m_radUsaSom);
    options->addWidget(m_radNaoUsaSom);
    options->addStretch();
    auto *play = new QHBoxLayout;
    play->addStretch();
    play->addWidget(m_cmdPlay);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(options);
    layout->addWidget(m_lstSom, 1);
    layout->addLayout(play);

    connect(m_radUsaSom, &QRadioButton::toggled, this, &TfrmConfNota::soundOptionClick);
    connect(m_cmdPlay, &QPushButton::clicked, this, &TfrmConfNota::cmdPlayClick);
    connect(m_lstSom, &QTreeWidget::itemDoubleClicked, this, &TfrmConfNota::lstSomDoubleClick);
    soundOptionClick();
    return page;
}

QWidget *TfrmConfNota::buildGeral()
{
    auto *page = new QWidget;

    m_groupBox2 = named(new QGroupBox(page), "GroupBox2");
    m_label1 = boldLabel(m_groupBox2, "Label1");
    m_txtIDUsuario = named(new QLineEdit(m_groupBox2), "txtIDUsuario");
    m_label1->setBuddy(m_txtIDUsuario);
    m_label3 = boldLabel(m_groupBox2, "Label3");
    m_lblDirDados = named(new QLabel(m_groupBox2), "lblDirDados");
    m_lblDirDados->setWordWrap(true);
    m_lblDirDados->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette navy = m_lblDirDados->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 0x80));
    m_lblDirDados->setPalette(navy);
    auto *personal = new QGridLayout(m_groupBox2);
    personal->addWidget(m_label1, 0, 0);
    personal->addWidget(m_txtIDUsuario, 0, 1);
    personal->addWidget(m_label3, 1, 0, Qt::AlignTop);
    personal->addWidget(m_lblDirDados, 1, 1);
    personal->setColumnStretch(1, 1);

    m_chkPerguntaExclui = named(new QCheckBox(page), "chkPerguntaExclui");
    m_chkAutoSave = named(new QCheckBox(page), "chkAutoSave");
    m_updTempo = named(new PeriodSpinBox(page), "updTempo");
    m_updTempo->setValue(10);
    if (auto *edit = m_updTempo->findChild<QLineEdit *>())
        edit->setObjectName(QStringLiteral("txtAutoSave"));
    m_label10 = named(new QLabel(page), "Label10");
    m_chkCriaNotaAlarme = named(new QCheckBox(page), "chkCriaNotaAlarme");
    m_chkLocalBackup = named(new QCheckBox(page), "chkLocalBackup");
    m_txtLocalBackup = named(new QLineEdit(page), "txtLocalBackup");
    m_cmdLocalBackup = named(new QPushButton(QStringLiteral("..."), page), "cmdLocalBackup");
    m_chkAutoStart = named(new QCheckBox(page), "chkAutoStart");

    m_grpSincronizacao = named(new QGroupBox(page), "grpSincronizacao");
    m_lblPastaSincronizacao = named(new QLabel(m_grpSincronizacao), "lblPastaSincronizacao");
    m_txtPastaSincronizacao = named(new QLineEdit(m_grpSincronizacao), "txtPastaSincronizacao");
    m_lblPastaSincronizacao->setBuddy(m_txtPastaSincronizacao);
    m_cmdPastaSincronizacao = named(new QPushButton(QStringLiteral("..."), m_grpSincronizacao), "cmdPastaSincronizacao");
    m_lblUltimaSincronizacao = named(new QLabel(m_grpSincronizacao), "lblUltimaSincronizacao");
    m_lblUltimaSincronizacao->setWordWrap(true);
    m_lblUltimaSincronizacao->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lblExplicaSincronizacao = named(new QLabel(m_grpSincronizacao), "lblExplicaSincronizacao");
    m_lblExplicaSincronizacao->setWordWrap(true);
    auto *syncFolder = new QHBoxLayout;
    syncFolder->addWidget(m_lblPastaSincronizacao);
    syncFolder->addWidget(m_txtPastaSincronizacao, 1);
    syncFolder->addWidget(m_cmdPastaSincronizacao);
    auto *sync = new QVBoxLayout(m_grpSincronizacao);
    sync->addLayout(syncFolder);
    sync->addWidget(m_lblUltimaSincronizacao);
    sync->addWidget(m_lblExplicaSincronizacao);

    auto *autoSave = new QHBoxLayout;
    autoSave->addWidget(m_chkAutoSave);
    autoSave->addWidget(m_updTempo);
    autoSave->addWidget(m_label10);
    autoSave->addStretch();
    auto *backup = new QHBoxLayout;
    backup->addWidget(m_chkLocalBackup);
    backup->addWidget(m_txtLocalBackup, 1);
    backup->addWidget(m_cmdLocalBackup);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_groupBox2);
    layout->addWidget(m_chkPerguntaExclui);
    layout->addLayout(autoSave);
    layout->addWidget(m_chkCriaNotaAlarme);
    layout->addLayout(backup);
    layout->addWidget(m_chkAutoStart);
    layout->addWidget(m_grpSincronizacao);
    layout->addStretch();

    connect(m_chkLocalBackup, &QCheckBox::toggled, this, &TfrmConfNota::chkLocalBackupClick);
    connect(m_cmdLocalBackup, &QPushButton::clicked, this, &TfrmConfNota::cmdLocalBackupClick);
    connect(m_cmdPastaSincronizacao, &QPushButton::clicked, this, &TfrmConfNota::cmdPastaSincronizacaoClick);
    return page;
}

QWidget *TfrmConfNota::buildRede()
{
    auto *page = new QWidget;
    m_chkHabilitaRede = named(new QCheckBox(page), "chkHabilitaRede");

    m_grpSMTP = named(new QGroupBox(page), "grpSMTP");
    auto field = [this](const char *labelName, QLabel *&label, const char *editName, QLineEdit *&edit) {
        label = named(new QLabel(m_grpSMTP), labelName);
        edit = named(new QLineEdit(m_grpSMTP), editName);
        label->setBuddy(edit);
    };
    field("Label5", m_label5, "txtSMTPServer", m_txtSMTPServer);
    field("Label6", m_label6, "txtPortaSMTP", m_txtPortaSMTP);
    field("Label8", m_label8, "txtSeuEmail", m_txtSeuEmail);
    m_label14 = named(new QLabel(m_grpSMTP), "Label14");
    m_cboSeguranca = named(new QComboBox(m_grpSMTP), "cboSeguranca");
    m_label14->setBuddy(m_cboSeguranca);
    m_label11 = named(new QLabel(m_grpSMTP), "Label11");
    m_AuthComboBox = named(new QComboBox(m_grpSMTP), "AuthComboBox");
    m_label11->setBuddy(m_AuthComboBox);
    field("Label9", m_label9, "UsernameEdit", m_UsernameEdit);
    field("Label7", m_label7, "PasswordEdit", m_PasswordEdit);
    m_PasswordEdit->setEchoMode(QLineEdit::Password);
    auto *smtp = new QFormLayout(m_grpSMTP);
    smtp->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    smtp->addRow(m_label5, m_txtSMTPServer);
    smtp->addRow(m_label6, m_txtPortaSMTP);
    smtp->addRow(m_label14, m_cboSeguranca);
    smtp->addRow(m_label8, m_txtSeuEmail);
    smtp->addRow(m_label11, m_AuthComboBox);
    smtp->addRow(m_label9, m_UsernameEdit);
    smtp->addRow(m_label7, m_PasswordEdit);

    m_grpRedeLocal = named(new QGroupBox(page), "grpRedeLocal");
    m_radNaoBloqueia = named(new QRadioButton(m_grpRedeLocal), "radNaoBloqueia");
    m_radBloqueiaTudo = named(new QRadioButton(m_grpRedeLocal), "radBloqueiaTudo");
    m_radBloqueiaSel = named(new QRadioButton(m_grpRedeLocal), "radBloqueiaSel");
    m_radNaoBloqueia->setChecked(true);
    m_lstBloqueio = named(new QListWidget(m_grpRedeLocal), "lstBloqueio");
    m_lstBloqueio->setMinimumHeight(m_lstBloqueio->fontMetrics().height() * 3 + 8);
    m_cmdAdicionaBloqueio = named(new QPushButton(m_grpRedeLocal), "cmdAdicionaBloqueio");
    m_cmdApagaBloqueio = named(new QPushButton(m_grpRedeLocal), "cmdApagaBloqueio");
    m_label13 = named(new QLabel(m_grpRedeLocal), "Label13");
    m_txtPortaTCP = named(new QLineEdit(m_grpRedeLocal), "txtPortaTCP");
    m_txtPortaTCP->setMaximumWidth(m_txtPortaTCP->fontMetrics().horizontalAdvance(QStringLiteral("0")) * 8 + 12);
    m_label13->setBuddy(m_txtPortaTCP);
    auto *blockButtons = new QHBoxLayout;
    blockButtons->addWidget(m_cmdAdicionaBloqueio);
    blockButtons->addWidget(m_cmdApagaBloqueio);
    auto *port = new QHBoxLayout;
    port->addWidget(m_label13);
    port->addWidget(m_txtPortaTCP);
    port->addStretch();
    auto *local = new QVBoxLayout(m_grpRedeLocal);
    local->addWidget(m_radNaoBloqueia);
    local->addWidget(m_radBloqueiaTudo);
    local->addWidget(m_radBloqueiaSel);
    local->addWidget(m_lstBloqueio, 1);
    local->addLayout(blockButtons);
    local->addLayout(port);

    auto *groups = new QHBoxLayout;
    groups->addWidget(m_grpSMTP, 1);
    groups->addWidget(m_grpRedeLocal, 1);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_chkHabilitaRede);
    layout->addLayout(groups, 1);

    connect(m_chkHabilitaRede, &QCheckBox::toggled, this, &TfrmConfNota::chkHabilitaRedeClick);
    connect(m_AuthComboBox, &QComboBox::currentIndexChanged, this, &TfrmConfNota::AuthComboBoxChange);
    connect(m_cboSeguranca, &QComboBox::currentIndexChanged, this, &TfrmConfNota::cboSegurancaChange);
    for (QRadioButton *option : {m_radNaoBloqueia, m_radBloqueiaTudo, m_radBloqueiaSel})
        connect(option, &QRadioButton::toggled, this, &TfrmConfNota::blockOptionClick);
    connect(m_cmdAdicionaBloqueio, &QPushButton::clicked, this, &TfrmConfNota::cmdAdicionaBloqueioClick);
    connect(m_cmdApagaBloqueio, &QPushButton::clicked, this, &TfrmConfNota::cmdApagaBloqueioClick);
    chkHabilitaRedeClick();
    blockOptionClick();
    return page;
}

void TfrmConfNota::retranslateUi()
{
    setWindowTitle(tr("Configurações"));
    m_pagGeral->setTabText(0, tr("Aparência"));
    m_pagGeral->setTabText(1, tr("Alarmes"));
    m_pagGeral->setTabText(2, tr("Sons"));
    m_pagGeral->setTabText(3, tr("Geral"));
    m_pagGeral->setTabText(4, tr("Rede"));
    m_cmdOK->setText(tr("&OK"));
    m_cmdCancelar->setText(tr("&Cancelar"));

    m_groupBox1->setTitle(tr("Pré-Visualização"));
    m_lblExemplo->setText(tr("Exemplo de Nota"));
    m_cmdCordeFundo->setText(tr("C&or de Fundo"));
    m_cmdFonte->setText(tr("&Fonte"));
    m_chkScroll->setText(tr("E&xibir Barra de Scroll"));
    m_groupBox3->setTitle(tr("Título"));
    m_chkCorCaption->setText(tr("&Cor Diferenciada"));
    m_chkDataCaption->setText(tr("Exibir &Data"));
    m_chkHoraCaption->setText(tr("Exibir &Hora"));

    m_chkHabAlarme->setText(tr("Habilita Alarme"));
    m_label2->setText(tr("&Data:"));
    m_label4->setText(tr("&Hora:"));
    m_chkRemarca->setText(tr("Relembrar a cada "));
    m_label12->setText(tr("Dias da Semana:"));
    m_chkTocaSom->setText(tr("Toca &Som"));
    m_cmdTestar->setText(tr("&Testar"));
    {
        // The lists keep the choices made in them.
        const int unit = m_cboUnidade->currentIndex();
        QList<Qt::CheckState> days;
        for (int i = 0; i < m_chkDiasDaSemana->count(); ++i)
            days << m_chkDiasDaSemana->item(i)->checkState();
        fillAlarmLists();
        if (unit >= 0)
            m_cboUnidade->setCurrentIndex(unit);
        for (int i = 0; i < days.size() && i < m_chkDiasDaSemana->count(); ++i)
            m_chkDiasDaSemana->item(i)->setCheckState(days.at(i));
    }

    m_radUsaSom->setText(tr("&Utilizar Sons"));
    m_radNaoUsaSom->setText(tr("Não Utilizar &Sons"));
    m_lstSom->setHeaderLabels({tr("Evento"), tr("Caminho Completo")});
    const QStringList events{tr("Nova Nota"), tr("Excluir Nota"), tr("Recebimento de Nota")};
    for (int row = 0; row < m_lstSom->topLevelItemCount() && row < events.size(); ++row)
        m_lstSom->topLevelItem(row)->setText(0, events.at(row));
    m_cmdPlay->setText(tr("&Testar"));
    {
        // 110 and 200 pixels, or what the headers and event names need.
        const QFontMetrics fm = m_lstSom->fontMetrics();
        int eventWidth = fm.horizontalAdvance(tr("Evento"));
        for (const QString &event : events)
            eventWidth = qMax(eventWidth, fm.horizontalAdvance(event));
        m_lstSom->setColumnWidth(0, qMax(110, eventWidth + 24));
        m_lstSom->setColumnWidth(1, qMax(200, fm.horizontalAdvance(tr("Caminho Completo")) + 24));
    }

    m_groupBox2->setTitle(tr("Informações Pessoais"));
    m_label1->setText(tr("Usuário:"));
    m_label3->setText(tr("Diretório de Dados:"));
    m_chkPerguntaExclui->setText(tr("&Perguntar antes de excluir nota"));
    m_chkAutoSave->setText(tr("Sal&vamento Automático a cada"));
    m_label10->setText(tr("minutos"));
    m_chkCriaNotaAlarme->setText(tr("Mostra Nota com Tarefas Agendadas para o Dia na Inicialização"));
    m_chkLocalBackup->setText(tr("Efetuar Backup na Saída do Programa"));
    m_chkAutoStart->setText(tr("Iniciar o Corkvane com o sistema"));
    m_grpSincronizacao->setTitle(tr("Sincronização"));
    m_lblPastaSincronizacao->setText(tr("P&asta:"));
    m_txtPastaSincronizacao->setAccessibleName(tr("Pasta de sincronização"));
    m_cmdPastaSincronizacao->setAccessibleName(tr("Escolher a pasta de sincronização"));
    m_cmdPastaSincronizacao->setToolTip(tr("Escolher a pasta de sincronização"));
    m_lblUltimaSincronizacao->setAccessibleName(tr("Última sincronização"));
    m_lblExplicaSincronizacao->setText(
        tr("As mesmas notas em todos os seus computadores: escolha aqui uma pasta que um programa de "
           "sincronização de arquivos, como o Syncthing, mantém igual em todos eles, e a mesma pasta no "
           "Corkvane de cada computador. Em branco, as notas ficam só neste computador."));

    m_chkHabilitaRede->setText(tr("Habilitar Funções de Rede"));
    m_grpSMTP->setTitle(tr("Servidor SMTP"));
    m_label5->setText(tr("&Endereço"));
    m_label6->setText(tr("&Porta"));
    m_label14->setText(tr("Se&gurança"));
    {
        const int security = m_cboSeguranca->currentIndex();
        const QSignalBlocker quiet(m_cboSeguranca);
        m_cboSeguranca->clear();
        m_cboSeguranca->addItems({tr("Nenhuma"), QStringLiteral("STARTTLS"), QStringLiteral("SSL/TLS")});
        m_cboSeguranca->setCurrentIndex(qMax(0, security));
    }
    m_label8->setText(tr("&Seu e-mail:"));
    m_label11->setText(tr("&Autenticação"));
    m_label9->setText(tr("&Usuário"));
    m_label7->setText(tr("&Senha:"));
    {
        const int auth = m_AuthComboBox->currentIndex();
        const QSignalBlocker quiet(m_AuthComboBox);
        m_AuthComboBox->clear();
        m_AuthComboBox->addItems({tr("Nenhuma"), tr("Texto Plano"), tr("Login"), tr("MD5")});
        m_AuthComboBox->setCurrentIndex(qMax(0, auth));
    }
    m_grpRedeLocal->setTitle(tr("Rede Local"));
    m_radNaoBloqueia->setText(tr("Não bloqueia notas "));
    m_radBloqueiaTudo->setText(tr("Bloqueia todas as notas"));
    m_radBloqueiaSel->setText(tr("Bloquear notas vindas de:"));
    m_cmdAdicionaBloqueio->setText(tr("&Adicionar"));
    m_cmdApagaBloqueio->setText(tr("Apa&gar"));
    m_label13->setText(tr("Porta:"));
    nameControls();

    fitToContents();
}

void TfrmConfNota::nameControls()
{
    // Fields whose caption is a check box or a radio button beside them, and lists that no
    // label can name, are named after that caption; the "..." buttons say what they choose.
    m_label12->setBuddy(m_chkDiasDaSemana);
    const std::pair<QWidget *, QString> names[] = {
        {m_updCada, spokenCaption(m_chkRemarca->text())},
        {m_chkDiasDaSemana, spokenCaption(m_label12->text())},
        {m_fleSom, spokenCaption(m_chkTocaSom->text())},
        {m_lstSom, tr("Sons dos eventos")},
        {m_updTempo, spokenCaption(m_chkAutoSave->text())},
        {m_txtLocalBackup, spokenCaption(m_chkLocalBackup->text())},
        {m_lstBloqueio, spokenCaption(m_radBloqueiaSel->text())},
    };
    for (const auto &[control, name] : names)
        control->setAccessibleName(name);
    m_updCada->setAccessibleDescription(tr("Intervalo, na unidade escolhida ao lado"));
    m_updTempo->setAccessibleDescription(m_label10->text());
    const std::pair<QPushButton *, QString> browse[] = {
        {m_cmdProcurar, tr("Procurar o arquivo de som do alarme")},
        {m_cmdLocalBackup, tr("Escolher a pasta do backup na saída")},
    };
    for (const auto &[button, description] : browse) {
        button->setAccessibleDescription(description);
        button->setToolTip(description);
    }
}

void TfrmConfNota::fitToContents()
{
    // The design size at the least; larger when the desktop's fonts need it, so that no
    // caption is ever cut. Fixed either way.
    m_cmdProcurar->setFixedWidth(m_cmdProcurar->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    m_cmdLocalBackup->setFixedWidth(m_cmdLocalBackup->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    m_cmdPastaSincronizacao->setFixedWidth(m_cmdPastaSincronizacao->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
    // Four rows, so that the seven weekdays stand in two columns.
    const int dayRow = qMax(m_chkDiasDaSemana->fontMetrics().height(),
                            m_chkDiasDaSemana->style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, m_chkDiasDaSemana))
                       + 4;
    m_chkDiasDaSemana->setFixedHeight(4 * dayRow + 2 * m_chkDiasDaSemana->frameWidth() + 4);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->activate();
    setFixedSize(kDesignSize.expandedTo(layout()->totalSizeHint()));
}

QStringList TfrmConfNota::unitNames()
{
    return {tr("minuto(s)"), tr("hora(s)"), tr("dia(s)"), tr("semana(s)"), tr("mes(es)")};
}

QStringList TfrmConfNota::dayNames()
{
    return {tr("Domingo"), tr("Segunda"), tr("Terça"), tr("Quarta"), tr("Quinta"), tr("Sexta"), tr("Sábado")};
}

void TfrmConfNota::fillAlarmLists()
{
    m_cboUnidade->clear();
    m_cboUnidade->addItems(unitNames());
    m_cboUnidade->setCurrentIndex(0);

    // Entry n is the weekday of Dia(n + 1): Sunday first.
    m_chkDiasDaSemana->clear();
    for (const QString &day : dayNames()) {
        auto *item = new QListWidgetItem(day, m_chkDiasDaSemana);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(Qt::Unchecked);
    }
}

void TfrmConfNota::fillSoundRows()
{
    m_lstSom->clear();
    for (const QString &event : {tr("Nova Nota"), tr("Excluir Nota"), tr("Recebimento de Nota")})
        new QTreeWidgetItem(m_lstSom, QStringList{event, QString()});
}

void TfrmConfNota::hidePage(QWidget *page)
{
    // The tab bar keeps the position of the selected tab when the selected page goes, and
    // falls back to the last tab when that position no longer exists.
    auto visiblePages = [this] {
        QList<QWidget *> pages;
        for (int i = 0; i < m_pagGeral->count(); ++i)
            if (m_pagGeral->isTabVisible(i))
                pages << m_pagGeral->widget(i);
        return pages;
    };
    const int index = m_pagGeral->indexOf(page);
    if (index < 0 || !m_pagGeral->isTabVisible(index))
        return;
    QWidget *selected = m_pagGeral->currentWidget();
    const int position = visiblePages().indexOf(selected);
    m_pagGeral->setTabVisible(index, false);
    const QList<QWidget *> remaining = visiblePages();
    if (remaining.isEmpty())
        return;
    if (selected == page)
        m_pagGeral->setCurrentWidget(remaining.at(qMin(position, int(remaining.size()) - 1)));
    else
        m_pagGeral->setCurrentWidget(selected);
}

void TfrmConfNota::fillCommonPages()
{
    // What OK's common tail writes back in both modes: read here in both, so that a note's
    // settings dialog returns these values unchanged.
    const GeneralSettings &g = m_settings->recGeral;
    fillSoundRows();
    (g.UseSounds ? m_radUsaSom : m_radNaoUsaSom)->setChecked(true);
    const QStringList paths{g.SoundNewSticky, g.SoundDelSticky, g.SoundRecSticky};
    for (int row = 0; row < 3; ++row)
        m_lstSom->topLevelItem(row)->setText(1, paths.at(row));
    soundOptionClick();
    m_chkPerguntaExclui->setChecked(g.AskDelete);
    m_chkCriaNotaAlarme->setChecked(g.NoteDaily);
    m_chkLocalBackup->setChecked(g.BackupOnExit);
    m_txtLocalBackup->setText(g.BackupPath);
    chkLocalBackupClick();
}

void TfrmConfNota::prepareNote(TfPostIt *note)
{
    if (!note)
        return;
    m_note = note;
    m_noteIndex = note->Tag();
    m_general = false;

    hidePage(m_tabGeral);
    hidePage(m_tbsRede);
    hidePage(m_tabSons);

    m_previewColour = note->color();
    m_previewFont = note->noteFont();
    {
        const QSignalBlocker quiet(m_trackBar1);
        // A note without a shaded title leaves the slider where it starts.
        if (note->darkCaption())
            m_trackBar1->setValue(qBound(kMinTrack, note->trackPosition(), kMaxTrack));
    }
    m_chkScroll->setChecked(note->scrollBar());
    {
        const QSignalBlocker quiet(m_chkCorCaption);
        m_chkCorCaption->setChecked(note->darkCaption());
    }
    chkCorCaptionClick();

    // The title options of new notes are general settings: shown, not editable here.
    if (m_settings) {
        m_chkDataCaption->setChecked(m_settings->recGeral.ShowDate);
        m_chkHoraCaption->setChecked(m_settings->recGeral.ShowTime);
        fillCommonPages();
    }
    m_chkDataCaption->setEnabled(false);
    m_chkHoraCaption->setEnabled(false);
    m_pnlExemploCaption->setText(QStringLiteral("  01/01/2002 12:35"));

    prepareAlarmPage(*note);
    updatePreview();
}

void TfrmConfNota::prepareAlarmPage(const TfPostIt &note)
{
    fillAlarmLists();
    std::array<bool, 7> days;
    QDateTime moment = note.alarmDateTime();
    if (note.alarm() && moment.isValid()) {
        m_chkTocaSom->setChecked(note.useSound());
        m_fleSom->setText(note.soundFile());
        days = note.dia();
        m_chkRemarca->setChecked(note.remember());
        m_updCada->setValue(note.rememberNo());
        // A unit the list does not know (a hand-edited store) is shown as the days the alarm
        // check steps it by, so that OK keeps the alarm's meaning.
        const int unit = note.rememberUnit();
        m_cboUnidade->setCurrentIndex(unit >= 0 && unit < m_cboUnidade->count() ? unit : 2);
    } else {
        moment = Clock::now().addSecs(5 * 60);
        m_chkTocaSom->setChecked(false);
        m_fleSom->clear();
        days.fill(true);
        m_chkRemarca->setChecked(false);
        m_updCada->setValue(1);
        m_cboUnidade->setCurrentIndex(0);
    }
    m_dtmDataAlarme->setDate(moment.date());
    m_dtmHoraAlarme->setTime(QTime(moment.time().hour(), moment.time().minute(), moment.time().second()));
    for (int n = 0; n < 7; ++n)
        m_chkDiasDaSemana->item(n)->setCheckState(days[static_cast<size_t>(n)] ? Qt::Checked : Qt::Unchecked);

    m_chkHabAlarme->setChecked(note.alarm());
    // Every rule once, in the order of its box.
    chkHabAlarmeClick();
    chkTocaSomClick();
}

void TfrmConfNota::prepareGeneral(const PreferencesServices &services)
{
    m_services = services;
    m_note = nullptr;
    m_noteIndex = -1;
    m_general = true;
    if (!m_settings)
        return;
    const GeneralSettings &g = m_settings->recGeral;
    const NetworkSettings &n = m_settings->recRede;

    m_txtIDUsuario->setText(g.User);
    m_previewColour = g.DefaultColor;
    m_previewFont = g.DefaultFont;
    m_helpContext = kHelpAparencia;
    {
        const QSignalBlocker quiet(m_trackBar1);
        // Without shading the slider keeps its lowest position, which OK then stores.
        m_trackBar1->setValue(g.DarkCaption ? qBound(kMinTrack, g.TrackPosition, kMaxTrack) : kMinTrack);
    }
    {
        const QSignalBlocker quietDate(m_chkDataCaption);
        const QSignalBlocker quietTime(m_chkHoraCaption);
        m_chkDataCaption->setChecked(g.ShowDate);
        m_chkHoraCaption->setChecked(g.ShowTime);
    }
    m_chkAutoSave->setChecked(g.AutoSave);
    m_updTempo->setValue(qMax(1, g.TimeAutoSave));
    m_txtPortaTCP->setText(n.PortTCP);

    m_chkHabilitaRede->setChecked(n.Enabled);
    chkHabilitaRedeClick();
    m_txtSMTPServer->setText(n.SMTPServer);
    m_txtPortaSMTP->setText(n.SMTPPort);
    {
        // The stored choice with the stored port as it is: proposals are for the user's choosing.
        const QSignalBlocker quiet(m_cboSeguranca);
        m_cboSeguranca->setCurrentIndex(n.SMTPSecurity >= 0 && n.SMTPSecurity < m_cboSeguranca->count() ? n.SMTPSecurity : 0);
    }
    m_AuthComboBox->setCurrentIndex(n.Authtype >= 0 && n.Authtype < m_AuthComboBox->count() ? n.Authtype : 0);
    m_txtSeuEmail->setText(n.Email);
    if (m_AuthComboBox->currentIndex() != 0) {
        m_UsernameEdit->setText(n.Username);
        m_PasswordEdit->setText(n.Password);
    } else {
        m_UsernameEdit->clear();
        m_PasswordEdit->clear();
    }
    AuthComboBoxChange();

    // The block options: the list shows the stored entries only for "Bloquear notas vindas de:".
    m_lstBloqueio->clear();
    switch (n.Blocktype) {
    case 1:
        m_radBloqueiaTudo->setChecked(true);
        break;
    case 2:
        m_radBloqueiaSel->setChecked(true);
        m_lstBloqueio->addItems(n.BlockList);
        break;
    default:
        m_radNaoBloqueia->setChecked(true);
    }
    blockOptionClick();

    // What the Part's "when shown" step does; the dialog is not visible yet, so it runs here.
    m_pagGeral->setTabVisible(m_pagGeral->indexOf(m_tabGeral), true);
    m_pagGeral->setTabVisible(m_pagGeral->indexOf(m_tbsRede), true);
    m_pagGeral->setTabVisible(m_pagGeral->indexOf(m_tabSons), true);
    m_chkScroll->setChecked(g.ScrollBar);
    {
        const QSignalBlocker quiet(m_chkCorCaption);
        m_chkCorCaption->setChecked(g.DarkCaption);
    }
    chkCorCaptionClick();
    m_chkDataCaption->setEnabled(true);
    m_chkHoraCaption->setEnabled(true);
    updatePreviewTitleText();
    for (QWidget *input : m_tabAlarme->findChildren<QWidget *>())
        input->setEnabled(false);
    fillCommonPages();
    // A path has no blanks to wrap at; a zero-width space after each separator gives it some.
    m_lblDirDados->setText(QString(m_services.dataFolder).replace(QLatin1Char('/'), QStringLiteral("/\u200B")));
    m_chkAutoStart->setChecked(Autostart::isEnabled());
    m_txtPastaSincronizacao->setText(m_settings->recSync.Folder);
    m_lblUltimaSincronizacao->setText(m_services.syncStatus);
    m_lblUltimaSincronizacao->setVisible(!m_services.syncStatus.isEmpty());
    m_pagGeral->setCurrentWidget(m_tabGeral);
    updatePreview();
}

void TfrmConfNota::showAlarmsPage()
{
    m_pagGeral->setCurrentWidget(m_tabAlarme);
}

void TfrmConfNota::chkHabAlarmeClick()
{
    const bool armed = m_chkHabAlarme->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{m_dtmDataAlarme, m_dtmHoraAlarme, m_chkTocaSom, m_fleSom, m_chkRemarca})
        w->setEnabled(armed);
    chkRemarcaClick();
}

void TfrmConfNota::chkRemarcaClick()
{
    const bool recurs = m_chkRemarca->isChecked();
    m_updCada->setEnabled(recurs);
    m_cboUnidade->setEnabled(recurs);
    m_chkDiasDaSemana->setEnabled(recurs);
}

void TfrmConfNota::chkTocaSomClick()
{
    m_fleSom->setEnabled(m_chkTocaSom->isChecked());
}

void TfrmConfNota::chkCorCaptionClick()
{
    m_trackBar1->setEnabled(m_chkCorCaption->isChecked());
    recomputeCaption();
}

void TfrmConfNota::chkHabilitaRedeClick()
{
    const bool on = m_chkHabilitaRede->isChecked();
    // The groups carry their controls; the controls' own rules still hold inside them.
    m_grpSMTP->setEnabled(on);
    m_grpRedeLocal->setEnabled(on);
}

void TfrmConfNota::cboSegurancaChange()
{
    // A port the user left at a well-known default follows the security chosen; one typed
    // for a particular server is theirs and stays.
    static const QString kPlain = QStringLiteral("25"), kStartTls = QStringLiteral("587"), kTls = QStringLiteral("465");
    const QString port = m_txtPortaSMTP->text().trimmed();
    if (port != kPlain && port != kStartTls && port != kTls)
        return;
    switch (m_cboSeguranca->currentIndex()) {
    case 1:
        m_txtPortaSMTP->setText(kStartTls);
        break;
    case 2:
        m_txtPortaSMTP->setText(kTls);
        break;
    default:
        break;
    }
}

void TfrmConfNota::AuthComboBoxChange()
{
    const bool credentials = m_AuthComboBox->currentIndex() > 0;
    m_UsernameEdit->setEnabled(credentials);
    m_PasswordEdit->setEnabled(credentials);
    m_label9->setEnabled(credentials);
    m_label7->setEnabled(credentials);
}

void TfrmConfNota::chkLocalBackupClick()
{
    const bool on = m_chkLocalBackup->isChecked();
    m_txtLocalBackup->setEnabled(on);
    m_cmdLocalBackup->setEnabled(on);
}

void TfrmConfNota::blockOptionClick()
{
    m_lstBloqueio->setEnabled(m_radBloqueiaSel->isChecked());
}

void TfrmConfNota::soundOptionClick()
{
    const bool on = m_radUsaSom->isChecked();
    m_lstSom->setEnabled(on);
    m_cmdPlay->setEnabled(on);
}

void TfrmConfNota::recomputeCaption()
{
    m_previewCaptionColour = m_chkCorCaption->isChecked() ? CaptionShade(m_previewColour, m_trackBar1->value())
                                                          : m_previewColour;
    updatePreview();
}

void TfrmConfNota::updatePreviewTitleText()
{
    if (!m_general)
        return;
    const QDateTime now = Clock::now();
    QString text = m_chkDataCaption->isChecked() ? now.toString(Locale::shortDateFormat()) + QLatin1Char(' ') : QString();
    if (m_chkHoraCaption->isChecked())
        text += now.toString(Locale::longTimeFormat());
    m_pnlExemploCaption->setText(text);
}

void TfrmConfNota::updatePreview()
{
    m_pnlExemplo->setStyleSheet(QStringLiteral("QFrame#pnlExemplo { background-color: %1; }").arg(colourCss(m_previewColour)));
    m_lblExemplo->setFont(toQFont(m_previewFont));
    m_lblExemplo->setStyleSheet(QStringLiteral("color: %1;").arg(colourCss(m_previewFont.colour)));

    QFont captionFont(QStringLiteral("Small Fonts"));
    captionFont.setPixelSize(9);
    captionFont.setBold(true);
    m_pnlExemploCaption->setFont(captionFont);
    m_pnlExemploCaption->setStyleSheet(QStringLiteral("background-color: %1; color: %2;")
                                           .arg(colourCss(m_previewCaptionColour), colourCss(m_previewFont.colour)));

    m_scbExemplo->setVisible(m_chkScroll->isChecked());
}

void TfrmConfNota::cmdCordeFundoClick()
{
    const QColor chosen = Dialogs::getColor(this, toQColor(m_previewColour), tr("Cor de Fundo"));
    if (chosen.isValid())
        m_previewColour = fromQColor(chosen);
    recomputeCaption();
}

void TfrmConfNota::cmdFonteClick()
{
    const std::optional<QFont> chosen = Dialogs::getFont(this, toQFont(m_previewFont));
    if (!chosen)
        return;
    NoteFont font = fromQFont(*chosen, m_previewFont);
    // The desktop's font dialog has no colour; the text colour is the second half of the same
    // choice, asked at once in a dialog that says what it is for. Cancelling it keeps the
    // colour the text had.
    const QColor colour = Dialogs::getColor(this, toQColor(font.colour), tr("Cor da Fonte"));
    if (colour.isValid())
        font.colour = fromQColor(colour);
    m_previewFont = font;
    updatePreview();
}

void TfrmConfNota::cmdProcurarClick()
{
    const QString file = Dialogs::getOpenFileName(this, tr("Abrir"), Paths::soundFolder(m_fleSom->text()),
                                                  tr("Arquivos Wave (*.wav)"));
    if (!file.isEmpty())
        m_fleSom->setText(file);
}

void TfrmConfNota::cmdTestarClick()
{
    const bool wasEnabled = m_cmdTestar->isEnabled();
    m_cmdTestar->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_wavTeste.setFileName(m_fleSom->text());
    const bool played = m_wavTeste.play();
    QApplication::restoreOverrideCursor();
    m_cmdTestar->setEnabled(wasEnabled);
    if (!played)
        Dialogs::error(this, tr("Este não é um arquivo de som válido!"));
}

void TfrmConfNota::cmdPlayClick()
{
    const QList<QTreeWidgetItem *> selected = m_lstSom->selectedItems();
    if (selected.isEmpty())
        return;
    m_cmdPlay->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_wavTeste.setFileName(selected.first()->text(1));
    m_wavTeste.play();
    QApplication::restoreOverrideCursor();
    soundOptionClick();
}

void TfrmConfNota::lstSomDoubleClick(QTreeWidgetItem *item)
{
    if (!item || !m_radUsaSom->isChecked() || !m_services.chooseEventSound)
        return;
    if (const std::optional<QString> path = m_services.chooseEventSound(item->text(0), item->text(1)))
        item->setText(1, *path);
}

void TfrmConfNota::cmdLocalBackupClick()
{
    const QString start = m_txtLocalBackup->text().isEmpty() ? QDir::homePath() : m_txtLocalBackup->text();
    const QString chosen = Dialogs::getSaveFileName(this, tr("Selecione o Local para Backup"),
                                                    Paths::withSlash(start) + QStringLiteral("backup"), QString());
    if (!chosen.isEmpty())
        m_txtLocalBackup->setText(Paths::withSlash(QFileInfo(chosen).absolutePath()));
}

void TfrmConfNota::cmdPastaSincronizacaoClick()
{
    const QString typed = chosenSyncFolder();
    const QString start = !typed.isEmpty() && QFileInfo(typed).isDir() ? typed : QDir::homePath();
    const QString chosen = Dialogs::getExistingDirectory(this, tr("Selecione a Pasta de Sincronização"), start);
    if (!chosen.isEmpty())
        m_txtPastaSincronizacao->setText(QDir::cleanPath(chosen));
}

QString TfrmConfNota::chosenSyncFolder() const
{
    QString folder = m_txtPastaSincronizacao->text().trimmed();
    if (folder.isEmpty())
        return {};
    if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
        folder = QDir::homePath() + folder.mid(1);
    return QDir::cleanPath(folder);
}

void TfrmConfNota::cmdAdicionaBloqueioClick()
{
    if (!m_services.askBlockedSender)
        return;
    if (const std::optional<QString> entry = m_services.askBlockedSender())
        m_lstBloqueio->addItem(*entry);
}

void TfrmConfNota::cmdApagaBloqueioClick()
{
    const QList<QListWidgetItem *> selected = m_lstBloqueio->selectedItems();
    if (selected.isEmpty()) {
        Dialogs::error(this, tr("Selecione um ítem para exclusão!"));
        return;
    }
    if (Dialogs::confirm(this, tr("Atenção"), tr("Confirma Exclusão deste ítem?")))
        delete selected.first();
}

QDateTime TfrmConfNota::chosenAlarmMoment() const
{
    return QDateTime(m_dtmDataAlarme->date(), m_dtmHoraAlarme->time());
}

void TfrmConfNota::cmdOKClick()
{
    if (m_general) {
        if (!applyGeneral())
            return;  // refused: the dialog stays open with its values
    } else {
        if (m_note && !applyToNote(*m_note))
            return;
        if (m_settings)
            applyCommonTail();
    }
    accept();
}

bool TfrmConfNota::applyToNote(TfPostIt &note)
{
    const bool armed = m_chkHabAlarme->isChecked();
    const QDateTime moment = chosenAlarmMoment();
    if (armed && !(moment > Clock::now())) {
        Dialogs::error(this, tr("A data e hora selecionada para o alarme é mais antiga que a atual!"));
        return false;
    }

    if (armed) {
        note.setAlarm(true);
        note.setAlarmDateTime(moment);
        note.setUseSound(m_chkTocaSom->isChecked());
        note.setSoundFile(m_fleSom->text());
        note.setArmedIconShown(true);
        std::array<bool, 7> days{};
        for (int n = 0; n < 7; ++n)
            days[static_cast<size_t>(n)] = m_chkDiasDaSemana->item(n)->checkState() == Qt::Checked;
        note.setDia(days);
        note.setRemember(m_chkRemarca->isChecked());
        note.setRememberNo(m_updCada->value());
        note.setRememberUnit(m_cboUnidade->currentIndex());
    } else {
        // Disarming keeps the other alarm fields for the next time.
        note.setAlarm(false);
        note.setArmedIconShown(false);
    }

    note.setColor(m_previewColour);
    note.setNoteFont(m_previewFont);
    note.setScrollBar(m_chkScroll->isChecked());

    if (m_chkCorCaption->isChecked()) {
        note.setTrackPosition(m_trackBar1->value());
        note.setDarkCaption(true);
    } else {
        note.setDarkCaption(false);
    }
    note.setTitleFontColour(m_previewFont.colour);
    return true;
}

bool TfrmConfNota::applyGeneral()
{
    if (!m_settings)
        return true;
    const int period = m_updTempo->value();
    if (m_chkAutoSave->isChecked() && (period < kMinAutoSave || period > kMaxAutoSave)) {
        Dialogs::error(this, tr("O tempo de salvamento automático deve estar entre 5 e 60 minutos!"));
        m_pagGeral->setCurrentWidget(m_tabGeral);
        m_updTempo->setFocus();
        return false;
    }
    const QString syncFolder = chosenSyncFolder();
    if (!syncFolder.isEmpty()) {
        QString refusal;
        if (!QDir::isAbsolutePath(syncFolder))
            refusal = tr("A pasta de sincronização deve ser um caminho completo, começando por \"/\".");
        else if (!QFileInfo(syncFolder).isDir() && !QDir().mkpath(syncFolder))
            refusal = tr("Não foi possível criar a pasta de sincronização %1.").arg(QDir::toNativeSeparators(syncFolder));
        if (!refusal.isEmpty()) {
            Dialogs::error(this, refusal);
            m_pagGeral->setCurrentWidget(m_tabGeral);
            m_txtPastaSincronizacao->setFocus();
            return false;
        }
    }

    GeneralSettings &g = m_settings->recGeral;
    g.User = m_txtIDUsuario->text();
    g.ScrollBar = m_chkScroll->isChecked();
    g.DefaultColor = m_previewColour;
    g.DefaultFont = m_previewFont;
    g.DarkCaption = m_chkCorCaption->isChecked();
    g.TrackPosition = m_trackBar1->value();
    g.ShowDate = m_chkDataCaption->isChecked();
    g.ShowTime = m_chkHoraCaption->isChecked();
    g.AutoSave = m_chkAutoSave->isChecked();
    g.TimeAutoSave = period;

    NetworkSettings &n = m_settings->recRede;
    n.SMTPServer = m_txtSMTPServer->text();
    n.SMTPPort = m_txtPortaSMTP->text();
    n.SMTPSecurity = m_cboSeguranca->currentIndex();
    n.Authtype = m_AuthComboBox->currentIndex();
    n.Email = m_txtSeuEmail->text();
    if (n.Authtype != 0) {
        n.Username = m_UsernameEdit->text();
        n.Password = m_PasswordEdit->text();
    } else {
        n.Username.clear();
        n.Password.clear();
    }

    if (m_radNaoBloqueia->isChecked()) {
        n.Blocktype = 0;
    } else if (m_radBloqueiaTudo->isChecked()) {
        n.Blocktype = 1;
    } else {
        n.Blocktype = 2;
        if (m_lstBloqueio->count() == 0) {
            Dialogs::warning(this, tr("Você não inseriu nenhum elemento na lista de bloqueio. O sistema aceitará "
                                      "todas as mensagens."));
            n.BlockList.clear();
        } else {
            QStringList entries;
            for (int i = 0; i < m_lstBloqueio->count(); ++i)
                entries << m_lstBloqueio->item(i)->text();
            n.BlockList = entries;
        }
    }

    n.Enabled = m_chkHabilitaRede->isChecked();
    n.PortTCP = m_txtPortaTCP->text();
    QString networkFailure;
    if (m_services.applyNetworking) {
        try {
            m_services.applyNetworking(n.Enabled);
        } catch (const std::exception &e) {
            networkFailure = QString::fromUtf8(e.what());
        }
    }

    // The sounds and housekeeping options are applied even when the server failed: they do
    // not depend on it, and the user chose them in the same OK.
    applyCommonTail();

    const bool autostart = m_chkAutoStart->isChecked();
    if (autostart != Autostart::isEnabled()) {
        const QString failure = Autostart::setEnabled(autostart, m_services.programPath);
        if (!failure.isEmpty())
            Dialogs::showException(failure);
    }

    m_settings->recSync.Folder = syncFolder;
    if (m_services.applySync)
        m_services.applySync();

    if (!networkFailure.isEmpty())
        Dialogs::showException(networkFailure);
    return true;
}

void TfrmConfNota::applyCommonTail()
{
    GeneralSettings &g = m_settings->recGeral;
    g.UseSounds = m_radUsaSom->isChecked();
    g.SoundNewSticky = m_lstSom->topLevelItem(0)->text(1);
    g.SoundDelSticky = m_lstSom->topLevelItem(1)->text(1);
    g.SoundRecSticky = m_lstSom->topLevelItem(2)->text(1);
    g.AskDelete = m_chkPerguntaExclui->isChecked();
    g.NoteDaily = m_chkCriaNotaAlarme->isChecked();
    g.BackupOnExit = m_chkLocalBackup->isChecked();
    g.BackupPath = m_txtLocalBackup->text();
}

void TfrmConfNota::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(m_helpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmConfNota::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
}

void TfrmConfNota::showEvent(QShowEvent *event)
{
    fitToContents();
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

bool OpenNoteSettings(TfPostIt *note, bool alarmsPage, AppSettings *settings, const std::function<void(int)> &onHelp,
                      QWidget *parent)
{
    if (!note)
        return false;
    TfrmConfNota dialog(settings, parent);
    dialog.prepareNote(note);
    if (alarmsPage)
        dialog.showAlarmsPage();
    dialog.setHelpContext(alarmsPage ? TfrmConfNota::kHelpAlarmes : TfrmConfNota::kHelpAparencia);
    if (onHelp)
        QObject::connect(&dialog, &TfrmConfNota::helpRequested, &dialog, [&onHelp](int context) { onHelp(context); });
    return dialog.exec() == QDialog::Accepted;
}

bool OpenPreferences(AppSettings *settings, const PreferencesServices &services, const std::function<void(int)> &onHelp,
                     QWidget *parent)
{
    TfrmConfNota dialog(settings, parent);
    dialog.prepareGeneral(services);
    dialog.setHelpContext(TfrmConfNota::kHelpAparencia);
    if (onHelp)
        QObject::connect(&dialog, &TfrmConfNota::helpRequested, &dialog, [&onHelp](int context) { onHelp(context); });
    return dialog.exec() == QDialog::Accepted;
}
