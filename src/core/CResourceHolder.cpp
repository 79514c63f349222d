#include "core/CResourceHolder.h"

#include "core/CArchive.h"
#include "core/CArchiveException.h"
#include "core/CEditRecorder.h"
#include "core/CIndexChange.h"
#include "core/CRegularFile.h"
#include "core/CResourceFileHeader.h"
#include "core/CResourceItem.h"
#include "core/CSectionCoder.h"
#include "core/IPrompter.h"
#include "core/ProgramFolder.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <new>

namespace {
std::string visibleComments(const std::string& comments)
{
    return "\n\nUser Comments:\n" + comments + "\n\n";
}

QString toQString(const std::string& s) { return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size())); }
} // namespace

std::unique_ptr<CResourceItem> CResourceHolder::plainPrototype(int)
{
    return std::make_unique<CResourceItem>();
}

CResourceHolder::CResourceHolder(PrototypeFactory factory)
{
    for (int g = 0; g < kGroupCount; ++g) {
        auto prototype = factory ? factory(g) : nullptr;
        m_prototypes.add(prototype ? std::move(prototype) : plainPrototype(g));
    }
    for (int g = 0; g < kGroupCount; ++g)
        m_groups[static_cast<std::size_t>(g)].setTag(std::string(kGroupTags[static_cast<std::size_t>(g)]));
}

CResourceHolder::~CResourceHolder() = default;

IPrompter& CResourceHolder::prompter() const
{
    return m_prompter ? *m_prompter : consolePrompter();
}

CResourceGroup* CResourceHolder::group(int i)
{
    return validGroup(i) ? &m_groups[static_cast<std::size_t>(i)] : nullptr;
}

const CResourceGroup* CResourceHolder::group(int i) const
{
    return validGroup(i) ? &m_groups[static_cast<std::size_t>(i)] : nullptr;
}

const CResourceItem& CResourceHolder::prototype(int g) const
{
    return *m_prototypes.get(std::clamp(g, 0, kGroupCount - 1));
}

CResourceItem* CResourceHolder::findItem(int g, const std::string& id) const
{
    const CResourceGroup* grp = group(g);
    return grp ? grp->get(grp->findById(id)) : nullptr;
}

void CResourceHolder::dropBitmapSources()
{
    const CResourceGroup& bitmaps = m_groups[GroupBitmaps];
    for (int i = 0; i < bitmaps.count(); ++i)
        bitmaps.get(i)->dropSource();
}

std::string CResourceHolder::textParameter(const std::string& name, const std::string& defaultValue) const
{
    const CResourceItem* item = findItem(GroupTexts, name);
    const std::string* text = item ? item->parameterText() : nullptr;
    return text ? *text : defaultValue;
}

int CResourceHolder::integerParameter(const std::string& name, int defaultValue) const
{
    const CResourceItem* item = findItem(GroupTexts, name);
    const std::string* text = item ? item->parameterText() : nullptr;
    if (!text)
        return defaultValue;
    // Leading blanks, optional sign, digits up to the first other character.
    return static_cast<int>(std::strtol(text->c_str(), nullptr, 10));
}

double CResourceHolder::realParameter(const std::string& name, double defaultValue) const
{
    const CResourceItem* item = findItem(GroupTexts, name);
    const std::string* text = item ? item->parameterText() : nullptr;
    return text ? std::strtod(text->c_str(), nullptr) : defaultValue;
}

int CResourceHolder::count(int g) const
{
    const CResourceGroup* grp = group(g);
    return grp ? grp->count() : 0;
}

int CResourceHolder::newItem(int g, const std::string& id)
{
    CResourceGroup* grp = group(g);
    if (!grp)
        return -1;
    ++m_rowsRevision;
    const int index = prototype(g).createInGroup(*grp);
    if (index >= 0)
        grp->get(index)->setId(id);
    return index;
}

int CResourceHolder::move(int g, int from, int to)
{
    CResourceGroup* grp = group(g);
    ++m_rowsRevision;
    return grp ? grp->move(from, to) : 0;
}

int CResourceHolder::swap(int g, int i, int j)
{
    CResourceGroup* grp = group(g);
    ++m_rowsRevision;
    return grp ? grp->swap(i, j) : 0;
}

int CResourceHolder::findById(int g, const std::string& id) const
{
    const CResourceGroup* grp = group(g);
    return grp ? grp->findById(id) : -1;
}

CResourceItem* CResourceHolder::get(int g, int i) const
{
    const CResourceGroup* grp = group(g);
    return grp ? grp->get(i) : nullptr;
}

int CResourceHolder::remove(int g, int i)
{
    CResourceGroup* grp = group(g);
    if (!grp)
        return 0;
    ++m_rowsRevision;
    if (!m_recorder)
        return grp->remove(i);
    auto item = grp->take(i);
    if (!item)
        return 0;
    m_recorder->keepRemoved(g, std::move(item));
    return 1;
}

int CResourceHolder::rearrange(int g, const std::vector<int>& order, bool keepReferences)
{
    CResourceGroup* grp = group(g);
    if (!grp)
        return 0;
    const int before = grp->count();
    std::vector<std::unique_ptr<CResourceItem>> dropped;
    if (!grp->rearrange(order, m_recorder ? &dropped : nullptr))
        return 0;
    ++m_rowsRevision;
    // An edit being recorded keeps the deleted items, so undo puts the very
    // same items back.
    for (auto& item : dropped)
        m_recorder->keepRemoved(g, std::move(item));
    if (keepReferences)
        renumberReferences(g, CIndexChange::rearranged(order, before));
    return 1;
}

void CResourceHolder::renumberReferences(int g, const CIndexChange& change)
{
    ++m_rowsRevision;
    for (int other = 0; other < kGroupCount; ++other) {
        const CResourceGroup& grp = m_groups[static_cast<std::size_t>(other)];
        for (int i = 0; i < grp.count(); ++i) {
            CResourceItem* item = grp.get(i);
            if (m_recorder && item->refersToItems())
                m_recorder->touchItem(other, item);
            item->renumberReferences(g, change);
        }
    }
}

void CResourceHolder::clear()
{
    ++m_rowsRevision;
    for (auto& grp : m_groups)
        grp.clear();
    m_dropped.reset();
}

namespace {
// Names stored in older files may use backslashes as separators.
std::string withSlashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool isBare(const std::string& path) { return path.find('/') == std::string::npos && path.find(':') == std::string::npos; }

// Where load() looks for a name, in order: as resolve() says, under
// ../Shared/ relative to the current folder, and for a bare name the data
// folder of an installed program (share/quillop beside its bin folder).
std::vector<std::string> searchPlaces(const std::string& name)
{
    std::vector<std::string> places{CResourceHolder::resolve(name), CResourceHolder::resolve("../Shared/" + name)};
    const std::string path = withSlashes(name);
    const std::string folder = programFolder();
    if (isBare(path) && !folder.empty())
        places.push_back(folder + "/../share/quillop/" + path);
    return places;
}
} // namespace

std::string CResourceHolder::resolve(const std::string& name)
{
    const std::string path = withSlashes(name);
    const std::string folder = programFolder();
    return !isBare(path) || folder.empty() ? path : folder + "/" + path;
}

bool CResourceHolder::isResourceFile(const std::string& fullName)
{
    QFile file;
    if (!CRegularFile::open(file, fullName))
        return false;
    const auto dot = fullName.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = fullName.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension != "mrc")
        return false;
    const std::string signature = kSignature;
    if (file.size() <= static_cast<qint64>(signature.size() + 8))
        return false;
    const QByteArray head = file.read(static_cast<qint64>(signature.size() + 1));
    return head.size() == static_cast<qsizetype>(signature.size() + 1) &&
           head.mid(1).toStdString() == signature;
}

int CResourceHolder::save(const std::string& fileName)
{
    m_saveError.clear();
    auto fail = [this](const QString& reason) {
        m_saveError = reason.toStdString();
        return 0;
    };
    // Written beside the target and renamed over it only once complete, so a
    // failed save never destroys the previous file. A device or a FIFO is
    // no document: the rename would replace it with one. A name that is not
    // text in the locale's encoding would be saved under another name.
    const QString name = toQString(fileName);
    if (!CRegularFile::isReplaceable(fileName))
        return fail(QStringLiteral("It is not a regular file."));
    if (CRegularFile::nameOf(name) != fileName)
        return fail(QStringLiteral("The name is not valid text in this system's encoding."));
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    try {
        CDeviceArchive ar(file, CArchive::Mode::Store);
        ar.setKeySource(m_keySource);
        ar.writeString(kSignature);
        ar.writeString(kVersionBanner);
        ar.writeString(visibleComments(m_comments));
        ar.writeInt32(0);
        ar.writeInt32(kFormatVersion);
        ar.writeInt32(kFormatSubVersion);

        CSectionCoder coder;
        coder.prepareForWriting(ar.keySource());
        coder.header(ar);
        coder.codeString(ar, m_id);
        coder.codeString(ar, m_comments);

        for (int g = 0; g < kGroupCount; ++g) {
            CResourceGroup& grp = m_groups[static_cast<std::size_t>(g)];
            if (grp.count() == 0)
                continue;
            ar.writeString(kSectionSeparator);
            grp.serialize(ar, prototype(g));
        }
        ar.close();
    } catch (const std::exception&) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return 1;
}

int CResourceHolder::load(const std::string& fileName)
{
    const std::vector<std::string> places = searchPlaces(fileName);
    const auto found = std::find_if(places.begin(), places.end(), isResourceFile);
    if (found == places.end()) {
        // A name that is nowhere is not a file of the wrong type.
        const bool exists = std::any_of(places.begin(), places.end(), CRegularFile::exists);
        prompter().tell(exists ? kWrongFileType : kNotFound, IPrompter::Icon::Stop);
        return 0;
    }
    const std::string fullName = *found;
    clear();
    try {
        return readFile(fullName);
    } catch (const std::bad_alloc&) {
        return refuseBroken();
    } catch (const CArchiveException&) {
        return refuseBroken();
    }
}

int CResourceHolder::refuseBroken()
{
    // Whatever was read of a broken file is dropped: half a document would
    // look complete and be saved over the original. A file whose stored
    // sizes ask for more memory than there is counts as broken too.
    clear();
    m_id = "No Name";
    m_comments = "No Comments";
    prompter().tell(kTruncatedFile, IPrompter::Icon::Stop);
    return 0;
}

int CResourceHolder::readFile(const std::string& fullName)
{
    QFile file;
    if (!CRegularFile::open(file, fullName))
        return 0;
    const qint64 length = file.size();
    CDeviceArchive ar(file, CArchive::Mode::Load);

    const auto header = quillop::CResourceFileHeader::read(ar);

    CSectionCoder coder;
    coder.header(ar);
    coder.codeString(ar, m_id);
    coder.codeString(ar, m_comments);

    if (header.signature != kSignature) {
        prompter().tell(kWrongFileType, IPrompter::Icon::Stop);
        return 0;
    }
    if (header.version < kFormatVersion &&
        prompter().ask(kOlderVersion, IPrompter::Buttons::YesNo, IPrompter::Icon::Exclamation) != IPrompter::Answer::Yes)
        return 0;

    ar.flush();
    while (file.pos() < length) {
        const qint64 sectionStart = file.pos();
        ar.readString();  // section separator, not compared
        bool accepted = false;
        for (int g = 0; g < kGroupCount && !accepted; ++g)
            accepted = m_groups[static_cast<std::size_t>(g)].serialize(ar, prototype(g)) != 0;
        if (!accepted) {
            m_dropped = DroppedPart{sectionStart, length - sectionStart};
            prompter().tell(kUnknownDataType, IPrompter::Icon::None);
            break;
        }
        ar.flush();
    }
    ar.close();
    return 1;
}
