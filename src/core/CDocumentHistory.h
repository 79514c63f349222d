#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CEditRecorder;
class CEditStep;
class CResourceHolder;
class QUndoStack;

// The undo history of one document: a QUndoStack whose commands are the
// recorded steps of the document's edits, kept within a size limit (the
// oldest steps go first). Every change of the document is made inside an
// Edit, which records what it touched and pushes one step when it ends;
// the interface wraps undo and redo so that its panels are locked while a
// step is applied, and reloads them after.
class CDocumentHistory : public QObject {
    Q_OBJECT
public:
    static constexpr std::int64_t kDefaultLimitBytes = std::int64_t(256) << 20;

    explicit CDocumentHistory(CResourceHolder& holder, QObject* parent = nullptr);
    ~CDocumentHistory() override;

    QUndoStack& stack() const { return *m_stack; }
    CResourceHolder& holder() const { return m_holder; }

    // When the steps hold more than this, the oldest are dropped (at least
    // the newest step stays).
    void setLimitBytes(std::int64_t bytes);
    std::int64_t limitBytes() const { return m_limit; }
    // The limit new histories start with (a setting of the program).
    static void setDefaultLimitBytes(std::int64_t bytes);
    static std::int64_t defaultLimitBytes();
    std::int64_t usedBytes() const;

    // Runs a step's undo or redo: the interface holds its locks around it.
    using ApplyWrapper = std::function<void(const std::function<void()>& apply)>;
    void setApplyWrapper(ApplyWrapper wrapper) { m_wrapper = std::move(wrapper); }

    // The document was replaced (new, opened): no step may refer to its items.
    void clear();
    // The step of the stack's command `index`, or null.
    const CEditStep* step(int index) const;
    // "3 Bitmaps", "Bitmap": the rows of a group an edit worked on.
    static QString rowsText(int group, int count);

    // An edit is being recorded.
    bool isRecording() const { return m_recorder != nullptr; }

    // One edit of the document, from its construction to its destruction,
    // which pushes the step when anything changed. Edits opened inside an
    // open one belong to it. Without a history (a panel shown without a
    // document) it records nothing.
    class Edit {
    public:
        Edit(CDocumentHistory* history, QString text);
        ~Edit();
        Edit(const Edit&) = delete;
        Edit& operator=(const Edit&) = delete;

        // What the edit will change besides rows added, removed or
        // reordered and the references the holder rewrites.
        void touchRow(int group, int row);
        void touchRows(int group, const std::vector<int>& rows);
        void touchGroup(int group);
        void touchHeader();
        // The text of the step, when it is known only after the edit.
        void setText(const QString& text) { m_text = text; }

    private:
        CDocumentHistory* m_history;
        std::unique_ptr<CEditRecorder> m_owned;
        CEditRecorder* m_recorder = nullptr;
        QString m_text;
    };

    // Runs a change made outside any step (the document read again from
    // its file) as a step's undo runs: locked by the interface, then
    // applied() so that whatever shows the document reloads.
    void runApplied(const std::function<void()>& apply);

signals:
    // A step was undone or redone: whatever shows the document reloads.
    void applied();

private:
    friend class CEditCommand;
    void push(const QString& text, std::unique_ptr<CEditStep> step);
    void keepWithinLimit();

    CResourceHolder& m_holder;
    QUndoStack* m_stack;
    std::int64_t m_limit;
    ApplyWrapper m_wrapper;
    CEditRecorder* m_recorder = nullptr;
};
