#include "kinds/animations/CAnimationItem.h"

#include "core/CArchive.h"
#include "core/CIndexChange.h"
#include "core/CSectionCoder.h"
#include "core/GroupIndex.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <utility>

std::unique_ptr<CResourceItem> CAnimationItem::createDefault() const
{
    return std::make_unique<CAnimationItem>();
}

void CAnimationItem::clear()
{
    m_type = kTypeBitmaps;
    m_playMode = 1;
    m_frames.clear();
}

int CAnimationItem::serialize(CArchive& ar, CSectionCoder& coder)
{
    CResourceItem::serialize(ar, coder);
    if (ar.isLoading())
        clear();
    coder.codeRecordHeader(ar);
    coder.codeInt(ar, m_type);
    std::int32_t count = frameCount();
    coder.codeInt(ar, count);
    if (ar.isLoading()) {
        // A negative count cannot be a frame list: it reads as no frames.
        // A count the rest of the file cannot hold is refused before the
        // list is allocated.
        count = std::max(count, 0);
        ar.requireRemaining(std::int64_t(count) * kStoredFrameBytes);
        m_frames.assign(static_cast<std::size_t>(count), CAnimationFrame{0, 0, 0, 0});
    }
    for (CAnimationFrame& f : m_frames) {
        coder.codeInt(ar, f.bitmap);
        coder.codeInt(ar, f.delay);
        coder.codeInt(ar, f.offsetX);
        coder.codeInt(ar, f.offsetY);
    }
    return coder.codeInt(ar, m_playMode);
}

void CAnimationItem::forEachReference(const std::function<bool(const CItemReference&)>& visit) const
{
    for (int i = 0; i < frameCount(); ++i)
        if (!visit({GroupBitmaps, m_frames[std::size_t(i)].bitmap, i, 0, "shows"}))
            return;
}

void CAnimationItem::setReference(const CItemReference& reference, int index)
{
    if (reference.group == GroupBitmaps && validFrame(reference.part))
        m_frames[std::size_t(reference.part)].bitmap = index;
}

std::string CAnimationItem::referencePlace(const CItemReference& reference) const
{
    return "Frame " + std::to_string(reference.part);
}

const char* CAnimationItem::typeText(std::int32_t type)
{
    return type == kTypeBitmaps ? "Bitmaps" : "";
}

const CAnimationFrame* CAnimationItem::frame(int i) const
{
    return validFrame(i) ? &m_frames[static_cast<std::size_t>(i)] : nullptr;
}

int CAnimationItem::setFrame(int i, const CAnimationFrame& frame)
{
    if (!validFrame(i))
        return 0;
    m_frames[static_cast<std::size_t>(i)] = frame;
    return 1;
}

std::string CAnimationItem::specsText() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%d Frames", frameCount());
    return text;
}

int CAnimationItem::addToBitmapsInRange(int first, int last, int delta)
{
    int changed = 0;
    for (CAnimationFrame& f : m_frames)
        if (f.bitmap >= first && f.bitmap <= last) {
            f.bitmap += delta;
            ++changed;
        }
    return changed;
}

int CAnimationItem::replaceBitmap(int from, int to)
{
    int changed = 0;
    for (CAnimationFrame& f : m_frames)
        if (f.bitmap == from) {
            f.bitmap = to;
            ++changed;
        }
    return changed;
}

int CAnimationItem::addFrame(std::int32_t bitmap, std::int32_t delay, std::int32_t offsetX, std::int32_t offsetY)
{
    m_frames.push_back(CAnimationFrame{bitmap, delay, offsetX, offsetY});
    return frameCount() - 1;
}

int CAnimationItem::removeFrame(int i)
{
    if (!validFrame(i))
        return 0;
    m_frames.erase(m_frames.begin() + i);
    return 1;
}

int CAnimationItem::moveFrameUp(int i)
{
    if (!validFrame(i) || i < 1)
        return 0;
    std::swap(m_frames[static_cast<std::size_t>(i)], m_frames[static_cast<std::size_t>(i - 1)]);
    return 1;
}

int CAnimationItem::moveFrameDown(int i)
{
    if (!validFrame(i) || i + 1 >= frameCount())
        return 0;
    std::swap(m_frames[static_cast<std::size_t>(i)], m_frames[static_cast<std::size_t>(i + 1)]);
    return 1;
}

int CAnimationItem::moveFrame(int from, int to)
{
    if (!validFrame(from) || !validFrame(to) || from == to)
        return 0;
    const auto first = m_frames.begin();
    if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
    else
        std::rotate(first + to, first + from, first + from + 1);
    return 1;
}

int CAnimationItem::reverseFrames()
{
    if (m_frames.empty())
        return 0;
    std::reverse(m_frames.begin(), m_frames.end());
    return 1;
}

int CAnimationItem::incrementDelay(int i)
{
    if (!validFrame(i))
        return 0;
    std::int32_t& delay = m_frames[static_cast<std::size_t>(i)].delay;
    if (delay == std::numeric_limits<std::int32_t>::max())
        return 0;
    ++delay;
    return 1;
}

int CAnimationItem::decrementDelay(int i)
{
    if (!validFrame(i) || m_frames[static_cast<std::size_t>(i)].delay <= 1)
        return 0;
    --m_frames[static_cast<std::size_t>(i)].delay;
    return 1;
}

int CAnimationItem::incrementAllDelays()
{
    int changed = 0;
    for (CAnimationFrame& f : m_frames)
        if (f.delay < std::numeric_limits<std::int32_t>::max()) {
            ++f.delay;
            changed = 1;
        }
    return changed;
}

int CAnimationItem::decrementAllDelays()
{
    int changed = 0;
    for (CAnimationFrame& f : m_frames)
        if (f.delay > 1) {
            --f.delay;
            changed = 1;
        }
    return changed;
}

int CAnimationItem::moveFrameOffsets(int i, int dx, int dy)
{
    if (!validFrame(i))
        return 0;
    m_frames[static_cast<std::size_t>(i)].offsetX += dx;
    m_frames[static_cast<std::size_t>(i)].offsetY += dy;
    return 1;
}

int CAnimationItem::moveAllFrameOffsets(int dx, int dy)
{
    for (CAnimationFrame& f : m_frames) {
        f.offsetX += dx;
        f.offsetY += dy;
    }
    return m_frames.empty() ? 0 : 1;
}

int CAnimationItem::resetFrameOffsets(int i)
{
    if (!validFrame(i))
        return 0;
    m_frames[static_cast<std::size_t>(i)].offsetX = 0;
    m_frames[static_cast<std::size_t>(i)].offsetY = 0;
    return 1;
}

int CAnimationItem::resetAllFrameOffsets()
{
    for (CAnimationFrame& f : m_frames)
        f.offsetX = f.offsetY = 0;
    return m_frames.empty() ? 0 : 1;
}
