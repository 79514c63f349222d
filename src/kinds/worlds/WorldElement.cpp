#include "kinds/worlds/WorldElement.h"

#include "quillop/runtime/TypeTexts.h"

const char* WorldElement::objectTypeText(std::int32_t type)
{
    return quillop::worldObjectTypeText(type);
}
