#pragma once

#include <QString>

#include <string>

// File names travel through the model as 8-bit text in the locale's encoding.
inline QString audioFileName(const std::string& path)
{
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}
