#pragma once
// The general, network and mail settings: one field per store key.
#include "store/NoteData.h"

#include <QString>
#include <QStringList>

struct GeneralSettings  // recGeral: the [General] values
{
    bool UseSounds = false;
    QString SoundNewSticky;
    QString User;
    QString SoundDelSticky;
    QString SoundRecSticky;
    bool AskDelete = true;
    ColourValue DefaultColor = kDefaultNewNoteColour;
    NoteFont DefaultFont;
    bool ScrollBar = false;
    bool DarkCaption = false;
    qint32 TrackPosition = 12;
    bool ShowDate = true;
    bool ShowTime = true;
    bool AutoSave = true;
    qint32 TimeAutoSave = 10;
    bool NoteDaily = false;
    bool BackupOnExit = false;
    QString BackupPath;

    bool operator==(const GeneralSettings &) const = default;
};

struct NetworkSettings  // recRede: the [Network] values
{
    bool Enabled = false;
    QString SMTPServer;
    QString SMTPPort = QStringLiteral("25");
    qint32 Authtype = 0;
    // 0 plain, 1 STARTTLS, 2 TLS from the first byte (TSmtpSecurity); absent means 0.
    qint32 SMTPSecurity = 0;
    QString Email;
    QString Username;
    QString Password;
    qint32 Blocktype = 0;
    QStringList BlockList;
    QString PortTCP = QStringLiteral("7801");

    bool operator==(const NetworkSettings &) const = default;
};

struct SyncSettings  // the [Sync] values; installations that do not sync ignore the section
{
    QString Folder;   // absolute path of the sync folder; empty: sync is off
    QString Device;   // this installation's random identifier, made when sync is first used

    bool operator==(const SyncSettings &) const = default;
};

struct AppSettings
{
    GeneralSettings recGeral;
    NetworkSettings recRede;
    SyncSettings recSync;

    bool operator==(const AppSettings &) const = default;
};
