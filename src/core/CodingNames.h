#pragma once

// The runtime's file coding classes under the names the editor uses, for
// headers that only mention them.
namespace quillop {
class CArchive;
class CKeySource;
class CSectionCoder;
} // namespace quillop

using quillop::CArchive;
using quillop::CKeySource;
using quillop::CSectionCoder;
