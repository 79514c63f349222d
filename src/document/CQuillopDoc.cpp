#include "document/CQuillopDoc.h"

#include "core/CDocumentHistory.h"
#include "core/CResourceHolder.h"
#include "core/GroupIndex.h"
#include "core/IPrompter.h"
#include "core/CRegularFile.h"
#include "document/CDocumentDialogs.h"
#include "document/CFileWatch.h"
#include "document/CRecoveryStore.h"
#include "document/CRecoveryWriter.h"
#include "kinds/CItemKinds.h"
#include "kinds/texts/CDocumentSettings.h"
#include "params/ui/CUiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <QUndoStack>
#include <QUuid>

#include <algorithm>

namespace {
// Holds back what a load tells, so that the document says it once with the
// file's name; questions are asked at once.
class CHeldMessages : public IPrompter {
public:
    explicit CHeldMessages(IPrompter& target) : m_target(target) {}

    Answer ask(const std::string& text, Buttons buttons, Icon icon) override
    {
        if (buttons != Buttons::Ok)
            return m_target.ask(text, buttons, icon);
        m_text += (m_text.empty() ? "" : "\n") + text;
        if (m_icon == Icon::None)
            m_icon = icon;
        return Answer::Ok;
    }
    const std::string& text() const { return m_text; }
    Icon icon() const { return m_icon; }

private:
    IPrompter& m_target;
    std::string m_text;
    Icon m_icon = Icon::None;
};

std::string aboutFile(const QString& path, const std::string& text)
{
    return QString::fromLatin1(CQuillopDoc::kAboutFile)
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), QString::fromStdString(text))
        .toStdString();
}
} // namespace

CQuillopDoc::FileDialogState& CQuillopDoc::fileDialogState()
{
    static FileDialogState state;
    return state;
}

CQuillopDoc::CQuillopDoc(QObject* parent)
    : QObject(parent),
      m_holder(createDocumentHolder()),
      m_history(std::make_unique<CDocumentHistory>(*m_holder)),
      m_watch(new CFileWatch(this)),
      m_recoveryTimer(new QTimer(this)),
      m_recovery(new CRecoveryWriter(QUuid::createUuid().toString(QUuid::WithoutBraces),
                                     [this] { return m_holder.get(); }, [this] { return m_changes; }, this))
{
    m_recoveryTimer->setSingleShot(true);
    connect(m_recoveryTimer, &QTimer::timeout, this, &CQuillopDoc::writeRecoveryCopy);
    connect(m_watch, &CFileWatch::changedOutside, this, &CQuillopDoc::fileChangedOutside);
    // Removed or renamed away: what is in memory is now the only copy.
    connect(m_watch, &CFileWatch::removed, this, &CQuillopDoc::markModified);
    QUndoStack& stack = m_history->stack();
    connect(&stack, &QUndoStack::cleanChanged, this, [this] { setTitle(m_title); });
    connect(&stack, &QUndoStack::indexChanged, this, &CQuillopDoc::commandStatesChanged);
    connect(&stack, &QUndoStack::indexChanged, this, &CQuillopDoc::scheduleRecoveryCopy);
}

CQuillopDoc::~CQuillopDoc()
{
    // The stack says it is clean again while it is destroyed: no title to
    // change any more.
    m_history->stack().disconnect(this);
    // Closed on purpose, saved or not: nothing to recover.
    m_recovery->remove();
}

void CQuillopDoc::scheduleRecoveryCopy()
{
    // At most one copy every interval: the first change after a copy starts
    // the wait, later ones ride along.
    ++m_changes;
    const int seconds = CRecoveryStore::intervalSeconds();
    if (seconds > 0 && isModified() && !m_recoveryTimer->isActive())
        m_recoveryTimer->start(seconds * 1000);
}

void CQuillopDoc::writeRecoveryCopy()
{
    if (isModified())
        m_recovery->write(m_path, m_title);
    else
        m_recovery->remove();
}

int CQuillopDoc::recover(const QString& copy, const QString& original, const QString& title)
{
    m_history->clear();
    CHeldMessages held(prompter());
    m_holder->setPrompter(&held);
    const int loaded = m_holder->load(CRegularFile::nameOf(copy));
    m_holder->setPrompter(nullptr);
    if (!loaded)
        return refuseOpen(copy, held.text(), held.icon());
    m_leftOut = 0;
    if (original.isEmpty()) {
        m_path.clear();
        m_watch->watch(QString());
        setTitle(title.endsWith(QLatin1String(kModifiedMark)) ? title.chopped(2) : title);
    } else {
        recordPath(original);
    }
    setModified(true);
    // A copy of its own at once: the one recovered goes once this is read.
    writeRecoveryCopy();
    emit commandStatesChanged();
    return 1;
}

IPrompter& CQuillopDoc::prompter() const { return CUiServices::prompter(); }

QString CQuillopDoc::displayName(const QString& path) { return QFileInfo(path).fileName(); }

void CQuillopDoc::initNew()
{
    static int untitled = 0;
    m_history->clear();
    m_holder->clear();
    m_holder->setId("No Name");
    m_holder->setComments("No Comments");
    m_path.clear();
    m_watch->watch(QString());
    m_leftOut = 0;
    setModified(false);
    setTitle(QStringLiteral("MRC%1").arg(++untitled));
    emit commandStatesChanged();
}

int CQuillopDoc::refuseOpen(const QString& path, const std::string& reason, IPrompter::Icon icon)
{
    // A load the user declined (an older version) has no words of its own.
    prompter().tell(aboutFile(path, reason.empty() ? std::string(kLoadFailed) : reason), icon);
    emit commandStatesChanged();
    return 0;
}

int CQuillopDoc::openDocument(const QString& path)
{
    m_history->clear();
    CHeldMessages held(prompter());
    m_holder->setPrompter(&held);
    const int loaded = m_holder->load(path.toStdString());
    m_holder->setPrompter(nullptr);
    if (!loaded)
        return refuseOpen(path, held.text(), held.icon());
    // A load that kept only part of the file opens, and says why.
    if (!held.text().empty())
        prompter().tell(aboutFile(path, held.text()), held.icon());
    CDocumentSettings settings(*m_holder);
    if (settings.isPasswordProtected()) {
        std::string typed;
        const bool answered = CDocumentDialogs::current().askPassword(nullptr, typed);
        if (!answered || !settings.passwordMatches(typed)) {
            m_holder->clear();
            return refuseOpen(path, kUnreadable, IPrompter::Icon::None);
        }
    }
    const auto& dropped = m_holder->droppedPart();
    m_leftOut = dropped ? std::max<std::int64_t>(dropped->bytes, 1) : 0;
    setModified(false);
    recordPath(path);
    emit commandStatesChanged();
    return 1;
}

void CQuillopDoc::fileChangedOutside()
{
    if (!isModified()) {
        reloadFromFile();
        return;
    }
    const QString question = QString::fromLatin1(kChangedOutside).arg(displayName(m_path));
    if (prompter().ask(question.toStdString(), IPrompter::Buttons::YesNoDefaultNo, IPrompter::Icon::Exclamation)
        == IPrompter::Answer::Yes)
        reloadFromFile();
}

void CQuillopDoc::reloadFromFile()
{
    // Read once on the side first: a file caught half written, or broken,
    // must not cost the document in memory.
    auto probe = createDocumentHolder();
    CHeldMessages held(prompter());
    probe->setPrompter(&held);
    const bool readable = probe->load(m_path.toStdString()) != 0;
    probe->setPrompter(nullptr);
    if (!readable) {
        prompter().tell(QString::fromLatin1(kCannotReload)
                            .arg(displayName(m_path), QString::fromStdString(held.text()))
                            .toStdString(),
                        IPrompter::Icon::Exclamation);
        markModified();
        return;
    }
    const QString path = m_path;
    m_history->runApplied([this, &path] { openDocument(path); });
}

void CQuillopDoc::recordPath(const QString& path)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    fileDialogState().lastName = full.toStdString();
    m_path = full;
    m_watch->watch(full);
    setTitle(displayName(full) + QLatin1String(isPartlyLoaded() ? kPartlyLoadedMark : ""));
    emit pathRecorded(full);
}

bool CQuillopDoc::mayReplaceSource(const QString& target)
{
    if (!isPartlyLoaded() || QFileInfo(target).absoluteFilePath() != m_path)
        return true;
    const QString question = QString::fromLatin1(kSaveOverPartlyLoaded).arg(displayName(m_path)).arg(m_leftOut);
    return prompter().ask(question.toStdString(), IPrompter::Buttons::YesNo, IPrompter::Icon::Exclamation)
           == IPrompter::Answer::Yes;
}

// Once saved, the document is whole in the file it was saved to.
void CQuillopDoc::savedAs(const QString& target)
{
    m_leftOut = 0;
    setModified(false);
    recordPath(target);
    m_recoveryTimer->stop();
    m_recovery->remove();
}

// The fixed first line, then which file and why, so that the user can tell
// a full disk from a wrong folder; the document stays as it was, modified.
void CQuillopDoc::tellSaveFailed(const char* text, const QString& path)
{
    std::string message = text;
    message += "\n" + QFileInfo(path).absoluteFilePath().toStdString();
    if (!m_holder->saveError().empty())
        message += "\n" + m_holder->saveError();
    prompter().tell(message, IPrompter::Icon::Stop);
}

int CQuillopDoc::saveDocument(const QString& path)
{
    if (!mayReplaceSource(path))
        return 0;
    if (!m_holder->save(path.toStdString())) {
        tellSaveFailed(kFrameworkSaveFailed, path);
        return 0;
    }
    savedAs(path);
    return 1;
}

int CQuillopDoc::save(QWidget* parent)
{
    if (m_path.isEmpty())
        return saveAs(parent);
    if (!mayReplaceSource(m_path))
        return 0;
    if (!m_holder->save(m_path.toStdString())) {
        tellSaveFailed(kSaveFailed, m_path);
        return 0;
    }
    m_leftOut = 0;
    setModified(false);
    setTitle(displayName(m_path));
    m_watch->remember();
    m_recoveryTimer->stop();
    m_recovery->remove();
    return 1;
}

int CQuillopDoc::saveAs(QWidget* parent)
{
    FileDialogState& state = fileDialogState();
    // Its own name; a new document is offered a new name, never the last
    // file's, in the folder last used.
    std::string start = m_path.toStdString();
    if (m_path.isEmpty())
        start = (state.lastName.empty() ? QString::fromLatin1(kUntitledName)
                                        : QFileInfo(QString::fromStdString(state.lastName)).dir().filePath(
                                              QString::fromLatin1(kUntitledName)))
                    .toStdString();
    const auto choice = CDocumentDialogs::current().chooseSaveFile(parent, start, state.filterIndex);
    if (!choice.accepted || choice.name.empty())
        return 0;
    state.filterIndex = choice.filterIndex;
    const std::string name = CDocumentDialogs::withDefaultExtension(choice.name, choice.filterIndex);
    const QString target = QString::fromStdString(name);
    if (QFileInfo::exists(target)) {
        const QString question = QString::fromLatin1(kReplaceFile).arg(target);
        if (prompter().ask(question.toStdString(), IPrompter::Buttons::YesNoDefaultNo, IPrompter::Icon::Exclamation)
            != IPrompter::Answer::Yes)
            return 0;
    }
    if (!mayReplaceSource(target))
        return 0;
    if (!m_holder->save(name)) {
        tellSaveFailed(kSaveFailed, target);
        return 0;
    }
    savedAs(target);
    return 1;
}

bool CQuillopDoc::canClose()
{
    if (!isModified())
        return true;
    const QString question = QString::fromLatin1(kSaveChanges).arg(m_title.endsWith(QLatin1String(kModifiedMark))
                                                                        ? m_title.chopped(2)
                                                                        : m_title);
    switch (prompter().ask(question.toStdString(), IPrompter::Buttons::YesNoCancel, IPrompter::Icon::Exclamation)) {
    case IPrompter::Answer::Yes:
        if (m_path.isEmpty())
            return saveAs() == 1;
        return saveDocument(m_path) == 1;
    case IPrompter::Answer::No:
        return true;
    default:
        return false;
    }
}

int CQuillopDoc::applyProperties(const std::string& id, const std::string& comments, int stepDelay,
                                 const std::string& password)
{
    int done = 0;
    {
        CDocumentHistory::Edit edit(m_history.get(), QStringLiteral("Document Properties"));
        edit.touchHeader();
        // The settings are items of the Texts and Parameters group.
        edit.touchGroup(GroupTexts);
        m_holder->setId(id);
        m_holder->setComments(comments);
        done = CDocumentSettings(*m_holder).apply(stepDelay, password);
    }
    emit propertiesApplied();
    return done;
}

void CQuillopDoc::setTitle(const QString& title)
{
    QString text = title;
    const QString mark = QString::fromLatin1(kModifiedMark);
    if (text.endsWith(mark))
        text.chop(mark.size());
    if (isModified())
        text += mark;
    if (text == m_title)
        return;
    m_title = text;
    emit titleChanged(m_title);
}

bool CQuillopDoc::isModified() const { return m_changedOutsideHistory || !m_history->stack().isClean(); }

void CQuillopDoc::setModified(bool modified)
{
    m_changedOutsideHistory = modified;
    if (!modified)
        m_history->stack().setClean();
    setTitle(m_title);
}

void CQuillopDoc::markModified()
{
    if (m_history->isRecording())
        return;
    m_changedOutsideHistory = true;
    if (!m_title.endsWith(QLatin1String(kModifiedMark)))
        setTitle(m_title);
    scheduleRecoveryCopy();
}
