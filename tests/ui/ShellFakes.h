#pragma once

#include "document/CDocumentDialogs.h"
#include "grid/ui/IPanelHost.h"

#include <deque>
#include <string>
#include <vector>

// Document dialogs answering from a script: a file choice or a password per
// call; an empty script means the user cancelled.
class ScriptedDocumentDialogs : public IDocumentDialogs {
public:
    ScriptedDocumentDialogs() { CDocumentDialogs::install(this); }
    ~ScriptedDocumentDialogs() override { CDocumentDialogs::install(nullptr); }

    FileChoice chooseOpenFile(QWidget*, const std::string& start, int) override
    {
        startNames.push_back(start);
        return next();
    }
    FileChoice chooseSaveFile(QWidget*, const std::string& start, int) override
    {
        startNames.push_back(start);
        return next();
    }
    bool askPassword(QWidget*, std::string& typed) override
    {
        ++passwordQuestions;
        if (passwords.empty())
            return false;
        typed = passwords.front();
        passwords.pop_front();
        return true;
    }

    std::deque<FileChoice> files;
    std::deque<std::string> passwords;
    std::vector<std::string> startNames;
    int passwordQuestions = 0;

private:
    FileChoice next()
    {
        if (files.empty())
            return {};
        FileChoice f = files.front();
        files.pop_front();
        return f;
    }
};

// A panel host that records what the grid asks of it.
class RecordingPanelHost : public IPanelHost {
public:
    bool maintainRelationships() const override { return maintain; }
    void markModified() override { ++modified; }
    void broadcastReload() override { ++reloads; }
    void showPanel(int index, bool) override { shown = index; }

    bool maintain = true;
    int modified = 0;
    int reloads = 0;
    int shown = -1;
};
