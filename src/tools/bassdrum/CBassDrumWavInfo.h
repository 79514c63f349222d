#pragma once

#include "media/audio/CWavWriter.h"

#include <QDateTime>

#include <string>

// The INFO texts written with every rendered drum.
class CBassDrumWavInfo {
public:
    static constexpr const char* kSoftware = "Marvoline Wavewright";

    static CWavInfoTexts texts(const QDateTime& now);
    // Days since 30 December 1899, the time of day as the fraction.
    static double dayCount(const QDateTime& when);
    // "%A, %d %B %Y" with English names whatever the user's locale.
    static std::string dateText(const QDate& date);
};
