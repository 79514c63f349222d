#pragma once

#include "core/CodingNames.h"
#include "quillop/runtime/CSectionCoder.h"
