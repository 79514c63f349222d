#include "quillop/runtime/CByteStream.h"

#include <algorithm>
#include <cstring>

namespace quillop {

std::int64_t CMemoryStream::read(void* data, std::int64_t size)
{
    const std::int64_t n = std::min(std::max<std::int64_t>(size, 0), m_size - m_pos);
    if (n > 0)
        std::memcpy(data, m_data + m_pos, static_cast<std::size_t>(n));
    m_pos += n;
    return n;
}

bool CMemoryStream::seek(std::int64_t position)
{
    if (position < 0 || position > m_size)
        return false;
    m_pos = position;
    return true;
}

} // namespace quillop
