#pragma once

#include <QStringList>

// File names in the order people count them: "walk2" before "walk10",
// letters without regard to case.
void sortNaturally(QStringList& names);
