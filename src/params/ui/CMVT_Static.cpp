#include "params/ui/CMVT_Static.h"

CMVT_Static::CMVT_Static(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}
