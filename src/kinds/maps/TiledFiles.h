#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The files of a Tiled export are written whole or not at all, so that a
// failed export never leaves a half-written map for Tiled to read.
bool writeWholeFile(const QString& path, const QByteArray& bytes);
bool writePngFile(const QString& path, const QImage& picture);
