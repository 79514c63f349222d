#pragma once

#include "quillop/runtime/WorldPlayer.h"

// The elements of a playing world are the runtime's: the editor's preview
// steps and orders them exactly as a game does.
using ElementInstance = quillop::CElementInstance;
using ElementInheritance = quillop::ElementInheritance;
using WorldBuildContext = quillop::WorldBuildContext;
