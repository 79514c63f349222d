#pragma once

#include <string>
#include <utility>
#include <vector>

// The audio output's settings, held in memory by the application and edited
// in the Audio Settings dialog. Setters refuse values outside their ranges
// and keep the previous value, as the dialog ignores such input.
class CAudioSettings {
public:
    static constexpr const char* kTitle = "Audio Settings";
    static constexpr const char* kBuffersLabel = "Number of Audio Buffers:";
    static constexpr const char* kBuffersDefault = "Default is 4.";
    static constexpr const char* kFrequencyLabel = "Output Frequency:";
    static constexpr const char* kDeviceLabel = "Audio Device:";
    static constexpr const char* kLatencyGroup = "Audio Latency:";
    static constexpr const char* kLengthLabel = "Buffer Size:";
    static constexpr const char* kLengthDefault = "Default is 30.";
    static constexpr const char* kOutputLatencyLabel = "Output Latency:";
    static constexpr const char* kDefaultDeviceName = "Windows Wave Mapper";
    static constexpr int kDefaultDevice = -1;
    static constexpr int kMinBuffers = 1;
    static constexpr int kMaxBuffers = 32;
    static constexpr int kMinLengthMs = 1;
    static constexpr int kMaxLengthMs = 500;
    static constexpr int kFrequencies[3] = {22050, 44100, 48000};

    int device() const { return m_device; }
    int buffers() const { return m_buffers; }
    int lengthMs() const { return m_lengthMs; }
    int rate() const { return m_rate; }
    int bits() const { return m_bits; }
    int channels() const { return m_channels; }

    // 1 when taken, 0 when refused (the value is then unchanged).
    int setDevice(int id);
    int setBuffers(int count);
    int setLengthMs(int ms);
    int setRate(int hz);
    // The same from the dialog's text fields: anything but a whole number in range is ignored.
    int setBuffersText(const std::string& text);
    int setLengthText(const std::string& text);

    // "%d [ms] = %d * %d [ms]": the total, the buffers, the length.
    std::string latencyText() const;
    // "22050 Hz", "44100 Hz", "48000 Hz".
    static std::vector<std::string> frequencyTexts();
    // The device list: the default device (id -1) first, then every output
    // device by index.
    static std::vector<std::pair<int, std::string>> deviceEntries(const std::vector<std::string>& deviceNames);

private:
    int m_device = kDefaultDevice;
    int m_buffers = 4;
    int m_lengthMs = 30;
    int m_rate = 44100;
    int m_bits = 16;
    int m_channels = 2;
};
