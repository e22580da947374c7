#include "notes/ConfNota.h"

#include "notes/PostIt.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Locale.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

constexpr int kMinTrack = 1;
constexpr int kMaxTrack = 25;

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

// The folder the wave-file dialog opens in: the folder of the current file when it exists,
// else the system's sounds, else the home folder.
QString soundFolder(const QString &current)
{
    if (!current.isEmpty()) {
        const QFileInfo info(current);
        if (info.absoluteDir().exists())
            return info.absolutePath();
    }
    for (const char *candidate : {"/usr/share/sounds", "/usr/local/share/sounds"})
        if (QFileInfo(QLatin1String(candidate)).isDir())
            return QLatin1String(candidate);
    return QDir::homePath();
}

} // namespace

TfrmConfNota::TfrmConfNota(const AppSettings *settings, QWidget *parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("TfrmConfNota"));
    m_wavTeste.setAsynchronous(false);
    buildFrame();
    retranslateUi();
    setFixedSize(374, 301);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

TfrmConfNota::~TfrmConfNota() = default;

void TfrmConfNota::buildFrame()
{
    m_pagGeral = named(new QTabWidget(this), "pagGeral");
    m_pagGeral->setUsesScrollButtons(false);  // several rows rather than scrolling tabs
    m_tabFonteCor = named(buildAparencia(), "tabFonteCor");
    m_tabAlarme = named(buildAlarmes(), "tabAlarme");
    // The general pages are filled by the preferences; a note never shows them.
    m_tabSons = named(new QWidget, "tabSons");
    m_tabGeral = named(new QWidget, "tabGeral");
    m_tbsRede = named(new QWidget, "tbsRede");
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

    auto *groupBox1 = named(new QGroupBox(page), "GroupBox1");
    m_pnlExemplo = named(new QFrame(groupBox1), "pnlExemplo");
    m_pnlExemplo->setFixedSize(120, 90);
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
    auto *groupLayout = new QVBoxLayout(groupBox1);
    groupLayout->addWidget(m_pnlExemplo, 0, Qt::AlignCenter);

    m_cmdCordeFundo = named(new QPushButton(page), "cmdCordeFundo");
    m_cmdFonte = named(new QPushButton(page), "cmdFonte");
    m_chkScroll = named(new QCheckBox(page), "chkScroll");

    auto *groupBox3 = named(new QGroupBox(page), "GroupBox3");
    m_chkCorCaption = named(new QCheckBox(groupBox3), "chkCorCaption");
    m_trackBar1 = named(new QSlider(Qt::Horizontal, groupBox3), "TrackBar1");
    m_trackBar1->setRange(kMinTrack, kMaxTrack);
    m_trackBar1->setTickInterval(1);
    m_trackBar1->setSingleStep(1);
    m_trackBar1->setPageStep(1);
    m_trackBar1->setTickPosition(QSlider::TicksBelow);
    m_trackBar1->setValue(12);
    m_chkDataCaption = named(new QCheckBox(groupBox3), "chkDataCaption");
    m_chkHoraCaption = named(new QCheckBox(groupBox3), "chkHoraCaption");
    auto *titleLayout = new QGridLayout(groupBox3);
    titleLayout->addWidget(m_chkCorCaption, 0, 0, 1, 2);
    titleLayout->addWidget(m_trackBar1, 1, 0, 1, 2);
    titleLayout->addWidget(m_chkDataCaption, 2, 0);
    titleLayout->addWidget(m_chkHoraCaption, 2, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(groupBox1);
    left->addWidget(m_chkScroll);
    auto *right = new QVBoxLayout;
    auto *colourFont = new QHBoxLayout;
    colourFont->addWidget(m_cmdCordeFundo);
    colourFont->addWidget(m_cmdFonte);
    right->addLayout(colourFont);
    right->addWidget(groupBox3);
    right->addStretch();
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right);

    connect(m_cmdCordeFundo, &QPushButton::clicked, this, &TfrmConfNota::cmdCordeFundoClick);
    connect(m_cmdFonte, &QPushButton::clicked, this, &TfrmConfNota::cmdFonteClick);
    connect(m_chkScroll, &QCheckBox::toggled, this, &TfrmConfNota::updatePreview);
    connect(m_chkCorCaption, &QCheckBox::toggled, this, [this] {
        applyEnabling();
        recomputeCaption();
    });
    connect(m_trackBar1, &QSlider::valueChanged, this, &TfrmConfNota::recomputeCaption);
    return page;
}

QWidget *TfrmConfNota::buildAlarmes()
{
    auto *page = new QWidget;

    m_chkHabAlarme = named(new QCheckBox(page), "chkHabAlarme");
    auto *label2 = named(new QLabel(page), "Label2");
    m_dtmDataAlarme = named(new QDateEdit(page), "dtmDataAlarme");
    m_dtmDataAlarme->setCalendarPopup(true);
    m_dtmDataAlarme->setDisplayFormat(Locale::shortDateFormat());
    label2->setBuddy(m_dtmDataAlarme);
    auto *label4 = named(new QLabel(page), "Label4");
    m_dtmHoraAlarme = named(new QTimeEdit(page), "dtmHoraAlarme");
    m_dtmHoraAlarme->setDisplayFormat(Locale::longTimeFormat());
    label4->setBuddy(m_dtmHoraAlarme);

    m_chkRemarca = named(new QCheckBox(page), "chkRemarca");
    // The spin box stands for both the count's edit box and its arrows; a count typed by hand
    // can only be a whole number 1..999.
    m_updCada = named(new QSpinBox(page), "updCada");
    m_updCada->setRange(1, 999);
    m_updCada->setValue(1);
    if (auto *edit = m_updCada->findChild<QLineEdit *>())
        edit->setObjectName(QStringLiteral("txtCada"));
    m_cboUnidade = named(new QComboBox(page), "cboUnidade");

    auto *label12 = named(new QLabel(page), "Label12");
    m_chkDiasDaSemana = named(new QListWidget(page), "chkDiasDaSemana");
    m_chkDiasDaSemana->setFlow(QListView::TopToBottom);
    m_chkDiasDaSemana->setWrapping(true);
    m_chkDiasDaSemana->setResizeMode(QListView::Adjust);
    m_chkDiasDaSemana->setFixedHeight(72);

    auto *bevel1 = named(new QFrame(page), "Bevel1");
    bevel1->setFrameShape(QFrame::HLine);
    bevel1->setFrameShadow(QFrame::Sunken);

    m_chkTocaSom = named(new QCheckBox(page), "chkTocaSom");
    m_fleSom = named(new QLineEdit(page), "fleSom");
    m_cmdProcurar = named(new QPushButton(QStringLiteral("..."), page), "cmdProcurar");
    m_cmdProcurar->setFixedWidth(24);
    m_cmdTestar = named(new QPushButton(page), "cmdTestar");

    auto *grid = new QGridLayout(page);
    grid->addWidget(m_chkHabAlarme, 0, 0, 1, 4);
    grid->addWidget(label2, 1, 0);
    grid->addWidget(m_dtmDataAlarme, 1, 1);
    grid->addWidget(label4, 1, 2);
    grid->addWidget(m_dtmHoraAlarme, 1, 3);
    auto *step = new QHBoxLayout;
    step->addWidget(m_chkRemarca);
    step->addWidget(m_updCada);
    step->addWidget(m_cboUnidade);
    step->addStretch();
    grid->addLayout(step, 2, 0, 1, 4);
    grid->addWidget(label12, 3, 0, 1, 4);
    grid->addWidget(m_chkDiasDaSemana, 4, 0, 1, 4);
    grid->addWidget(bevel1, 5, 0, 1, 4);
    auto *sound = new QHBoxLayout;
    sound->addWidget(m_chkTocaSom);
    sound->addWidget(m_fleSom, 1);
    sound->addWidget(m_cmdProcurar);
    sound->addWidget(m_cmdTestar);
    grid->addLayout(sound, 6, 0, 1, 4);

    fillAlarmLists();

    connect(m_chkHabAlarme, &QCheckBox::toggled, this, &TfrmConfNota::applyEnabling);
    connect(m_chkRemarca, &QCheckBox::toggled, this, &TfrmConfNota::applyEnabling);
    connect(m_chkTocaSom, &QCheckBox::toggled, this, &TfrmConfNota::applyEnabling);
    connect(m_cmdProcurar, &QPushButton::clicked, this, &TfrmConfNota::cmdProcurarClick);
    connect(m_cmdTestar, &QPushButton::clicked, this, &TfrmConfNota::cmdTestarClick);
    return page;
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

QStringList TfrmConfNota::unitNames()
{
    return {tr("minuto(s)"), tr("hora(s)"), tr("dia(s)"), tr("semana(s)"), tr("mes(es)")};
}

QStringList TfrmConfNota::dayNames()
{
    return {tr("Domingo"), tr("Segunda"), tr("Terça"), tr("Quarta"), tr("Quinta"), tr("Sexta"), tr("Sábado")};
}

void TfrmConfNota::retranslateUi()
{
    setWindowTitle(tr("Configurações"));
    const QList<QPair<QWidget *, QString>> pages = {{m_tabFonteCor, tr("Aparência")}, {m_tabAlarme, tr("Alarmes")},
                                                    {m_tabSons, tr("Sons")},          {m_tabGeral, tr("Geral")},
                                                    {m_tbsRede, tr("Rede")}};
    for (const auto &[page, caption] : pages)
        m_pagGeral->setTabText(m_pagGeral->indexOf(page), caption);
    m_cmdOK->setText(tr("&OK"));
    m_cmdCancelar->setText(tr("&Cancelar"));

    findChild<QGroupBox *>(QStringLiteral("GroupBox1"))->setTitle(tr("Pré-Visualização"));
    m_lblExemplo->setText(tr("Exemplo de Nota"));
    m_cmdCordeFundo->setText(tr("C&or de Fundo"));
    m_cmdFonte->setText(tr("&Fonte"));
    m_chkScroll->setText(tr("E&xibir Barra de Scroll"));
    findChild<QGroupBox *>(QStringLiteral("GroupBox3"))->setTitle(tr("Título"));
    m_chkCorCaption->setText(tr("&Cor Diferenciada"));
    m_chkDataCaption->setText(tr("Exibir &Data"));
    m_chkHoraCaption->setText(tr("Exibir &Hora"));

    m_chkHabAlarme->setText(tr("Habilita Alarme"));
    findChild<QLabel *>(QStringLiteral("Label2"))->setText(tr("&Data:"));
    findChild<QLabel *>(QStringLiteral("Label4"))->setText(tr("&Hora:"));
    m_chkRemarca->setText(tr("Relembrar a cada "));
    findChild<QLabel *>(QStringLiteral("Label12"))->setText(tr("Dias da Semana:"));
    m_chkTocaSom->setText(tr("Toca &Som"));
    m_cmdTestar->setText(tr("&Testar"));
    // The lists keep their choice and their ticks: only the captions change.
    const QStringList units = unitNames();
    for (int i = 0; i < m_cboUnidade->count() && i < units.size(); ++i)
        m_cboUnidade->setItemText(i, units.at(i));
    const QStringList days = dayNames();
    for (int i = 0; i < m_chkDiasDaSemana->count() && i < days.size(); ++i)
        m_chkDiasDaSemana->item(i)->setText(days.at(i));
}

void TfrmConfNota::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    QDialog::changeEvent(event);
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

void TfrmConfNota::prepareNote(TfPostIt *note)
{
    if (!note)
        return;
    m_note = note;
    m_noteIndex = note->Tag();

    hidePage(m_tabGeral);
    hidePage(m_tbsRede);
    hidePage(m_tabSons);

    m_previewColour = note->color();
    m_previewFont = note->noteFont();
    m_trackBar1->blockSignals(true);
    m_trackBar1->setValue(qBound(kMinTrack, note->trackPosition(), kMaxTrack));
    m_trackBar1->blockSignals(false);
    m_chkScroll->setChecked(note->scrollBar());
    m_chkCorCaption->blockSignals(true);
    m_chkCorCaption->setChecked(note->darkCaption());
    m_chkCorCaption->blockSignals(false);
    recomputeCaption();

    // The title options of new notes are general settings: shown, not editable here.
    m_chkDataCaption->setChecked(m_settings ? m_settings->recGeral.ShowDate : true);
    m_chkHoraCaption->setChecked(m_settings ? m_settings->recGeral.ShowTime : true);
    m_chkDataCaption->setEnabled(false);
    m_chkHoraCaption->setEnabled(false);

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
    applyEnabling();
}

void TfrmConfNota::showAlarmsPage()
{
    m_pagGeral->setCurrentWidget(m_tabAlarme);
}

void TfrmConfNota::applyEnabling()
{
    // A control is usable only while every box it depends on is ticked, so that nothing of a
    // switched-off alarm can be edited.
    const bool armed = m_chkHabAlarme->isChecked();
    const bool recurs = armed && m_chkRemarca->isChecked();
    const bool sound = armed && m_chkTocaSom->isChecked();
    m_dtmDataAlarme->setEnabled(armed);
    m_dtmHoraAlarme->setEnabled(armed);
    m_chkTocaSom->setEnabled(armed);
    m_chkRemarca->setEnabled(armed);
    m_updCada->setEnabled(recurs);
    m_cboUnidade->setEnabled(recurs);
    m_chkDiasDaSemana->setEnabled(recurs);
    m_fleSom->setEnabled(sound);
    m_cmdProcurar->setEnabled(sound);
    m_cmdTestar->setEnabled(sound);

    m_trackBar1->setEnabled(m_chkCorCaption->isChecked());
}

void TfrmConfNota::recomputeCaption()
{
    m_previewCaptionColour = m_chkCorCaption->isChecked() ? CaptionShade(m_previewColour, m_trackBar1->value())
                                                          : m_previewColour;
    updatePreview();
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
    const QColor chosen = Dialogs::getColor(this, toQColor(m_previewColour));
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
    // The platform's font dialog offers no colour, so the text colour is asked for right after
    // it; cancelling that keeps the colour the text had.
    const QColor colour = Dialogs::getColor(this, toQColor(font.colour));
    if (colour.isValid())
        font.colour = fromQColor(colour);
    m_previewFont = font;
    updatePreview();
}

void TfrmConfNota::cmdProcurarClick()
{
    const QString file = Dialogs::getOpenFileName(this, tr("Abrir"), soundFolder(m_fleSom->text()),
                                                  tr("Arquivos Wave (*.wav)"));
    if (!file.isEmpty())
        m_fleSom->setText(file);
}

void TfrmConfNota::cmdTestarClick()
{
    m_cmdTestar->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_wavTeste.setFileName(m_fleSom->text());
    const bool played = m_wavTeste.play();
    QApplication::restoreOverrideCursor();
    applyEnabling();
    if (!played)
        Dialogs::error(this, tr("Este não é um arquivo de som válido!"));
}

QDateTime TfrmConfNota::chosenAlarmMoment() const
{
    return QDateTime(m_dtmDataAlarme->date(), m_dtmHoraAlarme->time());
}

void TfrmConfNota::cmdOKClick()
{
    if (m_note && !applyToNote(*m_note))
        return;  // refused: the dialog stays open with its values
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
    // The general values of the hidden pages were read from AppSettings and are unchanged.
    return true;
}

void TfrmConfNota::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1) {
        emit helpRequested(m_helpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool OpenNoteSettings(TfPostIt *note, bool alarmsPage, const AppSettings *settings,
                      const std::function<void(int)> &onHelp, QWidget *parent)
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
