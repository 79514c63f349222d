#pragma once

#include <cstdint>

namespace quillop {

// Where the key words of a scrambled section come from. Production code uses
// the C library generator seeded from the clock; tests inject a fixed source
// so that the bytes of a saved file are predictable.
class CKeySource {
public:
    virtual ~CKeySource() = default;
    virtual void seed(unsigned int value) = 0;
    virtual int draw() = 0;
};

// std::srand / std::rand, as the key-word rule asks for.
class CLibraryKeySource : public CKeySource {
public:
    void seed(unsigned int value) override;
    int draw() override;
};

CKeySource& defaultKeySource();

// Draws one key word: four bytes, first drawn most significant. Each byte is
// the low byte of the first draw (after seeding with the calendar time in
// seconds) that has a non-zero low byte, with bit 6 forced on.
std::uint32_t drawKeyWord(CKeySource& source);

} // namespace quillop
