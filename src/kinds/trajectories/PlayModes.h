#pragma once

#include "quillop/runtime/PlayModes.h"

using quillop::kPlayModeCount;
using quillop::kPlayModeTexts;
using quillop::PlayMode;
using quillop::playModeFromText;
using quillop::playModeText;
using quillop::PlayForwardOnce;
using quillop::PlayForwardLoop;
using quillop::PlayForwardBackwardOnce;
using quillop::PlayForwardBackwardLoop;
using quillop::PlayBackwardOnce;
using quillop::PlayBackwardLoop;
using quillop::PlayBackwardForwardOnce;
using quillop::PlayBackwardForwardLoop;
