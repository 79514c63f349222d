#pragma once

#include <stdexcept>

#include "core/CKeySource.h"
#include "core/IPrompter.h"

#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>

#include <ctime>
#include <deque>
#include <string>
#include <vector>

// Draws from a fixed list, cycling; seeding is recorded and otherwise ignored.
class FixedKeySource : public CKeySource {
public:
    explicit FixedKeySource(std::vector<int> draws) : m_draws(std::move(draws)) {}
    void seed(unsigned int value) override { seeds.push_back(value); }
    int draw() override { return m_draws[m_next++ % m_draws.size()]; }

    std::vector<unsigned int> seeds;

private:
    std::vector<int> m_draws;
    std::size_t m_next = 0;
};

// Records every message and answers questions from a script (default No).
class ScriptedPrompter : public IPrompter {
public:
    Answer ask(const std::string& text, Buttons kind, Icon icon) override
    {
        messages.push_back(text);
        icons.push_back(icon);
        buttons.push_back(kind);
        if (answers.empty())
            return Answer::No;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> messages;
    std::vector<Icon> icons;
    std::vector<Buttons> buttons;
    std::deque<Answer> answers;
};

// A scratch folder removed with the test.
class TempFolder {
public:
    std::string path(const std::string& name) const { return m_dir.filePath(QString::fromStdString(name)).toStdString(); }

private:
    QTemporaryDir m_dir;
};

// A calendar time as the formatters read it: the year in full, months from 1.
std::tm calendarTime(int year, int month, int day, int weekday, int hour = 0, int minute = 0, int second = 0);

QByteArray readAll(const std::string& path);
void writeAll(const std::string& path, const QByteArray& bytes);

// What a helper cannot go on without: a broken reader must make the test
// fail, not crash the whole program on a null item. The exception ends the
// test and says why.
template <class T> T& required(T* pointer, const char* what)
{
    if (!pointer)
        throw std::runtime_error(std::string("missing: ") + what);
    return *pointer;
}
void requireLoaded(int loaded, const std::string& path);

// Runs one of Tiled's programs (found on PATH) without a display; its exit
// status, or -1 when it is not installed or did not end within a minute.
// `errors` gets what it printed on stderr.
int runTiledProgram(const char* program, const QStringList& arguments, std::string* errors = nullptr);
