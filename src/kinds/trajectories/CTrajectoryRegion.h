#pragma once

#include <QRegion>

#include <string>

class Trajectory;

// Unites the outlines of several trajectories into one region, and names
// them in a comment, for turning a selection of shapes into a region bitmap.
// Trajectories of two points or fewer are named but outline nothing.
class CTrajectoryRegion {
public:
    void add(const Trajectory& trajectory);

    const QRegion& region() const { return m_region; }
    // "Trajectories: " followed by the IDs separated by ", ".
    std::string comments() const;

private:
    QRegion m_region;
    std::string m_text = "Trajectories: ";
};
