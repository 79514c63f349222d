#include "kinds/worlds/CWorldPathBounds.h"

#include "kinds/worlds/GameWorld.h"
#include "kinds/worlds/WorldInstance.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>

QRect CWorldPathBounds::over(const CResourceHolder& document, int worldIndex, QPoint drawingPoint, int steps)
{
    // A world of its own, played from its start: the preview's instance
    // keeps its time.
    WorldInstance instance;
    if (!instance.build(document, worldIndex))
        return {};
    QRect bounds;
    const long long elements = instance.world() ? std::max(instance.world()->elementCount(), 1) : 1;
    const int followed = static_cast<int>(std::min<long long>(steps, kPlacements / elements));
    const QRect everywhere(-(1 << 28), -(1 << 28), 1 << 29, 1 << 29);
    // Each step is looked at: an animation may show a frame for one step only.
    for (int step = 0;; ++step) {
        // The drawing recorded, not painted, so that worlds an element plays
        // or takes in count too, as the preview draws them.
        QPicture picture;
        {
            QPainter painter(&picture);
            instance.draw(painter, drawingPoint.x(), drawingPoint.y(), everywhere);
        }
        if (!picture.isNull())
            bounds = bounds.united(picture.boundingRect());
        if (step >= followed)
            break;
        instance.step(1.0);
    }
    return bounds;
}
