// Reads a 16-bit PCM WAV file (as the music player writes them) and
// measures how loud it is, so that tests can tell music from silence.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>

struct WavLevel {
    bool ok = false;        // a 16-bit PCM WAV file was read
    int channels = 0;
    int sampleRate = 0;
    double seconds = 0;
    int peak = 0;           // largest sample magnitude, 0..32768
    double rmsDb = -200;    // whole-file RMS, dB below full scale
    // Share of 100 ms windows whose RMS is above -50 dBFS.
    double soundingShare = 0;
    // Largest number of samples at full scale (clipping) in the file.
    long clipped = 0;
};

inline WavLevel readWavLevel(const QString &path)
{
    WavLevel r;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return r;
    const QByteArray all = f.readAll();
    if (all.size() < 12 || !all.startsWith("RIFF") || all.mid(8, 4) != "WAVE")
        return r;
    int bits = 0;
    qsizetype pos = 12;
    QByteArray data;
    while (pos + 8 <= all.size()) {
        const QByteArray id = all.mid(pos, 4);
        qsizetype size = qFromLittleEndian<quint32>(all.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (size > all.size() - body)
            size = all.size() - body;
        if (id == "fmt " && size >= 16) {
            r.channels = qFromLittleEndian<quint16>(all.constData() + body + 2);
            r.sampleRate = int(qFromLittleEndian<quint32>(all.constData() + body + 4));
            bits = qFromLittleEndian<quint16>(all.constData() + body + 14);
        } else if (id == "data") {
            data = all.mid(body, size);
        }
        pos = body + size + (size & 1);
    }
    if (bits != 16 || r.channels <= 0 || r.sampleRate <= 0)
        return r;
    r.ok = true;
    const auto *s = reinterpret_cast<const qint16 *>(data.constData());
    const qsizetype n = data.size() / 2;
    r.seconds = double(n) / r.channels / r.sampleRate;
    const qsizetype window = qsizetype(r.sampleRate) * r.channels / 10;
    double sum = 0, windowSum = 0;
    long windows = 0, sounding = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const int v = qFromLittleEndian(s[i]);
        const int mag = std::abs(v);
        r.peak = std::max(r.peak, mag);
        if (mag >= 32767)
            ++r.clipped;
        const double x = v / 32768.0;
        sum += x * x;
        windowSum += x * x;
        if ((i + 1) % window == 0) {
            ++windows;
            if (10 * std::log10(windowSum / window + 1e-20) > -50)
                ++sounding;
            windowSum = 0;
        }
    }
    if (n > 0)
        r.rmsDb = 10 * std::log10(sum / n + 1e-20);
    r.soundingShare = windows ? double(sounding) / windows : 0;
    return r;
}
