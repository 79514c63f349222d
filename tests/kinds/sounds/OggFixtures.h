#pragma once

// Two short Ogg Vorbis files made once by oggenc, kept in testdata/ so that
// the tests of the sounds and of the mixer do not need the program:
//   sox -n -r 22050 -c 1 -b 16 m22.wav synth 0.1 sine 440 && oggenc -q 0 -o m22.ogg m22.wav
//   sox -n -r 44100 -c 2 -b 16 s44.wav synth 0.1 sine 440 sine 660 && oggenc -q 0 -o s44.ogg s44.wav
// Both are 0.1 s long: 2205 frames of mono at 22050 Hz, 4410 frames of stereo at 44100 Hz.

#include <QByteArray>
#include <QFile>

namespace ogg_fixtures {
// The file's bytes; none when it cannot be read, which every test using it
// then fails on.
inline QByteArray read(const char* name)
{
    QFile file(QStringLiteral(QUILLOP_OGG_FIXTURES "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray mono22050()
{
    static const QByteArray bytes = read("mono22050.ogg");
    return bytes;
}

inline QByteArray stereo44100()
{
    static const QByteArray bytes = read("stereo44100.ogg");
    return bytes;
}
} // namespace ogg_fixtures
