#pragma once

#include "params/ui/CUiServices.h"
#include "support/TestSupport.h"

#include <deque>

// Pickers answering from a script: each call takes the next answer (an
// empty list means the user cancelled).
class ScriptedFileChooser : public IFileChooser {
public:
    std::vector<std::string> chooseFiles(QWidget*, const Request& request) override
    {
        requests.push_back(request);
        if (answers.empty())
            return {};
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
    std::string chooseFolder(QWidget*, const std::string&, const std::string&) override
    {
        if (folders.empty())
            return {};
        auto f = folders.front();
        folders.pop_front();
        return f;
    }

    std::vector<Request> requests;
    std::deque<std::vector<std::string>> answers;
    std::deque<std::string> folders;
};

class ScriptedColorChooser : public IColorChooser {
public:
    bool chooseColor(QWidget*, std::uint32_t& rgb) override
    {
        started.push_back(rgb);
        if (answers.empty())
            return false;
        rgb = answers.front();
        answers.pop_front();
        return true;
    }
    std::vector<std::uint32_t> started;
    std::deque<std::uint32_t> answers;
};

// A value prompt answering from a script: each call records what was asked
// and takes the next answer; no answer left means Cancel.
class ScriptedValuePrompter : public IValuePrompter {
public:
    struct Request {
        std::string title;
        std::string prompt;
        std::string offered;
        bool multiLine = false;
    };
    bool promptValue(QWidget*, const std::string& title, const std::string& prompt, std::string& value,
                     bool multiLine) override
    {
        requests.push_back({title, prompt, value, multiLine});
        if (answers.empty())
            return false;
        value = answers.front();
        answers.pop_front();
        return true;
    }
    std::vector<Request> requests;
    std::deque<std::string> answers;
};

// Installs the scripted prompter and pickers for one test.
struct ScriptedUi {
    ScriptedUi()
    {
        CUiServices::setPrompter(&prompter);
        CUiServices::setFileChooser(&files);
        CUiServices::setColorChooser(&colors);
        CUiServices::setValuePrompter(&values);
    }
    ~ScriptedUi()
    {
        CUiServices::setPrompter(nullptr);
        CUiServices::setFileChooser(nullptr);
        CUiServices::setColorChooser(nullptr);
        CUiServices::setValuePrompter(nullptr);
    }
    ScriptedPrompter prompter;
    ScriptedFileChooser files;
    ScriptedColorChooser colors;
    ScriptedValuePrompter values;
};
