#include "kinds/trajectories/CTrajectoryRegion.h"

#include "kinds/trajectories/Trajectory.h"

void CTrajectoryRegion::add(const Trajectory& trajectory)
{
    m_text += trajectory.id();
    m_text += ", ";
    if (trajectory.GetPointCount() > 2)
        m_region = m_region.united(trajectory.region());
}

std::string CTrajectoryRegion::comments() const
{
    // Every name is followed by ", "; the last separator is dropped.
    return m_text.substr(0, m_text.size() - 2);
}
