#pragma once

#include "quillop/runtime/PlayClock.h"

using quillop::PlayClock;
