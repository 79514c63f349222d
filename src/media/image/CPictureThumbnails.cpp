#include "media/image/CPictureThumbnails.h"

#include "media/image/CDisplayBuffer.h"
#include "media/image/PictureDecoding.h"

#include <algorithm>
#include <functional>

namespace {
QImage scaledTo(const QImage& image, QSize size)
{
    return image.isNull() ? QImage() : image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
} // namespace

std::size_t CPictureThumbnails::KeyHash::operator()(const Key& key) const
{
    return std::hash<std::uint64_t>()(key.bytesId ^ (std::uint64_t(key.width) << 40) ^ (std::uint64_t(key.height) << 20));
}

CPictureThumbnails::CPictureThumbnails(std::size_t budgetBytes) : m_budget(budgetBytes) {}

CPictureThumbnails& CPictureThumbnails::shared()
{
    static CPictureThumbnails thumbnails;
    return thumbnails;
}

std::optional<CPictureThumbnails::Key> CPictureThumbnails::keyOf(const CDisplayBuffer& picture, QSize size)
{
    const std::uint64_t id = picture.bytesAwaitingDecodingId();
    if (!id || size.isEmpty())
        return std::nullopt;
    return Key{id, size.width(), size.height()};
}

QImage CPictureThumbnails::thumbnail(const CDisplayBuffer& picture, QSize size)
{
    if (size.isEmpty())
        return {};
    if (const std::optional<Key> key = keyOf(picture, size)) {
        if (const QImage* kept = find(*key))
            return *kept;
        prepare({{&picture, size}});
        if (const QImage* kept = find(*key))
            return *kept;
    }
    return scaledTo(picture.imageView(), size);
}

void CPictureThumbnails::prepare(const std::vector<Request>& requests)
{
    struct Job {
        Key key;
        const CDisplayBuffer* picture;
        QByteArray bytes;
        QImage made;
    };
    std::vector<Job> jobs;
    for (const Request& request : requests) {
        if (!request.picture)
            continue;
        const std::optional<Key> key = keyOf(*request.picture, request.size);
        if (!key || find(*key))
            continue;
        const bool asked = std::any_of(jobs.begin(), jobs.end(), [&](const Job& job) { return job.key == *key; });
        if (!asked)
            jobs.push_back({*key, request.picture, request.picture->bytesAwaitingDecoding(), {}});
    }
    PictureDecoding::forEachTogether(jobs.size(), [&jobs](std::size_t i) {
        QImage decoded;
        if (CDisplayBuffer::decodeBytes(jobs[i].bytes, decoded, nullptr))
            jobs[i].made = scaledTo(decoded, QSize(jobs[i].key.width, jobs[i].key.height));
    });
    for (const Job& job : jobs) {
        if (job.made.isNull()) {
            job.picture->decodeNow();  // a broken picture then says so
            continue;
        }
        ++m_decoded;
        keep(job.key, job.made);
    }
}

bool CPictureThumbnails::holds(const CDisplayBuffer& picture, QSize size) const
{
    const std::optional<Key> key = keyOf(picture, size);
    return key && m_index.count(*key);
}

const QImage* CPictureThumbnails::find(const Key& key)
{
    const auto found = m_index.find(key);
    if (found == m_index.end())
        return nullptr;
    m_kept.splice(m_kept.begin(), m_kept, found->second);
    return &found->second->second;
}

void CPictureThumbnails::keep(const Key& key, const QImage& thumbnail)
{
    if (const auto found = m_index.find(key); found != m_index.end())
        forget(found->second);
    // The newest always stays, even alone over the budget: it is on screen.
    while (!m_kept.empty() && m_heldBytes + std::size_t(thumbnail.sizeInBytes()) > m_budget)
        forget(std::prev(m_kept.end()));
    m_kept.emplace_front(key, thumbnail);
    m_index[key] = m_kept.begin();
    m_heldBytes += std::size_t(thumbnail.sizeInBytes());
}

void CPictureThumbnails::forget(Kept::iterator entry)
{
    m_heldBytes -= std::size_t(entry->second.sizeInBytes());
    m_index.erase(entry->first);
    m_kept.erase(entry);
}
