#pragma once

#include "core/CodingNames.h"
#include "quillop/runtime/CKeySource.h"

using quillop::CLibraryKeySource;
using quillop::defaultKeySource;
using quillop::drawKeyWord;
