#pragma once

#include "quillop/runtime/TrajectoryPoint.h"

using quillop::TrajectoryPoint;
