#include "MidiTestSupport.h"

#include <QProcess>

namespace {
struct Reader {
    const QByteArray& b;
    int pos = 0;
    bool fail = false;
    int byte()
    {
        if (pos >= b.size()) {
            fail = true;
            return 0;
        }
        return static_cast<unsigned char>(b[pos++]);
    }
    std::uint32_t be(int n)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v = (v << 8) | static_cast<std::uint32_t>(byte());
        return v;
    }
    std::uint32_t vlq()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const int c = byte();
            v = (v << 7) | static_cast<std::uint32_t>(c & 0x7F);
            if (!(c & 0x80))
                return v;
        }
        fail = true;
        return v;
    }
    bool tag(const char* t) { return b.mid(pos, 4) == QByteArray(t) && (pos += 4, true); }
};

bool readTrack(Reader& r, std::vector<MidiEvent>& out, std::string& error)
{
    if (!r.tag("MTrk")) {
        error = "no MTrk";
        return false;
    }
    const std::uint32_t length = r.be(4);
    const int end = r.pos + static_cast<int>(length);
    if (end > r.b.size()) {
        error = "track longer than the file";
        return false;
    }
    std::int64_t tick = 0;
    while (r.pos < end && !r.fail) {
        tick += r.vlq();
        MidiEvent e;
        e.tick = tick;
        e.status = r.byte();
        if (e.status == 0xFF) {
            e.metaType = r.byte();
            const std::uint32_t n = r.vlq();
            e.data1 = n;
            r.pos += static_cast<int>(n);
            out.push_back(e);
            if (e.metaType == 0x2F)
                break;
            continue;
        }
        if (e.status < 0x80) {
            error = "running status or stray data byte";
            return false;
        }
        e.data1 = r.byte();
        e.data2 = r.byte();
        out.push_back(e);
    }
    if (r.pos != end) {
        error = "track length does not match its events";
        return false;
    }
    if (out.empty() || out.back().metaType != 0x2F) {
        error = "track does not end with end-of-track";
        return false;
    }
    return !r.fail;
}
} // namespace

MidiFileContents parseMidi(const QByteArray& bytes)
{
    MidiFileContents m;
    Reader r{bytes};
    if (!r.tag("MThd") || r.be(4) != 6) {
        m.error = "bad header";
        return m;
    }
    m.format = static_cast<int>(r.be(2));
    m.tracks = static_cast<int>(r.be(2));
    m.division = static_cast<int>(r.be(2));
    if (!readTrack(r, m.tempoTrack, m.error) || !readTrack(r, m.noteTrack, m.error))
        return m;
    if (r.pos != bytes.size()) {
        m.error = "bytes after the last track";
        return m;
    }
    m.ok = true;
    return m;
}

std::vector<int> soundedNotes(const std::vector<MidiEvent>& events)
{
    std::vector<int> notes;
    for (const auto& e : events)
        if (e.status == 0x90 && e.data2 > 0)
            notes.push_back(e.data1);
    return notes;
}

int countStatus(const std::vector<MidiEvent>& events, int status)
{
    int n = 0;
    for (const auto& e : events)
        n += e.status == status ? 1 : 0;
    return n;
}

std::string midoDump(const std::string& path, bool& available)
{
    // The system's interpreter carries the distribution's mido even when
    // another python3 comes first on the path.
    for (const char* interpreter : {"python3", "/usr/bin/python3"}) {
        QProcess python;
        python.start(interpreter, {"-c",
                                   "import sys, mido\n"
                                   "f = mido.MidiFile(sys.argv[1])\n"
                                   "print(f.type, f.ticks_per_beat, len(f.tracks))\n"
                                   "for t in f.tracks:\n"
                                   "    for m in t: print(m)\n",
                                   QString::fromStdString(path)});
        if (!python.waitForFinished(30000) || python.exitStatus() != QProcess::NormalExit)
            continue;
        const QByteArray err = python.readAllStandardError();
        if (python.exitCode() != 0 && err.contains("No module named"))
            continue;
        available = true;
        if (python.exitCode() != 0)
            return "ERROR " + err.toStdString();
        return python.readAllStandardOutput().toStdString();
    }
    available = false;
    return {};
}
