// The program's sound output, kept in a module of its own (libcorkvane-sound.so beside the
// program) so that the multimedia libraries are loaded only when the first sound is played,
// not at every start. The player drives the effect through its properties and slots.
#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

extern "C" {

Q_DECL_EXPORT QObject *corkvane_new_sound_effect(QObject *parent)
{
    return new QSoundEffect(parent);
}

Q_DECL_EXPORT bool corkvane_has_audio_output()
{
    return !QMediaDevices::audioOutputs().isEmpty();
}

} // extern "C"
