#include "quillop/runtime/CKeySource.h"

#include <cstdlib>
#include <ctime>

namespace quillop {

void CLibraryKeySource::seed(unsigned int value) { std::srand(value); }

int CLibraryKeySource::draw() { return std::rand(); }

CKeySource& defaultKeySource()
{
    static CLibraryKeySource source;
    return source;
}

static std::uint8_t drawKeyByte(CKeySource& source)
{
    source.seed(static_cast<unsigned int>(std::time(nullptr)));
    int value = 0;
    do {
        value = source.draw();
    } while ((value & 0xFF) == 0);
    return static_cast<std::uint8_t>((value & 0xFF) | 0x40);
}

std::uint32_t drawKeyWord(CKeySource& source)
{
    std::uint32_t word = 0;
    for (int i = 0; i < 4; ++i)
        word = (word << 8) | drawKeyByte(source);
    return word;
}

} // namespace quillop
