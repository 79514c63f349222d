#pragma once

#include "media/image/CMovieCompression.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QSlider;

// Which encoder a movie is written with, and its quality where it has one.
// The choice is remembered between runs.
class CCompressionDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Video Compression";
    static constexpr const char* kSettingsOrganisation = "Local AppWizard-Generated Applications";

    explicit CCompressionDialog(const CMovieCompression& start, QWidget* parent = nullptr);
    CMovieCompression compression() const;

    // The choice made last time (MJPEG at the default quality at first).
    static CMovieCompression remembered();
    static void remember(const CMovieCompression& compression);

private:
    void encoderChanged();

    QComboBox* m_encoder;
    QSlider* m_quality;
    QLabel* m_qualityLabel;
};

// The editor's answer to the movie writer: the dialog, opened on the last
// choice, which is remembered when accepted.
class CCompressionChooser : public ICompressionChooser {
public:
    explicit CCompressionChooser(QWidget* parent) : m_parent(parent) {}
    std::optional<CMovieCompression> chooseCompression(int width, int height) override;

private:
    QWidget* m_parent;
};
