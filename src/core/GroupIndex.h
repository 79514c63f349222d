#pragma once

#include "quillop/runtime/GroupIndex.h"

using quillop::GroupIndex;
using quillop::GroupTexts;
using quillop::GroupBitmaps;
using quillop::GroupSounds;
using quillop::GroupAnimations;
using quillop::GroupTrajectories;
using quillop::GroupMaps;
using quillop::GroupColors;
using quillop::GroupBinaryFiles;
using quillop::GroupUserInterfaces;
using quillop::GroupWorlds;
using quillop::kGroupCount;
using quillop::kGroupKeys;
using quillop::kGroupNames;
using quillop::kGroupTags;
using quillop::kPrototypeGroupTag;
