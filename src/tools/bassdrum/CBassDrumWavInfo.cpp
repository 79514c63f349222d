#include "tools/bassdrum/CBassDrumWavInfo.h"

#include <QLocale>

#include <cstdio>

CWavInfoTexts CBassDrumWavInfo::texts(const QDateTime& now)
{
    char fact[64];
    std::snprintf(fact, sizeof fact, "%g", dayCount(now));
    return {"Bass drum rendered with Quillop", dateText(now.date()), "Quillop", kSoftware, fact};
}

double CBassDrumWavInfo::dayCount(const QDateTime& when)
{
    static const QDate kEpoch(1899, 12, 30);
    return static_cast<double>(kEpoch.daysTo(when.date()))
           + static_cast<double>(when.time().msecsSinceStartOfDay()) / 86400000.0;
}

std::string CBassDrumWavInfo::dateText(const QDate& date)
{
    return QLocale::c().toString(date, QStringLiteral("dddd, dd MMMM yyyy")).toStdString();
}
