#pragma once

#include "core/CDocumentHistory.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

// One pointer gesture, from the press to the release, recorded as one step
// of the undo history however many changes it makes. The panel tells once
// how a step is opened; the view begins the gesture at the press and ends it
// at the release. Edits opened meanwhile join it, and so does a second
// begin before the end.
class CGestureStep {
public:
    using Opener = std::function<std::unique_ptr<CDocumentHistory::Edit>(const QString& text)>;
    using History = std::function<CDocumentHistory*()>;
    using Rows = std::function<std::vector<int>()>;

    void setOpener(Opener open) { m_open = std::move(open); }
    // The usual opener: an edit of the document `history` gives when the
    // gesture starts, touching the rows of `group` that `rows` gives then.
    void setOpener(History history, int group, Rows rows);

    // One edit on its own (inside an open gesture it joins it); null when
    // nothing records.
    std::unique_ptr<CDocumentHistory::Edit> open(const QString& text) const;
    void begin(const QString& text);
    // Ends the gesture. What `tell` reports of it (the modified mark, the
    // views to refresh) runs while the step is still open, so what it marks
    // belongs to the step and undoing back to the saved point leaves the
    // document unmodified.
    void end(const std::function<void()>& tell = {});
    bool isOpen() const { return m_edit != nullptr; }

private:
    Opener m_open;
    std::unique_ptr<CDocumentHistory::Edit> m_edit;
};
