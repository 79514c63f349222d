#pragma once

#include "quillop/runtime/CArchiveException.h"

using quillop::CArchiveException;
using quillop::CFileException;
